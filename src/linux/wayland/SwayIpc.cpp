#include "linux/wayland/SwayIpc.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <nlohmann/json.hpp>

namespace pelliwig {

namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr int kGetWorkspaces = 1;
constexpr int kGetOutputs = 3;
constexpr std::size_t kHeader = sizeof kMagic + 8;
// Far more than any real reply; a larger length is not sway talking.
constexpr std::uint32_t kMaxReply = 4 << 20;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Reads exactly `size` bytes before the deadline.
bool readAll(int fd, char* data, std::size_t size, Clock::time_point deadline) {
    std::size_t done = 0;
    while (done < size) {
        pollfd watch{fd, POLLIN, 0};
        if (::poll(&watch, 1, remainingMs(deadline)) <= 0) return false;
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

std::optional<Rect> rectOf(const nlohmann::json& value) {
    if (!value.is_object()) return std::nullopt;
    for (const char* key : {"x", "y", "width", "height"}) {
        if (!value.contains(key) || !value[key].is_number()) return std::nullopt;
    }
    return Rect{value["x"].get<double>(), value["y"].get<double>(), value["width"].get<double>(),
                value["height"].get<double>()};
}

std::string textOf(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

bool flagOf(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_boolean() && found->get<bool>();
}

}  // namespace

SwayIpc::SwayIpc(std::string socketPath) : socketPath_(std::move(socketPath)) {
    if (socketPath_.empty()) {
        const char* fromEnvironment = std::getenv("SWAYSOCK");
        if (fromEnvironment) socketPath_ = fromEnvironment;
    }
}

bool SwayIpc::answers() const {
    return ask(kGetOutputs).has_value();
}

std::optional<std::string> SwayIpc::ask(int type) const {
    sockaddr_un address{};
    if (socketPath_.empty() || socketPath_.size() >= sizeof address.sun_path) return std::nullopt;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0) return std::nullopt;
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return std::nullopt;
    }
    char request[kHeader] = {};
    std::memcpy(request, kMagic, sizeof kMagic);
    const std::uint32_t length = 0;
    const auto kind = std::uint32_t(type);
    std::memcpy(request + sizeof kMagic, &length, 4);
    std::memcpy(request + sizeof kMagic + 4, &kind, 4);
    if (::send(socket.fd(), request, sizeof request, MSG_NOSIGNAL) != ssize_t(sizeof request)) {
        return std::nullopt;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(kTimeoutMs);
    char header[kHeader];
    if (!readAll(socket.fd(), header, sizeof header, deadline)) return std::nullopt;
    std::uint32_t size = 0, replyType = 0;
    std::memcpy(&size, header + sizeof kMagic, 4);
    std::memcpy(&replyType, header + sizeof kMagic + 4, 4);
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0 || replyType != kind || size > kMaxReply) {
        return std::nullopt;
    }
    std::string body(size, '\0');
    if (!readAll(socket.fd(), body.data(), size, deadline)) return std::nullopt;
    return body;
}

std::vector<SwayIpc::Output> SwayIpc::outputs() const {
    const auto outputs = ask(kGetOutputs);
    if (!outputs) return {};
    const auto workspaces = ask(kGetWorkspaces);
    return parse(*outputs, workspaces.value_or("[]"));
}

std::vector<SwayIpc::Output> SwayIpc::parse(const std::string& outputsJson,
                                            const std::string& workspacesJson) {
    const auto outputs = nlohmann::json::parse(outputsJson, nullptr, false);
    const auto workspaces = nlohmann::json::parse(workspacesJson, nullptr, false);
    if (!outputs.is_array()) return {};
    std::vector<Output> result;
    for (const auto& output : outputs) {
        if (!output.is_object() || !flagOf(output, "active")) continue;
        const auto rect = rectOf(output.value("rect", nlohmann::json()));
        if (!rect) continue;
        Output entry{textOf(output, "name"), *rect, *rect, flagOf(output, "focused")};
        // The visible workspace's rect is the output less its bars.
        const std::string current = textOf(output, "current_workspace");
        if (workspaces.is_array()) {
            for (const auto& workspace : workspaces) {
                if (!workspace.is_object() || textOf(workspace, "name") != current ||
                    textOf(workspace, "output") != entry.name) {
                    continue;
                }
                if (auto usable = rectOf(workspace.value("rect", nlohmann::json()))) {
                    entry.usable = *usable;
                }
            }
        }
        result.push_back(std::move(entry));
    }
    return result;
}

}  // namespace pelliwig
