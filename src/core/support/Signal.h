#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace pelliwig {

// Disconnects its slot when destroyed (or on disconnect()). Safe to outlive
// the signal.
class Connection {
public:
    Connection() = default;
    explicit Connection(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
    Connection(Connection&& other) noexcept : disconnect_(std::exchange(other.disconnect_, {})) {}
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            disconnect();
            disconnect_ = std::exchange(other.disconnect_, {});
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { disconnect(); }

    void disconnect() {
        if (disconnect_) std::exchange(disconnect_, {})();
    }

private:
    std::function<void()> disconnect_;
};

// A minimal observer list, single-threaded. Slots connected or disconnected
// while the signal is being emitted take effect from the next emission.
template <typename... Args>
class Signal {
public:
    Signal() : slots_(std::make_shared<Slots>()) {}
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Connection connect(std::function<void(Args...)> slot) {
        const int id = ++slots_->nextId;
        slots_->entries.emplace_back(id, std::move(slot));
        std::weak_ptr<Slots> weak = slots_;
        return Connection([weak, id] {
            if (auto live = weak.lock()) {
                std::erase_if(live->entries, [id](const auto& e) { return e.first == id; });
            }
        });
    }

    void operator()(Args... args) const {
        const auto entries = slots_->entries;  // a slot may disconnect itself
        for (const auto& entry : entries) entry.second(args...);
    }

    bool empty() const { return slots_->entries.empty(); }

private:
    struct Slots {
        int nextId = 0;
        std::vector<std::pair<int, std::function<void(Args...)>>> entries;
    };
    std::shared_ptr<Slots> slots_;
};

}  // namespace pelliwig
