#pragma once

#include <string>

#include <QLocale>
#include <QString>

namespace pelliwig {

// Times of day as the desktop writes them: the locale for times is LC_ALL,
// else LC_TIME, else LANG, the order Qt reads them in for its own time
// formats. The menu and the time fields both write through here, so they
// agree.

// That locale as an ICU locale ID ("de_DE"); empty when none is set or it
// is C or POSIX.
std::string timeLocaleId();

// The locale's short time format without seconds or zone: "HH:mm" in
// Germany, "h:mm AP" in the United States.
QString timeOfDayFormat(const QLocale& locale = QLocale());

// Minutes after midnight in that format.
QString timeOfDayText(int minutes, const QLocale& locale = QLocale());

}  // namespace pelliwig
