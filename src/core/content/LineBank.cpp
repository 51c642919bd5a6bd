#include "core/content/LineBank.h"

#include "core/content/lines/LineData.h"

namespace pelliwig {

namespace {

const LineBank::Sentences* nonEmpty(const LineBank::LanguageTable& table, Language language) {
    const auto it = table.find(language);
    return it != table.end() && !it->second.empty() ? &it->second : nullptr;
}

const LineBank::Sentences* regularLines(const LineBank::Tables& tables, ReminderKind kind,
                                        Language language) {
    if (language == Language::hinglish) {
        const auto it = tables.hinglish.find(kind);
        if (it != tables.hinglish.end() && !it->second.empty()) return &it->second;
    }
    const auto it = tables.english.find(kind);
    return it != tables.english.end() && !it->second.empty() ? &it->second : nullptr;
}

std::string inLanguage(Language language, const char* english, const char* hinglish) {
    return language == Language::hinglish ? hinglish : english;
}

}  // namespace

const LineBank::Tables& LineBank::tables() {
    static const Tables built = [] {
        Tables t;
        lines::addRegularLines(t);
        lines::addReplyLines(t);
        lines::addHerWorldLines(t);
        lines::addAppLines(t);
        return t;
    }();
    return built;
}

std::size_t LineBank::choose(std::size_t count, const std::string& key) {
    std::size_t i = random_.index(count);
    const auto last = lastIndex_.find(key);
    if (last != lastIndex_.end() && last->second == i) i = (i + 1) % count;
    lastIndex_[key] = i;
    return i;
}

std::string LineBank::pick(const LanguageTable& table, Language language, std::string_view key) {
    // An empty list is treated like a missing one: drawing from it is impossible.
    const Sentences* list = nonEmpty(table, language);
    if (list == nullptr) list = nonEmpty(table, Language::english);
    if (list == nullptr) return "…";
    if (list->size() == 1) return list->front();
    return (*list)[choose(list->size(), std::string(key))];
}

std::string LineBank::next(ReminderKind kind, Language language) {
    const Sentences* list = regularLines(tables(), kind, language);
    if (list == nullptr) return "Hey. Don't forget.";
    if (list->size() == 1) return list->front();
    const std::string key = rawString(kind) + "|" + rawString(language);
    return (*list)[choose(list->size(), key)];
}

std::string LineBank::reaction(Answer::Tone tone, Language language, int snoozeStreak) {
    const Tables& t = tables();
    switch (tone) {
        case Answer::Tone::good:
            return pick(t.reactions, language, "reaction");
        case Answer::Tone::bad:
            return pick(t.comfort, language, "comfort");
        case Answer::Tone::snooze:
            // Both snooze tables share one memory on purpose.
            return pick(snoozeStreak >= 2 ? t.snoozedAgain : t.snoozed, language, "snoozed");
        case Answer::Tone::apology:
            return pick(t.melt, language, "melt");
    }
    return "…";
}

std::string LineBank::ackLabel(ReminderKind kind, Language language) const {
    const auto& labels =
        language == Language::hinglish ? tables().ackHinglish : tables().ackEnglish;
    const auto it = labels.find(kind);
    if (it != labels.end()) return it->second;
    return inLanguage(language, "Okay 😘", "Theek hai 😘");
}

std::vector<Answer> LineBank::answers(const Moment& moment, Language language) const {
    using Tone = Answer::Tone;
    switch (moment.style) {
        case MomentStyle::sticky:
            return {{ackLabel(moment.kind, language), Tone::good}};
        case MomentStyle::cold:
            return {{"Sorry, baby 🥺", Tone::apology}};
        case MomentStyle::reaction:
        case MomentStyle::peek:
            return {};
        case MomentStyle::normal:
            break;
    }
    if (!asksForAnswer(moment.kind)) return {};
    if (moment.kind == ReminderKind::call) {
        return {{inLanguage(language, "Good, actually 😌", "Achha hai 😌"), Tone::good},
                {inLanguage(language, "Long day 🫠", "Thak gaya 🫠"), Tone::bad}};
    }
    return {{ackLabel(moment.kind, language), Tone::good},
            {inLanguage(language, "In 10 min", "10 min baad"), Tone::snooze}};
}

}  // namespace pelliwig
