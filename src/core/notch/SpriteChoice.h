#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/content/Appearance.h"
#include "core/content/Reminder.h"
#include "core/settings/UserRecords.h"
#include "core/support/MonthDay.h"

namespace pelliwig {

// Which sheet and which cell of it show a face: the part of sprite loading
// that needs no image library.
namespace SpriteChoice {

inline constexpr int kColumns = 4;
inline constexpr int kRows = 2;

// A cell of a sheet in pixels, row 0 at the top.
struct Cell {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Cell&) const = default;
};

// The cell of the item with the given ordinal. Cells are all the same size
// (the sheet's size divided down), but their origins are rounded from the
// exact fractions, so on an odd-sized sheet the gaps fall between cells.
Cell cell(int ordinal, int sheetWidth, int sheetHeight);

// "winter" in December and January, "valentine" on 14 February, "diwali" on
// the day of a special date whose label mentions Diwali; otherwise none.
std::optional<std::string> season(MonthDay day, const std::vector<SpecialDate>& specialDates);

// The mood drawn when a pose has no picture of its own.
Mood fallbackMood(Pose pose);

// Resource names of the sheets.
std::string moodSheet(Appearance appearance);
std::string seasonalMoodSheet(Appearance appearance, const std::string& season);
std::string poseSheet(Appearance appearance);

// Names the loaded set of sheets: it changes with the appearance, the season
// and the day, and only then are the sheets decoded again.
std::string reloadKey(Appearance appearance, const std::optional<std::string>& season,
                      const std::string& dayKey);

}  // namespace SpriteChoice

}  // namespace pelliwig
