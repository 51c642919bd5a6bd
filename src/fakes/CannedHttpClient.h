#pragma once

#include <string>
#include <vector>

#include "core/platform/HttpClient.h"
#include "core/platform/Scheduler.h"

namespace pelliwig {

// Answers every GET with the canned result, `latency` seconds of scheduler
// time later, and keeps the requests it was given. Until told otherwise it
// answers as if there were no network. The body is delivered as canned, even
// over the request's limit, so the caller's own guard can be tested.
class CannedHttpClient final : public HttpClient {
public:
    explicit CannedHttpClient(Scheduler& scheduler) : scheduler_(scheduler) {}

    // A body that arrived with `status`.
    static HttpResult ok(std::string body, int status = 200) {
        return HttpResponse{status, std::move(body)};
    }

    // The answer to every later request.
    void answer(HttpResult result, double latency = 0) {
        result_ = std::move(result);
        latency_ = latency;
    }

    void get(const HttpRequest& request, Completion done) override;

    const std::vector<HttpRequest>& requests() const { return requests_; }

private:
    Scheduler& scheduler_;
    HttpResult result_;
    double latency_ = 0;
    std::vector<HttpRequest> requests_;
    std::vector<TaskHandle> deliveries_;
};

}  // namespace pelliwig
