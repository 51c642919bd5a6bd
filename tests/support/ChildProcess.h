#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace pelliwig::testing {

using namespace std::chrono_literals;

// Polls `condition` in short steps until it holds or `timeout` passes; the
// one way tests wait for a real component.
template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout = 3s,
               std::chrono::milliseconds step = 5ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}

// The full path of `name` on $PATH; empty when it is not installed.
inline std::string findProgram(std::string_view name) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const auto dir = rest.substr(0, colon);
        const auto candidate = std::filesystem::path(dir) / name;
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return {};
}

// A program started by a test, with extra environment entries ("NAME=value",
// overriding the test's own) and its output thrown away. Dropping it ends
// the program: SIGTERM, then SIGKILL if it lingers.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
    ChildProcess& operator=(ChildProcess&& other) noexcept {
        if (this != &other) {
            stop();
            pid_ = std::exchange(other.pid_, -1);
        }
        return *this;
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { stop(); }

    // Nothing when the program cannot be started. Its output goes to
    // `outputPath` and its errors to `errorPath` when they are given.
    static std::optional<ChildProcess> start(const std::vector<std::string>& argv,
                                             const std::vector<std::string>& extraEnv = {},
                                             const std::string& outputPath = "/dev/null",
                                             const std::string& errorPath = "/dev/null") {
        if (argv.empty()) return std::nullopt;
        std::vector<std::string> env = mergedEnvironment(extraEnv);
        std::vector<char*> args = pointers(argv);
        std::vector<char*> envp = pointers(env);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = -1;
        const int failed =
            ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) return std::nullopt;
        ChildProcess child;
        child.pid_ = pid;
        return child;
    }

    // Runs a program to its end; its exit status, or -1 when it could not be
    // started, was killed, or outlasted `timeout`.
    static int run(const std::vector<std::string>& argv,
                   const std::vector<std::string>& extraEnv = {},
                   std::chrono::milliseconds timeout = 5s) {
        auto child = start(argv, extraEnv);
        if (!child) return -1;
        int status = -1;
        waitUntil([&] { return child->reap(&status); }, timeout, 2ms);
        if (child->pid_ > 0) return -1;  // still running; the destructor ends it
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // What a program printed on its standard output before it ended;
    // nothing when it failed (as run() counts failing) or printed nothing.
    static std::string output(const std::vector<std::string>& argv,
                              const std::vector<std::string>& extraEnv = {},
                              std::chrono::milliseconds timeout = 5s) {
        std::string path = std::filesystem::temp_directory_path() / "pelliwig-output-XXXXXX";
        const int fd = ::mkstemp(path.data());
        if (fd < 0) return {};
        ::close(fd);
        std::string text;
        auto child = start(argv, extraEnv, path);
        int status = -1;
        if (child && waitUntil([&] { return child->reap(&status); }, timeout, 2ms) &&
            WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            std::ifstream in(path);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        ::unlink(path.c_str());
        return text;
    }

    struct Ended {
        int status = -1;  // the exit status; -1 as for run()
        std::string errors;
    };

    // How a program ended and what it wrote to its standard error.
    static Ended errors(const std::vector<std::string>& argv,
                        const std::vector<std::string>& extraEnv = {},
                        std::chrono::milliseconds timeout = 5s) {
        std::string path = std::filesystem::temp_directory_path() / "pelliwig-errors-XXXXXX";
        const int fd = ::mkstemp(path.data());
        if (fd < 0) return {};
        ::close(fd);
        Ended ended;
        auto child = start(argv, extraEnv, "/dev/null", path);
        int status = -1;
        if (child && waitUntil([&] { return child->reap(&status); }, timeout, 2ms) &&
            WIFEXITED(status)) {
            ended.status = WEXITSTATUS(status);
        }
        std::ifstream in(path);
        ended.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ::unlink(path.c_str());
        return ended;
    }

    pid_t pid() const { return pid_; }

    bool running() {
        int status = 0;
        return !reap(&status);
    }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        if (!waitUntil([&] { return reap(&status); }, 2s, 2ms)) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }

private:
    // True once the program has ended (or was never running).
    bool reap(int* status) {
        if (pid_ <= 0) return true;
        if (::waitpid(pid_, status, WNOHANG) == 0) return false;
        pid_ = -1;
        return true;
    }

    static std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
        std::vector<std::string> env(extra);
        for (char** entry = environ; entry && *entry; ++entry) {
            const std::string_view text(*entry);
            const auto name = text.substr(0, text.find('=') + 1);
            bool overridden = false;
            for (const auto& e : extra) overridden = overridden || e.starts_with(name);
            if (!overridden) env.emplace_back(text);
        }
        return env;
    }

    static std::vector<char*> pointers(const std::vector<std::string>& strings) {
        std::vector<char*> result;
        for (const auto& s : strings) result.push_back(const_cast<char*>(s.c_str()));
        result.push_back(nullptr);
        return result;
    }

    pid_t pid_ = -1;
};

}  // namespace pelliwig::testing
