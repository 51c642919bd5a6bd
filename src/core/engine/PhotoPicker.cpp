#include "core/engine/PhotoPicker.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pelliwig::PhotoPicker {

namespace {

bool isPicture(const std::filesystem::path& path) {
    static constexpr std::array<std::string_view, 5> kExtensions{".jpg", ".jpeg", ".png", ".heic",
                                                                 ".webp"};
    std::string extension = path.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::ranges::find(kExtensions, extension) != kExtensions.end();
}

// The folder's pictures by name, so one random number always means one picture.
std::vector<std::string> pictures(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    // An unreadable folder, or one that fails halfway, counts as empty so far.
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (isPicture(entries->path())) found.push_back(entries->path().string());
    }
    std::ranges::sort(found);
    return found;
}

}  // namespace

std::optional<std::string> random(const std::optional<std::string>& folder, Random& random) {
    if (!folder || folder->empty()) return std::nullopt;
    const auto found = pictures(*folder);
    if (found.empty()) return std::nullopt;
    return found[random.index(found.size())];
}

}  // namespace pelliwig::PhotoPicker
