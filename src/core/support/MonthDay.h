#pragma once

namespace pelliwig {

// A day of the year without a year: month 1 to 12, day 1 to 31.
struct MonthDay {
    int month = 1;
    int day = 1;

    bool operator==(const MonthDay&) const = default;
};

}  // namespace pelliwig
