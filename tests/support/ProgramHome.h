#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/settings/SqliteStore.h"

namespace pelliwig::testing {

// Stored settings as (key, JSON text) pairs.
using StoredSettings = std::vector<std::pair<std::string, std::string>>;

// Onboarded, and nothing of her own accord: no nudge, peek, sleep or surprise
// at start, whatever the time of day; only `kind` (a JSON string) may bring
// her out.
inline StoredSettings quietSettings(const std::string& kind = R"("hover")") {
    return {{"hasOnboarded", R"({"value":true})"},
            {"enabledKinds", R"({"value":[)" + kind + "]}"},
            {"idlePeeks", R"({"value":false})"},
            {"sleepInNotch", R"({"value":false})"},
            {"surprisesPerWeek", R"({"value":0})"}};
}

// Writes `settings` into the store under the config folder `config`, as she
// would have saved them.
inline void storeSettings(const std::filesystem::path& config, const StoredSettings& settings) {
    std::filesystem::create_directories(config / "pelliwig");
    SqliteStore store(config / "pelliwig" / "defaults.sqlite");
    for (const auto& [key, json] : settings) store.write(key, json);
}

// A fresh home for one run of the real program, with config, runtime and
// temporary folders of its own (the runtime folder private, as a login's is),
// so the store and the socket of the instance under test stay away from any
// Zuzi the user runs. It lies in the system's temporary folder, reachable by
// a session's other user and short enough for a socket path, and is removed
// with everything in it.
class ProgramHome {
public:
    explicit ProgramHome(const std::string& tag) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("pelliwig-" + tag + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) return;
        path_ = pattern;
        ::chmod(path_.c_str(), 0755);
        for (const char* sub : {"config/pelliwig", "runtime", "tmp"}) {
            std::filesystem::create_directories(path_ / sub);
        }
        ::chmod(runtime().c_str(), 0700);
    }
    ~ProgramHome() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::filesystem::path config() const { return path_ / "config"; }
    std::filesystem::path runtime() const { return path_ / "runtime"; }
    std::filesystem::path storePath() const { return config() / "pelliwig" / "defaults.sqlite"; }

    // HOME and the XDG folders pointing into this home, for the program's
    // environment.
    std::vector<std::string> env() const {
        return {"HOME=" + path_.string(), "XDG_CONFIG_HOME=" + config().string(),
                "XDG_RUNTIME_DIR=" + runtime().string(), "TMPDIR=" + (path_ / "tmp").string()};
    }

    void store(const StoredSettings& settings) const { storeSettings(config(), settings); }
    void store(const std::string& key, const std::string& json) const {
        storeSettings(config(), {{key, json}});
    }
    std::optional<std::string> stored(const std::string& key) const {
        return SqliteStore(storePath()).read(key);
    }

private:
    std::filesystem::path path_;
};

}  // namespace pelliwig::testing
