#include "core/engine/UpdateChecker.h"

#include <utility>

#include "core/support/VersionCompare.h"

namespace pelliwig {

UpdateChecker::UpdateChecker(HttpClient& http, Scheduler& scheduler, std::string currentVersion,
                             std::string feedUrl)
    : http_(http), currentVersion_(std::move(currentVersion)), feedUrl_(std::move(feedUrl)) {
    check();
    timer_ = scheduler.every(kCheckInterval, [this] { check(); });
}

void UpdateChecker::check() {
    const HttpRequest request{feedUrl_, kRequestTimeout, kMaxDocumentBytes};
    http_.get(request, [this, alive = std::weak_ptr<bool>(alive_)](HttpResult result) {
        if (alive.expired()) return;
        receive(result);
    });
}

// The status code is not looked at: whatever body arrived either decodes as a
// release or is ignored.
void UpdateChecker::receive(const HttpResult& result) {
    if (!result || result->body.size() > kMaxDocumentBytes) return;
    auto release = decodeRelease(result->body);
    if (!release) return;
    const bool newer = compareVersions(release->version, currentVersion_) > 0;
    publish(newer ? std::move(release) : std::nullopt);
}

void UpdateChecker::publish(std::optional<Release> release) {
    if (release == available_) return;
    available_ = std::move(release);
    availableChanged(available_);
}

}  // namespace pelliwig
