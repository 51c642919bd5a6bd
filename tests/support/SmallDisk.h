#pragma once

// A check run on a disk of only a few hundred kilobytes: in a child process
// with a mount namespace of its own, `folder` becomes a tmpfs of `bytes`, so
// a program's writes there run out of room as on a full disk, and nothing
// outside the child sees it. As root the namespace is the mount one alone;
// otherwise a user namespace comes with it.
//
//   const int failed = onSmallDisk(folder.path(), 256 * 1024, [&] { … return failures; });
//   if (failed == kNoSmallDisk) GTEST_SKIP() << "no private mounts here";

#include <sched.h>
#include <sys/mount.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace pelliwig::testing {

// onSmallDisk()'s status when the small disk could not be made.
inline constexpr int kNoSmallDisk = 100;

// Its exit status is the number of failed checks (kNoSmallDisk: no disk
// could be mounted; 200: the child died).
inline int onSmallDisk(const std::filesystem::path& folder, std::size_t bytes,
                       const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int spaces = ::geteuid() == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS;
        const std::string size = "size=" + std::to_string(bytes);
        if (::unshare(spaces) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) != 0) {
            _exit(kNoSmallDisk);
        }
        _exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

// Writes `file` until the disk it is on is full.
inline void fillDisk(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    const std::string block(4096, 'x');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
    }
}

}  // namespace pelliwig::testing
