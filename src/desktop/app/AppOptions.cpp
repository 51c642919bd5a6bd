#include "desktop/app/AppOptions.h"

#include <algorithm>

namespace pelliwig {

AppOptions AppOptions::parse(const std::vector<std::string>& arguments) {
    const auto has = [&arguments](const char* flag) {
        return std::find(arguments.begin(), arguments.end(), flag) != arguments.end();
    };
    AppOptions options;
    options.noNotch = has("--no-notch");
    options.loginItem = has("--login-item");
    options.welcome = has("--welcome");
    options.settings = has("--settings");
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
        "  --welcome         open the welcome window\n"
        "  --settings        open her settings\n"
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
