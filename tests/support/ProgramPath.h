#pragma once

#include <filesystem>

namespace pelliwig::testing {

// The program built beside the running test: tests live in build/tests, the
// program in build/src/desktop.
inline std::filesystem::path programPath() {
    const auto self = std::filesystem::read_symlink("/proc/self/exe");
    return self.parent_path().parent_path() / "src" / "desktop" / "pelliwig";
}

}  // namespace pelliwig::testing
