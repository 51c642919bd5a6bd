#pragma once

#include <QObject>
#include <QString>

#include <chrono>

#include "core/platform/HttpClient.h"

namespace pelliwig {

// HTTP GET through the fetch helper program (pelliwig-fetch), one child
// process per request. Her process stays free of the TLS libraries and the
// certificate store, which the helper loads for the seconds a check takes.
//
// Made and used on the main thread, whose event loop delivers completions.
// The request's timeout bounds the child too: one still running a little
// after it is killed, as is one whose output outgrows the body limit. A
// helper that is missing, crashes or answers garbage completes as failed.
// Destroying the client kills the children in flight; their completions never
// run.
class ProcessHttpClient final : public HttpClient {
public:
    // `grace` is how long past a request's timeout its child may take to
    // start and report before it is killed.
    explicit ProcessHttpClient(QString program = defaultProgram(),
                               std::chrono::milliseconds grace = std::chrono::seconds(5));
    ~ProcessHttpClient() override;
    ProcessHttpClient(const ProcessHttpClient&) = delete;
    ProcessHttpClient& operator=(const ProcessHttpClient&) = delete;

    void get(const HttpRequest& request, Completion done) override;

    // The helper beside this program (the build tree), else in the libexec
    // folder of the prefix this program was installed to.
    static QString defaultProgram();

private:
    QString program_;
    std::chrono::milliseconds grace_;
    QObject runs_;  // parent of the requests in flight
};

}  // namespace pelliwig
