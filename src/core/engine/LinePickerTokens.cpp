// Expanding the braced cue tokens: "{surprise}", "{app:Xcode}", "{countdown:ID}", ...
#include <algorithm>
#include <vector>

#include "core/content/Placeholders.h"
#include "core/engine/LinePicker.h"

namespace pelliwig {

namespace {

constexpr double kTaughtLineOdds = 0.3;

struct Token {
    std::string name;
    std::optional<std::string> argument;
};

// "{name}" or "{name:argument}", split at the first colon only (the argument
// may hold more colons); empty pieces are dropped, so "{:x}" names "x".
std::optional<Token> parseToken(const std::string& line) {
    if (line.size() < 2 || line.front() != '{' || line.back() != '}') return std::nullopt;
    const std::string inner = line.substr(1, line.size() - 2);
    std::vector<std::string> pieces;
    const auto colon = inner.find(':');
    if (colon == std::string::npos) {
        pieces.push_back(inner);
    } else {
        pieces.push_back(inner.substr(0, colon));
        pieces.push_back(inner.substr(colon + 1));
    }
    std::erase_if(pieces, [](const std::string& piece) { return piece.empty(); });
    if (pieces.empty()) return std::nullopt;
    Token token{pieces[0], std::nullopt};
    if (pieces.size() > 1) token.argument = pieces[1];
    return token;
}

}  // namespace

std::string LinePicker::resolve(const std::string& line) {
    const auto token = parseToken(line);
    if (!token) return line;
    return resolveToken(token->name, token->argument, line);
}

std::string LinePicker::resolveToken(std::string_view name,
                                     const std::optional<std::string>& argument,
                                     const std::string& line) {
    const auto& t = LineBank::tables();
    if (name == "surprise") return surpriseLine();
    if (name == "friday") return pick(t.fridayEvening, "friday");
    if (name == "deadline") {
        return fillPlaceholders(pick(t.deadlineSupport, "deadline"), {{"label", bigDayLabel()}});
    }
    if (name == "bigday") {
        return fillPlaceholders(pick(t.bigDayDone, "bigday"), {{"label", bigDayLabel()}});
    }
    if (name == "report") return report_.reportLine();
    if (name == "app") return appTimeLine(argument);
    if (name == "date") {
        return fillPlaceholders(pick(t.specialDate, "date"), {{"label", argument.value_or("")}});
    }
    if (name == "countdown" && argument) {
        if (auto filled = countdownLine(*argument)) return *filled;
    }
    return line;
}

std::string LinePicker::surpriseLine() {
    std::vector<const TaughtLine*> taught;
    const auto all = prefs_.taughtLines.get();
    for (const auto& entry : all) {
        if (!entry.text.empty()) taught.push_back(&entry);
    }
    if (!taught.empty() && random_.uniform() < kTaughtLineOdds) {
        return taught[random_.index(taught.size())]->text;
    }
    return pick(LineBank::tables().surprise, "surprise");
}

std::string LinePicker::bigDayLabel() const {
    std::string label = prefs_.bigDayLabel.get();
    if (!label.empty()) return label;
    return language() == Language::hinglish ? "Bada din" : "The big day";
}

std::string LinePicker::appTimeLine(const std::optional<std::string>& appName) {
    const std::string name = appName.value_or("that app");
    const auto& byCategory = LineBank::tables().appTimeByCategory;
    auto table = byCategory.find(appCategoryOf(appBucketOf(name)));
    if (table == byCategory.end()) table = byCategory.find(LineBank::AppCategory::other);
    const std::string sentence =
        table == byCategory.end() ? pick({}, "app") : pick(table->second, "app");
    return fillPlaceholders(sentence, {{"app", name}});
}

std::optional<std::string> LinePicker::countdownLine(const std::string& id) {
    const auto countdowns = prefs_.countdowns.get();
    const auto found = std::find_if(countdowns.begin(), countdowns.end(),
                                    [&](const Countdown& c) { return c.id.text() == id; });
    if (found == countdowns.end()) return std::nullopt;
    const int days = clock_.daysUntil(found->date, clock_.now());
    const auto& t = LineBank::tables();
    const auto& table = days == 1   ? t.countdownTomorrow
                        : days == 0 ? t.countdownToday
                                    : t.countdown;
    return fillPlaceholders(pick(table, "countdown"),
                            {{"label", found->label}, {"n", std::to_string(days)}});
}

}  // namespace pelliwig
