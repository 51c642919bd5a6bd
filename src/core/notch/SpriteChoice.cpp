#include "core/notch/SpriteChoice.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/support/Enum.h"

namespace pelliwig::SpriteChoice {

Cell cell(int ordinal, int sheetWidth, int sheetHeight) {
    const int column = ordinal % kColumns;
    const int row = ordinal / kColumns;
    // std::round rounds halves away from zero, as the sheets were cut.
    return {static_cast<int>(std::round(double(column) * sheetWidth / kColumns)),
            static_cast<int>(std::round(double(row) * sheetHeight / kRows)), sheetWidth / kColumns,
            sheetHeight / kRows};
}

namespace {

bool mentionsDiwali(const std::string& label) {
    std::string lower = label;
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("diwali") != std::string::npos;
}

}  // namespace

std::optional<std::string> season(MonthDay day, const std::vector<SpecialDate>& specialDates) {
    if (day.month == 12 || day.month == 1) return "winter";
    if (day.month == 2 && day.day == 14) return "valentine";
    const bool diwali = std::ranges::any_of(specialDates, [&](const SpecialDate& date) {
        return date.monthDay == day && mentionsDiwali(date.label);
    });
    if (diwali) return "diwali";
    return std::nullopt;
}

Mood fallbackMood(Pose pose) {
    switch (pose) {
        case Pose::lookRight:
        case Pose::lookLeft:
        case Pose::lookDown:
            return Mood::happy;
        case Pose::sleeping:
        case Pose::yawn:
            return Mood::sleepy;
        case Pose::nails:
            return Mood::smug;
        case Pose::bored:
        case Pose::cold:
            return Mood::annoyed;
    }
    return Mood::happy;
}

std::string moodSheet(Appearance appearance) {
    return "portraits/" + rawString(appearance) + ".png";
}

std::string seasonalMoodSheet(Appearance appearance, const std::string& season) {
    return "portraits/" + rawString(appearance) + "-" + season + ".png";
}

std::string poseSheet(Appearance appearance) {
    return "portraits/" + rawString(appearance) + "-extra.png";
}

std::string reloadKey(Appearance appearance, const std::optional<std::string>& season,
                      const std::string& dayKey) {
    return rawString(appearance) + "|" + season.value_or("-") + "|" + dayKey;
}

}  // namespace pelliwig::SpriteChoice
