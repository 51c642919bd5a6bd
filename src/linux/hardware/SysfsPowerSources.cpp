#include "linux/hardware/SysfsPowerSources.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <string>
#include <utility>

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

// The first line of one attribute file; nothing when it cannot be read.
std::optional<std::string> attribute(const fs::path& supply, const char* name) {
    std::ifstream in(supply / name);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    return line;
}

std::optional<int> number(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end == text->data()) return std::nullopt;
    return std::clamp(value, 0, 100);
}

// What one supply contributes to the readings.
struct Supply {
    bool battery = false;
    std::optional<int> capacity;
    bool charging = false;  // the battery says it is fed
    bool isLine = false;    // a charger or mains connection
    bool lineOnline = false;
};

std::optional<Supply> readSupply(const fs::path& folder) {
    const auto type = attribute(folder, "type");
    if (!type) return std::nullopt;
    Supply supply;
    if (*type == "Battery") {
        // "Device" scope marks a peripheral's battery; "present" is 0 for an
        // empty bay.
        if (attribute(folder, "scope") == "Device" || attribute(folder, "present") == "0") {
            return std::nullopt;
        }
        supply.battery = true;
        supply.capacity = number(attribute(folder, "capacity"));
        const auto status = attribute(folder, "status");
        supply.charging = status == "Charging" || status == "Full" || status == "Not charging";
        return supply;
    }
    const auto online = attribute(folder, "online");
    supply.isLine = online.has_value();
    supply.lineOnline = online == "1";
    return supply;
}

std::vector<fs::path> supplyFolders(const fs::path& root) {
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        folders.push_back(it->path());
    }
    std::ranges::sort(folders);
    return folders;
}

}  // namespace

SysfsPowerSources::SysfsPowerSources(Scheduler& scheduler, std::filesystem::path root)
    : root_(std::move(root)), last_(read()) {
    polling_ = scheduler.every(kPollSeconds, [this] { poll(); });
}

std::vector<PowerSource> SysfsPowerSources::read() const {
    std::vector<Supply> batteries;
    bool anyLine = false;
    bool lineOnline = false;
    for (const auto& folder : supplyFolders(root_)) {
        const auto supply = readSupply(folder);
        if (!supply) continue;
        if (supply->battery) batteries.push_back(*supply);
        anyLine = anyLine || supply->isLine;
        lineOnline = lineOnline || supply->lineOnline;
    }
    // A charger the kernel lists settles it; without one, the batteries'
    // status is all there is to go by.
    const bool external = anyLine ? lineOnline : std::ranges::any_of(batteries, &Supply::charging);
    std::vector<PowerSource> sources;
    for (const auto& battery : batteries) sources.push_back({battery.capacity, external});
    return sources;
}

Connection SysfsPowerSources::onChange(std::function<void()> callback) {
    return changed_.connect(std::move(callback));
}

void SysfsPowerSources::poll() {
    auto now = read();
    if (now == last_) return;
    last_ = std::move(now);
    changed_();
}

}  // namespace pelliwig
