#pragma once

#include <string>
#include <string_view>

namespace pelliwig {

// The locale whose week rules her calendar follows. Dates and weeks are the
// business of LC_TIME, which many people set apart from the language of their
// texts (English texts, German weeks); ICU left to itself would take
// LC_MESSAGES.
class TimeLocale {
public:
    // The POSIX locale of dates: the first of $LC_ALL, $LC_TIME and $LANG
    // that is set and not empty, else "C". Null stands for unset.
    static std::string posixName(const char* lcAll, const char* lcTime, const char* lang);
    // That name from this process's environment.
    static std::string environmentName();
    // ICU's id of a POSIX locale name: "de_DE.UTF-8" is "de_DE",
    // "sr_RS@latin" is "sr_Latn_RS", "C" and "POSIX" are "en_US_POSIX".
    static std::string icuId(std::string_view posix);
    // Makes the environment's date locale ICU's default.
    static void useEnvironment();
};

}  // namespace pelliwig
