#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace pelliwig::testing {

// A fresh empty folder for one test, removed with everything in it when the
// test ends (also where the test took its own permissions away). It lies
// under the test's own XDG_CONFIG_HOME when the runner set one, else in the
// system's temporary folder, so tests of one program may run at once.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name = "scratch") {
        const char* base = std::getenv("XDG_CONFIG_HOME");
        const std::filesystem::path parent =
            (base && *base) ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
        std::string pattern = (parent / (name + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        if (path_.empty()) return;
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(
                 path_, std::filesystem::directory_options::skip_permission_denied, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes `text` to `relative` inside the folder, making its folders first.
    std::filesystem::path write(const std::string& relative, const std::string& text) const {
        const auto file = path_ / relative;
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

private:
    std::filesystem::path path_;
};

}  // namespace pelliwig::testing
