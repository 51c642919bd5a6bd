#pragma once

namespace pelliwig {

// A part of every day, in minutes after local midnight: it includes `start`
// and excludes `end`.
struct DayWindow {
    int start;
    int end;

    bool contains(int minutes) const { return minutes >= start && minutes < end; }
};

// The fixed parts of her day, which the rules keep to and the settings
// window shows.
namespace DayWindows {

// 05:00–11:30: her morning hello and the countdowns. At 05:00 every night is
// over, so a bedtime after midnight ends there and "until tomorrow" too.
inline constexpr DayWindow kMorning{5 * 60, 11 * 60 + 30};
// 12:30–14:30 and 19:30–21:30: the two meals she asks about.
inline constexpr DayWindow kLunch{12 * 60 + 30, 14 * 60 + 30};
inline constexpr DayWindow kDinner{19 * 60 + 30, 21 * 60 + 30};

}  // namespace DayWindows

}  // namespace pelliwig
