#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/support/Enum.h"
#include "core/support/Instant.h"
#include "core/support/Json.h"
#include "core/support/MonthDay.h"
#include "core/support/Uuid.h"

namespace pelliwig {

// The dates and words the user gives her. Each record is stored as a JSON
// object whose members are its fields, in field order; every member is
// required when reading.

// A reminder of the user's own, due daily at `minutes` after midnight.
struct CustomReminder {
    Uuid id = Uuid::random();
    std::string text;
    int minutes = 720;
    bool enabled = true;

    bool operator==(const CustomReminder&) const = default;
};

// A dated event she counts down to.
struct Countdown {
    Uuid id = Uuid::random();
    std::string label;
    Instant date = 0;

    // A new countdown: one week after `now`.
    static Countdown startingAt(Instant now);
    bool operator==(const Countdown&) const = default;
};

// A date remembered every year.
struct SpecialDate {
    Uuid id = Uuid::random();
    std::string label;
    MonthDay monthDay;

    bool operator==(const SpecialDate&) const = default;
};

// A line the user taught her.
struct TaughtLine {
    Uuid id = Uuid::random();
    std::string text;

    bool operator==(const TaughtLine&) const = default;
};

// How hard her app comments go.
enum class RoastLevel { off, playful, savage };

template <>
struct EnumTraits<RoastLevel> {
    static constexpr std::array<std::string_view, 3> names{"off", "playful", "savage"};
};

std::string_view title(RoastLevel level);
std::string_view description(RoastLevel level);

template <>
struct Codec<Uuid> {
    static OrderedJson encode(const Uuid& id) { return id.text(); }
    static Uuid decode(const Json& j);
};

template <>
struct Codec<MonthDay> {
    static OrderedJson encode(const MonthDay& v);
    static MonthDay decode(const Json& j);
};

template <>
struct Codec<CustomReminder> {
    static OrderedJson encode(const CustomReminder& v);
    static CustomReminder decode(const Json& j);
};

template <>
struct Codec<Countdown> {
    static OrderedJson encode(const Countdown& v);
    static Countdown decode(const Json& j);
};

template <>
struct Codec<SpecialDate> {
    static OrderedJson encode(const SpecialDate& v);
    static SpecialDate decode(const Json& j);
};

template <>
struct Codec<TaughtLine> {
    static OrderedJson encode(const TaughtLine& v);
    static TaughtLine decode(const Json& j);
};

}  // namespace pelliwig
