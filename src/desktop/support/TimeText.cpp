#include "desktop/support/TimeText.h"

#include <QRegularExpression>
#include <QTime>

#include "core/support/TimeLocale.h"

namespace pelliwig {

std::string timeLocaleId() {
    std::string name = TimeLocale::environmentName();
    // "de_DE.UTF-8@euro": the codeset and modifier say nothing of times.
    for (const char mark : {'.', '@'}) {
        if (const auto at = name.find(mark); at != std::string::npos) name.resize(at);
    }
    if (name == "C" || name == "POSIX") return {};
    return name;
}

QString timeOfDayFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    // Some locales' short format still carries seconds or the zone (C's is
    // "HH:mm:ss"); a time of day here is hours and minutes.
    static const QRegularExpression seconds(QStringLiteral("[:.]?s+"));
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    format.remove(seconds).remove(zone);
    return format.trimmed();
}

QString timeOfDayText(int minutes, const QLocale& locale) {
    return locale.toString(QTime(minutes / 60 % 24, minutes % 60), timeOfDayFormat(locale));
}

}  // namespace pelliwig
