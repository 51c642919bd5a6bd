#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "core/engine/Release.h"
#include "core/platform/HttpClient.h"
#include "core/platform/Scheduler.h"
#include "core/support/Brand.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Tells whether a newer release than this program exists. It only reads the
// version document; the menu shows what it found and opens its address.
class UpdateChecker {
public:
    static constexpr double kCheckInterval = 21600;  // six hours
    static constexpr double kRequestTimeout = 60;
    static constexpr std::size_t kMaxDocumentBytes = 1 << 20;

    // Checks once at once, then every kCheckInterval seconds while it lives.
    UpdateChecker(HttpClient& http, Scheduler& scheduler,
                  std::string currentVersion = std::string(Brand::version),
                  std::string feedUrl = std::string(Brand::versionFeed));
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Starts one check and returns at once; the outcome shows only in
    // available(). Overlapping checks are fine: the last answer wins.
    void check();

    // The newer release the last successful check found, if any. A failed
    // check leaves it as it was.
    const std::optional<Release>& available() const { return available_; }

    // Emitted, on the main thread, each time available() changes.
    Signal<const std::optional<Release>&> availableChanged;

private:
    void receive(const HttpResult& result);
    void publish(std::optional<Release> release);

    HttpClient& http_;
    std::string currentVersion_;
    std::string feedUrl_;
    std::optional<Release> available_;
    // Answers still in flight hold this weakly and are dropped once it is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    TaskHandle timer_;
};

}  // namespace pelliwig
