#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/content/AppBucket.h"
#include "core/content/Language.h"
#include "core/content/Reminder.h"
#include "core/platform/Random.h"
#include "core/support/Enum.h"

namespace pelliwig {

// Every sentence she can say, in both languages, and the no-repeat choice
// among them. Which table serves which situation is the caller's business;
// placeholders such as "{app}" are left for the caller to fill.
class LineBank {
public:
    // What the app-time lines talk about.
    enum class AppCategory { social, work, browsing, other };

    using Sentences = std::vector<std::string>;
    // Sentences by language. The bank's own tables always have both.
    using LanguageTable = std::map<Language, Sentences>;
    template <typename Key>
    using KeyedTable = std::map<Key, LanguageTable>;

    struct Tables {
        // The regular line of each kind, one map per language.
        std::map<ReminderKind, Sentences> english;
        std::map<ReminderKind, Sentences> hinglish;

        // Replies to answers.
        LanguageTable reactions, comfort, snoozed, snoozedAgain, melt;

        // When she is ignored, sulking or cold.
        KeyedTable<ReminderKind> ignored;
        LanguageTable ignoredGeneric, grumpyBedtime, coldMorning, coldHover;

        // Her own moments.
        LanguageTable surprise, hover, photo, mondayMorning, weekendMorning, fridayEvening;
        LanguageTable bedtimeStreak, waterStreak, meetingAfter;

        // The Sunday scorecard.
        LanguageTable report, reportGood, reportMeh, reportBad, reportApps;

        // Dates, countdowns and the big day.
        KeyedTable<AppCategory> appTimeByCategory;
        LanguageTable deadlineSupport, bigDayDone, countdownToday, countdownTomorrow, countdown;
        LanguageTable specialDate;

        // Savage variants of regular lines.
        KeyedTable<ReminderKind> roast;

        // Comments on the app in front.
        KeyedTable<AppBucket> appSwitch, appRoast;
        LanguageTable appProud, appEarnedBreak, appLateNight, jealousOpen;

        // Label of the acknowledging answer button, per kind.
        std::map<ReminderKind, std::string> ackEnglish, ackHinglish;
    };

    // The fixed tables, built on first use.
    static const Tables& tables();

    explicit LineBank(Random& random) : random_(random) {}

    // One sentence of the language's list (English when the language is
    // missing, "…" when both are), never the one last returned for `key`.
    std::string pick(const LanguageTable& table, Language language, std::string_view key);

    // The regular line of a kind; "Hey. Don't forget." when it has none.
    std::string next(ReminderKind kind, Language language);

    // Her reply to an answer of the given tone.
    std::string reaction(Answer::Tone tone, Language language, int snoozeStreak);

    std::string ackLabel(ReminderKind kind, Language language) const;

    // The buttons offered with a moment, acknowledgement first.
    std::vector<Answer> answers(const Moment& moment, Language language) const;

private:
    std::size_t choose(std::size_t count, const std::string& key);

    Random& random_;
    std::map<std::string, std::size_t, std::less<>> lastIndex_;
};

template <>
struct EnumTraits<LineBank::AppCategory> {
    static constexpr std::array<std::string_view, 4> names{"social", "work", "browsing", "other"};
};

}  // namespace pelliwig
