#pragma once

#include <memory>

#include "core/platform/HttpClient.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace pelliwig {

// HTTP GET over Qt Network, for the update check. Made and used on the main
// thread, whose event loop delivers the completions. Only http and https
// addresses are fetched: anything else (file:, data:, qrc:) fails without
// being read. The request's timeout bounds the whole transfer, not just a
// silence, so a server dribbling bytes cannot keep a check open (a timeout
// that is not positive sets no bound). A body
// longer than the request's limit, announced or actually sent, ends the
// transfer at once. Destroying the client abandons the transfers in flight;
// their completions never run.
class QtHttpClient final : public HttpClient {
public:
    QtHttpClient();
    ~QtHttpClient() override;
    QtHttpClient(const QtHttpClient&) = delete;
    QtHttpClient& operator=(const QtHttpClient&) = delete;

    void get(const HttpRequest& request, Completion done) override;

private:
    std::unique_ptr<QNetworkAccessManager> manager_;
};

}  // namespace pelliwig
