#include "desktop/app/AppOptions.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace pelliwig {
namespace {

enum class Takes { nothing, optionalValue, value };

using Value = std::optional<std::string>;

// One option of the command line. A new option is one more row of kOptions
// (and its field in AppOptions); the parser, --help and the list of names
// follow from the table.
struct Option {
    std::string_view name;
    Takes takes = Takes::nothing;
    std::string_view valueName;  // as --help shows it
    // One line for --help; empty keeps an option that only old command lines
    // use out of the list, while it is still accepted.
    std::string_view help;
    bool AppOptions::*flag = nullptr;  // a plain switch sets this
    // An option with a value puts it into `options`; returns an error line
    // for a bad value.
    std::string (*apply)(AppOptions& options, const Value& value) = nullptr;
    std::string_view alias = {};  // another spelling
};

constexpr Option flag(std::string_view name, bool AppOptions::*field, std::string_view help,
                      std::string_view alias = {}) {
    return {name, Takes::nothing, {}, help, field, nullptr, alias};
}

std::string previewKind(AppOptions& options, const Value& kind) {
    // Only the first "--preview" counts; a word that is no kind's name
    // previews any kind.
    if (options.preview) return {};
    options.preview = true;
    if (kind) options.previewKind = fromRawValue<ReminderKind>(*kind);
    return {};
}

std::string pauseRequest(AppOptions& options, const Value& value) {
    options.pause = PauseRequest::parse(*value);
    if (options.pause) return {};
    return "--pause takes a number of minutes, \"tomorrow\" or \"off\", not \"" + *value + "\"";
}

const Option kOptions[] = {
    {"--preview", Takes::optionalValue, "[KIND]",
     "show a nudge a second after start (any kind if none is given)", nullptr, previewKind},
    {"--pause", Takes::value, "MINUTES|tomorrow|off",
     "keep quiet for that many minutes, until 05:00, or no longer", nullptr, pauseRequest},
    flag("--welcome", &AppOptions::welcome, "open the welcome window"),
    flag("--settings", &AppOptions::settings, "open her settings"),
    flag("--diary", &AppOptions::diary, "open her diary of your last days"),
    flag("--quit", &AppOptions::quit, "end the Zuzi that runs"),
    flag("--status", &AppOptions::status, "print what comes next or why she is quiet, and exit"),
    flag("--json", &AppOptions::json, "with --status: as JSON for a waybar custom module"),
    flag("--follow", &AppOptions::follow, "with --status: one more line each time it changes"),
    flag("--login-item", &AppOptions::loginItem, "start Zuzi whenever you log in"),
    // A screen here has no notch: it changes nothing visible.
    flag("--no-notch", &AppOptions::noNotch, {}),
    flag("--help", &AppOptions::help, "show this help and exit", "-h"),
    flag("--version", &AppOptions::version, "show the version and exit"),
};

// Qt's own options, which QApplication takes out of the arguments itself;
// it accepts them with one dash or two.
constexpr std::string_view kToolkitWithValue[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "session",       "display",    "name",
    "title",        "geometry",           "style",         "stylesheet", "visual",
    "qmljsdebugger"};
constexpr std::string_view kToolkitFlags[] = {"reverse", "widgetcount", "nograb",
                                              "dograb",  "sync",        "testability"};

const Option* optionNamed(std::string_view argument) {
    for (const Option& option : kOptions) {
        if (argument == option.name || (!option.alias.empty() && argument == option.alias)) {
            return &option;
        }
    }
    return nullptr;
}

// How many arguments a toolkit option takes with it (1 or 2), or 0 when
// `argument` is none of Qt's.
int toolkitArguments(std::string_view argument, bool valueFollows) {
    if (!argument.starts_with('-')) return 0;
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    const auto equals = argument.find('=');
    const std::string_view name = argument.substr(0, equals);
    if (std::ranges::find(kToolkitFlags, name) != std::end(kToolkitFlags)) {
        return equals == std::string_view::npos ? 1 : 0;
    }
    if (std::ranges::find(kToolkitWithValue, name) == std::end(kToolkitWithValue)) return 0;
    if (equals != std::string_view::npos) return 1;
    return valueFollows ? 2 : 0;
}

bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word.starts_with('-');
}

// "--status" only asks, so it takes no option that would act; "--json" and
// "--follow" mean nothing without it.
std::string statusConflict(const AppOptions& options) {
    if (!options.status) {
        if (options.json) return "--json goes with --status";
        if (options.follow) return "--follow goes with --status";
        return {};
    }
    AppOptions alone;
    alone.status = true;
    alone.json = options.json;
    alone.follow = options.follow;
    alone.help = options.help;
    alone.version = options.version;
    return options == alone ? std::string()
                            : "--status takes no other options but --json and --follow";
}

}  // namespace

std::optional<PauseRequest> PauseRequest::parse(const std::string& value) {
    if (value == "tomorrow") return PauseRequest{Until::tomorrow, 0};
    if (value == "off") return PauseRequest{Until::off, 0};
    int minutes = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), minutes);
    if (error != std::errc() || end != value.data() + value.size() || minutes <= 0) {
        return std::nullopt;
    }
    return PauseRequest{Until::minutes, minutes};
}

ParsedOptions AppOptions::parse(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool more = i + 1 < arguments.size();
        const Option* option = optionNamed(word);
        if (!option) {
            if (const int taken = toolkitArguments(word, more)) {
                i += static_cast<std::size_t>(taken - 1);
                continue;
            }
            parsed.error = looksLikeOption(word) ? "unknown option \"" + word + "\""
                                                 : "unexpected argument \"" + word + "\"";
            return parsed;
        }
        Value value;
        if (option->takes != Takes::nothing && more && !looksLikeOption(arguments[i + 1])) {
            value = arguments[++i];
        }
        if (option->takes == Takes::value && !value) {
            parsed.error =
                std::string(option->name) + " needs a value: " + std::string(option->valueName);
            return parsed;
        }
        if (option->flag) {
            parsed.options.*(option->flag) = true;
        } else {
            parsed.error = option->apply(parsed.options, value);
            if (!parsed.ok()) return parsed;
        }
    }
    parsed.error = statusConflict(parsed.options);
    return parsed;
}

std::string AppOptions::usage() {
    constexpr std::size_t kHelpColumn = 20;
    std::string text =
        "Usage: pelliwig [OPTION]...\n"
        "Zuzi lives at the top of your screen and nudges you with short lines.\n"
        "A second launch hands its options to the Zuzi already running;\n"
        "without options it opens her settings.\n"
        "\n";
    for (const Option& option : kOptions) {
        if (option.help.empty()) continue;
        std::string names = "  " + std::string(option.name);
        if (!option.valueName.empty()) names += " " + std::string(option.valueName);
        if (names.size() + 2 > kHelpColumn) {
            names += "\n";
            names.append(kHelpColumn, ' ');
        } else {
            names.append(kHelpColumn - names.size(), ' ');
        }
        text += names + std::string(option.help) + "\n";
    }
    text += "\nKinds:";
    for (std::size_t i = 0; i < caseCount<ReminderKind>(); ++i) {
        text += (i % 8 == 0 ? "\n  " : " ");
        text += rawValue(static_cast<ReminderKind>(i));
    }
    return text + "\n";
}

std::vector<std::string_view> AppOptions::names() {
    std::vector<std::string_view> all;
    for (const Option& option : kOptions) {
        all.push_back(option.name);
        if (!option.alias.empty()) all.push_back(option.alias);
    }
    return all;
}

}  // namespace pelliwig
