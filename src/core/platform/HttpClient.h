#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace pelliwig {

struct HttpRequest {
    std::string url;
    double timeoutSeconds = 60;
    // A body longer than this is not read: the transfer is abandoned and the
    // request completes as failed.
    std::size_t maxBodyBytes = 1 << 20;

    bool operator==(const HttpRequest&) const = default;
};

struct HttpResponse {
    int status = 0;
    std::string body;

    bool operator==(const HttpResponse&) const = default;
};

// Empty when no body arrived: transport error, timeout, no network, or a body
// over the request's limit.
using HttpResult = std::optional<HttpResponse>;

// Plain HTTP GET for the update check, the program's only network traffic.
class HttpClient {
public:
    using Completion = std::function<void(HttpResult)>;

    virtual ~HttpClient() = default;

    // Starts a GET that always goes to the origin (no cached answer is used)
    // and returns at once. `done` runs exactly once, later, on the main thread,
    // never from inside get(); a client destroyed first drops it instead.
    // Callers that may be gone by then guard it.
    virtual void get(const HttpRequest& request, Completion done) = 0;
};

}  // namespace pelliwig
