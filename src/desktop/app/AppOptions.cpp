#include "desktop/app/AppOptions.h"

#include <algorithm>
#include <charconv>

namespace pelliwig {

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

AppOptions AppOptions::parse(const std::vector<std::string>& arguments) {
    const auto has = [&arguments](const char* flag) {
        return std::find(arguments.begin(), arguments.end(), flag) != arguments.end();
    };
    AppOptions options;
    options.noNotch = has("--no-notch");
    options.loginItem = has("--login-item");
    options.welcome = has("--welcome");
    options.settings = has("--settings");
    options.diary = has("--diary");
    options.quit = has("--quit");
    options.help = has("--help") || has("-h");
    options.version = has("--version");
    // Only the first "--preview" counts.
    const auto preview = std::find(arguments.begin(), arguments.end(), "--preview");
    if (preview != arguments.end()) {
        options.preview = true;
        if (std::next(preview) != arguments.end()) {
            options.previewKind = fromRawValue<ReminderKind>(*std::next(preview));
        }
    }
    const auto pause = std::find(arguments.begin(), arguments.end(), "--pause");
    if (pause != arguments.end() && std::next(pause) != arguments.end()) {
        options.pause = PauseRequest::parse(*std::next(pause));
    }
    return options;
}

std::string AppOptions::usage() {
    std::string text =
        "Usage: pelliwig [OPTION]...\n"
        "Zuzi lives at the top of your screen and nudges you with short lines.\n"
        "A second launch hands its options to the Zuzi already running;\n"
        "without options it opens her settings.\n"
        "\n"
        "  --preview [KIND]  show a nudge a second after start (any kind if none is given)\n"
        "  --pause MINUTES|tomorrow|off\n"
        "                    keep quiet for that many minutes, until 05:00, or no longer\n"
        "  --welcome         open the welcome window\n"
        "  --settings        open her settings\n"
        "  --diary           open her diary of your last days\n"
        "  --quit            end the Zuzi that runs\n"
        "  --login-item      start Zuzi whenever you log in\n"
        "  --no-notch        use the plain area at the top centre of the screen\n"
        "  --help            show this help and exit\n"
        "  --version         show the version and exit\n"
        "\n"
        "Kinds:";
    for (std::size_t i = 0; i < caseCount<ReminderKind>(); ++i) {
        text += (i % 8 == 0 ? "\n  " : " ");
        text += rawValue(static_cast<ReminderKind>(i));
    }
    return text + "\n";
}

}  // namespace pelliwig
