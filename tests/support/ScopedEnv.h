#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelliwig::testing {

// Sets or unsets environment variables for one test and puts every one back
// as it was when the test ends, so a test's environment stays in that test.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    // A null `value` unsets the variable.
    void set(const std::string& name, const char* value) {
        save(name);
        if (value) {
            ::setenv(name.c_str(), value, 1);
        } else {
            ::unsetenv(name.c_str());
        }
        if (name == "TZ") ::tzset();
    }
    void set(const std::string& name, const std::string& value) { set(name, value.c_str()); }
    void unset(const std::string& name) { set(name, nullptr); }

    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
        ::tzset();
    }

private:
    void save(const std::string& name) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace pelliwig::testing
