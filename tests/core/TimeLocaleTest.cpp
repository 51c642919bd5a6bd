#include "core/support/TimeLocale.h"

#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/support/Clock.h"
#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using testing::utc;

// Sets the locale variables for one case and puts them back after.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* lcAll, const char* lcTime, const char* lang) {
        for (int i = 0; i < 3; ++i) {
            const char* now = std::getenv(kNames[i]);
            if (now) saved_[i] = now;
            const char* value = i == 0 ? lcAll : i == 1 ? lcTime : lang;
            if (value) {
                ::setenv(kNames[i], value, 1);
            } else {
                ::unsetenv(kNames[i]);
            }
        }
    }
    ~LocaleEnvironment() {
        for (int i = 0; i < 3; ++i) {
            if (saved_[i]) {
                ::setenv(kNames[i], saved_[i]->c_str(), 1);
            } else {
                ::unsetenv(kNames[i]);
            }
        }
    }

private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_TIME", "LANG"};
    std::optional<std::string> saved_[3];
};

// Weeks follow the locale of dates: LC_ALL over LC_TIME over LANG, whatever
// language the texts are in (LC_MESSAGES is never asked).
TEST(TimeLocaleTest, WeeksFollowTheLocaleOfDates) {
    const Instant newYear2021 = utc(2021, 1, 1, 12, 0);  // a Friday
    const struct {
        const char* lcAll;
        const char* lcTime;
        const char* lang;
        const char* icuId;
        const char* weekKey;
    } cases[] = {
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", "de_DE",
         "2020-W53"},                                             // English texts, German dates
        {"", "de_DE.UTF-8", "en_US.UTF-8", "de_DE", "2020-W53"},  // empty counts as unset
        {"en_US.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", "en_US", "2021-W1"},
        {nullptr, nullptr, "en_GB.UTF-8", "en_GB", "2020-W53"},
        {nullptr, "", "en_US.UTF-8", "en_US", "2021-W1"},
        {nullptr, nullptr, nullptr, "en_US_POSIX", "2021-W1"},
        {nullptr, "C.UTF-8", "de_DE.UTF-8", "en_US_POSIX", "2021-W1"},
        {nullptr, "sr_RS.UTF-8@latin", nullptr, "sr_Latn_RS", "2021-W1"},
        {nullptr, "de_DE.ISO-8859-15@euro", nullptr, "de_DE", "2020-W53"},
    };
    VirtualScheduler scheduler;
    const Clock clock{scheduler};
    for (const auto& c : cases) {
        testing::ZoneAndLocale zone{"Europe/Berlin", "en_US"};
        const LocaleEnvironment environment(c.lcAll, c.lcTime, c.lang);
        const std::string posix = TimeLocale::posixName(c.lcAll, c.lcTime, c.lang);
        EXPECT_EQ(TimeLocale::icuId(posix), c.icuId) << posix;
        TimeLocale::useEnvironment();
        EXPECT_EQ(clock.weekKey(newYear2021), c.weekKey) << posix;
    }
}

}  // namespace
}  // namespace pelliwig
