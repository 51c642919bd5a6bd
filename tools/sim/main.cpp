// pelliwig-sim: replays a script of a day (or a year) of her life in virtual
// time and prints every moment at the notch.

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unicode/locid.h>
#include <unicode/timezone.h>

#include "SimReplay.h"
#include "SimScript.h"
#include "SimWorld.h"
#include "core/support/DefaultZone.h"
#include "core/support/TimeLocale.h"

namespace {

using namespace pelliwig::sim;

constexpr int kBadUsage = 2;

const char* const kUsage =
    "usage: pelliwig-sim [--tz ZONE] [--locale LOCALE] [--seed N] [--store FILE]\n"
    "                    [--until \"YYYY-MM-DD HH:MM\"] [--jsonl] [--explain] SCRIPT\n"
    "SCRIPT is a file, or - for standard input.\n";

struct Arguments {
    Options options;
    std::optional<std::string> zone;
    std::optional<std::string> locale;
    std::optional<std::string> until;
    std::string script;
};

struct UsageError {
    std::string message;
};

std::string valueOf(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
    return args[++i];
}

Arguments parseArguments(const std::vector<std::string>& args) {
    Arguments a;
    std::optional<std::string> script;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--tz") {
            a.zone = valueOf(args, i);
        } else if (arg == "--locale") {
            a.locale = valueOf(args, i);
        } else if (arg == "--seed") {
            const std::string seed = valueOf(args, i);
            try {
                std::size_t used = 0;
                a.options.seed = std::stoull(seed, &used);
                if (used != seed.size()) throw UsageError{"bad seed " + seed};
            } catch (const std::exception&) {
                throw UsageError{"bad seed " + seed};
            }
        } else if (arg == "--store") {
            a.options.storePath = valueOf(args, i);
        } else if (arg == "--until") {
            a.until = valueOf(args, i);
        } else if (arg == "--jsonl") {
            a.options.jsonl = true;
        } else if (arg == "--explain") {
            a.options.explain = true;
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            throw UsageError{"unknown option " + arg};
        } else if (script) {
            throw UsageError{"only one script, please"};
        } else {
            script = arg;
        }
    }
    if (!script) throw UsageError{"no script given"};
    a.script = *script;
    return a;
}

// Zone and locale first: every time in the script is read in them.
void applyZoneAndLocale(const Arguments& a) {
    if (a.zone && !pelliwig::DefaultZone::use(*a.zone)) {
        throw UsageError{"unknown time zone " + *a.zone};
    }
    // Weeks as the program has them: by LC_TIME, unless --locale says.
    pelliwig::TimeLocale::useEnvironment();
    if (a.locale) {
        const icu::Locale locale(a.locale->c_str());
        UErrorCode status = U_ZERO_ERROR;
        if (locale.isBogus()) throw UsageError{"unknown locale " + *a.locale};
        icu::Locale::setDefault(locale, status);
    }
}

std::optional<pelliwig::Instant> parseUntil(const std::string& text) {
    const auto space = text.find(' ');
    if (space == std::string::npos) return std::nullopt;
    return parseWallTime(text.substr(0, space), text.substr(space + 1));
}

std::vector<Command> readScript(const std::string& path) {
    const SettingValues settings;
    if (path == "-") return parseScript(std::cin, settings);
    std::ifstream file(path);
    if (!file) throw UsageError{"cannot read " + path};
    return parseScript(file, settings);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Arguments a = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
        applyZoneAndLocale(a);
        if (a.until) {
            a.options.until = parseUntil(*a.until);
            if (!a.options.until) throw UsageError{"bad --until time " + *a.until};
        }
        const auto commands = readScript(a.script);
        if (!commands.empty() && a.options.until && *a.options.until < commands.front().at) {
            throw UsageError{"--until is before the script's first line"};
        }
        std::ios::sync_with_stdio(false);
        replay(a.options, commands, std::cout);
        std::cout.flush();
        return 0;
    } catch (const UsageError& e) {
        std::cerr << "pelliwig-sim: " << e.message << '\n' << kUsage;
        return kBadUsage;
    } catch (const ScriptError& e) {
        std::cerr << "line " << e.line << ": " << e.what() << '\n';
        return kBadUsage;
    }
}
