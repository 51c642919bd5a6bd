// The pelliwig program: Zuzi at the top centre of the screen, her tray menu
// and her windows. Everything long-lived belongs to the AppDelegate.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QByteArray>
#include <QDeadlineTimer>
#include <QPointer>
#include <QStringList>
#include <QThread>

#include "core/menu/StatusLine.h"
#include "core/support/Brand.h"
#include "desktop/app/AppDelegate.h"
#include "desktop/app/AppOptions.h"
#include "desktop/app/DesktopServices.h"
#include "desktop/app/DisplayCheck.h"
#include "desktop/app/SignalQuitter.h"
#include "desktop/app/SingleInstance.h"

namespace {

using namespace pelliwig;

std::vector<std::string> argumentsOf(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

QStringList toQt(const std::vector<std::string>& words) {
    QStringList list;
    for (const auto& word : words) list << QString::fromStdString(word);
    return list;
}

std::vector<std::string> fromQt(const QStringList& list) {
    std::vector<std::string> words;
    for (const auto& word : list) words.push_back(word.toStdString());
    return words;
}

// The panel places itself in screen coordinates, which a Wayland client may
// not do; with XWayland at hand she runs as an X client.
void preferX11() {
    const auto env = DisplayCheck::current();
    if (env.qtPlatform.empty() && !env.display.empty() && !env.waylandDisplay.empty()) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
}

// How the Zuzi that runs answers a launch whose change she has made: "stored",
// or what kept it from being stored.
constexpr char kStored[] = "stored";

// A change she keeps (a pause, her login item) is asked of the Zuzi that
// runs, who answers whether she could keep it; anything else is handed over
// and the launch ends. False when no Zuzi answered at all.
bool handOver(SingleInstance& instance, const AppOptions& options, const QStringList& arguments,
              int& exitCode) {
    if (!options.pause && !options.loginItem) return instance.sendToRunning(arguments);
    std::optional<QByteArray> reply;
    const auto asked = instance.ask(arguments, [&](const QByteArray& line) {
        reply = line;
        return false;
    });
    if (asked == SingleInstance::Asked::notRunning) return false;
    if (!reply) {
        std::fputs(
            "pelliwig: the Zuzi that runs did not take the change (one started before "
            "an update may not know how); restart her and try again.\n",
            stderr);
        exitCode = 1;
    } else if (*reply != kStored) {
        std::fprintf(stderr, "pelliwig: %s\n", reply->constData());
        exitCode = 1;
    }
    return true;
}

// The answer to a launch that handed over a change: "stored", or why not.
QByteArray changeAnswer(const std::string& problem) {
    return problem.empty() ? QByteArray(kStored) : QByteArray::fromStdString(problem);
}

// True when this process became the one running instance. Otherwise the
// arguments went to the running one, or (when another instance is starting
// at this very moment and does not answer in time) nowhere, said on stderr.
bool becomeTheInstance(SingleInstance& instance, const AppOptions& options,
                       const QStringList& arguments, int& exitCode) {
    if (handOver(instance, options, arguments, exitCode)) return false;
    if (instance.listen()) return true;
    if (!instance.failure().isEmpty()) {
        std::fprintf(stderr, "pelliwig: %s\n", qPrintable(instance.failure()));
        exitCode = 1;
        return false;
    }
    QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        if (handOver(instance, options, arguments, exitCode)) return false;
        QThread::msleep(50);
    }
    std::fputs("pelliwig: another Zuzi is starting but does not answer; try again.\n", stderr);
    exitCode = 1;
    return false;
}

// "--status": asked of the Zuzi that runs, which writes the lines; this
// prints them as they come. It needs no display and never starts her.
int printStatus(const AppOptions& options, const QStringList& arguments) {
    SingleInstance instance;
    int lines = 0;
    const auto asked = instance.ask(arguments, [&](const QByteArray& line) {
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
        std::fputc('\n', stdout);
        ++lines;
        // A bar that closed its end wants no more.
        return std::fflush(stdout) == 0 && options.follow;
    });
    if (asked == SingleInstance::Asked::enough) return 0;
    if (asked == SingleInstance::Asked::hungUp && lines == 0) {
        std::fputs("pelliwig: the Zuzi that runs did not answer; try again.\n", stderr);
        return 1;
    }
    // A bar keeps showing the last line it read: tell it she has gone.
    if (lines > 0) {
        std::printf("%s\n", options.json ? StatusLine::stopped().json().c_str() : "");
        std::fflush(stdout);
    }
    std::fputs("pelliwig: Zuzi is not running\n", stderr);
    return 3;
}

}  // namespace

int main(int argc, char** argv) {
    const auto arguments = argumentsOf(argc, argv);
    const auto parsed = AppOptions::parse(arguments);
    // A mistyped option is said, and nothing else happens: neither here nor
    // in a Zuzi already running.
    if (!parsed.ok()) {
        std::fprintf(stderr, "pelliwig: %s\n\n%s", parsed.error.c_str(),
                     AppOptions::usage().c_str());
        return 2;
    }
    const AppOptions& options = parsed.options;
    if (options.help) {
        std::fputs(AppOptions::usage().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("pelliwig %s\n", std::string(Brand::version).c_str());
        return 0;
    }
    if (options.status) return printStatus(options, toQt(arguments));
    const auto display =
        DisplayCheck::verdict(DisplayCheck::current(), &DisplayCheck::x11Reachable);
    if (display.problem) {
        std::fprintf(stderr, "%s\n", display.problem->c_str());
        return 1;
    }
    if (display.presentation == DisplayCheck::Presentation::notifications) {
        setenv("QT_QPA_PLATFORM", DisplayCheck::kNotificationPlatforms, 1);
    } else {
        preferX11();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("pelliwig");
    QApplication::setApplicationDisplayName("Zuzi");
    QApplication::setApplicationVersion(
        QString::fromUtf8(Brand::version.data(), static_cast<qsizetype>(Brand::version.size())));
    QApplication::setDesktopFileName("pelliwig");
    // She lives in the tray and the notch; closing a window never ends her.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    // "--quit" never starts her: with no Zuzi running there is nothing to end.
    if (options.quit) {
        instance.sendToRunning(toQt(arguments));
        return 0;
    }
    int exitCode = 0;
    if (!becomeTheInstance(instance, options, toQt(arguments), exitCode)) return exitCode;

    SignalQuitter quitter;
    if (display.notice) std::fprintf(stderr, "%s\n", display.notice->c_str());
    AppDelegate delegate(desktopServices(display.presentation));
    QObject::connect(&instance, &SingleInstance::received, &delegate,
                     [&delegate](const QStringList& received) {
                         // The launch that sent them checked them first;
                         // anything else sends nothing we act on.
                         const auto handed = AppOptions::parse(fromQt(received));
                         if (handed.ok()) delegate.handOver(handed.options);
                     });
    QObject::connect(&instance, &SingleInstance::asked, &delegate,
                     [&delegate](const QStringList& received, SingleInstance::Asker* asker) {
                         const auto asked = AppOptions::parse(fromQt(received));
                         if (!asked.ok()) {
                             asker->close();
                             return;
                         }
                         if (!asked.options.status) {
                             asker->answer(changeAnswer(delegate.handOver(asked.options)));
                             asker->close();
                             return;
                         }
                         const QPointer<SingleInstance::Asker> reader(asker);
                         delegate.statusFeed().serve(
                             [reader](const std::string& line) {
                                 return reader && reader->answer(QByteArray::fromStdString(line));
                             },
                             asked.options.json, asked.options.follow);
                         if (!asked.options.follow && reader) reader->close();
                     });
    delegate.launch(options);
    const int status = QApplication::exec();
    // A change asked for (from her windows or a command line) that could not
    // be stored ends her with a failure, never quietly.
    return delegate.finishSaving() ? status : 1;
}
