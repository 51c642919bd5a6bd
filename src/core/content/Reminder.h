#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/support/Enum.h"

namespace pelliwig {

// Every kind of nudge. The raw value (the case name) and the order of cases
// are stored, so neither may change.
enum class ReminderKind {
    battery,
    charger,
    bedtime,
    breaks,
    water,
    meal,
    call,
    focus,
    morning,
    calendar,
    appTime,
    birthday,
    anniversary,
    custom,
    surprise,
    meeting,
    report,
    countdown,
    date,
    deadline,
    hover,
    photo,
    appSwitch,
};

template <>
struct EnumTraits<ReminderKind> {
    static constexpr std::array<std::string_view, 23> names{
        "battery",     "charger",  "bedtime",  "breaks",   "water",    "meal",
        "call",        "focus",    "morning",  "calendar", "appTime",  "birthday",
        "anniversary", "custom",   "surprise", "meeting",  "report",   "countdown",
        "date",        "deadline", "hover",    "photo",    "appSwitch"};
};

// How a moment is shown.
enum class MomentStyle { normal, reaction, sticky, peek, cold };

template <>
struct EnumTraits<MomentStyle> {
    static constexpr std::array<std::string_view, 5> names{"normal", "reaction", "sticky", "peek",
                                                           "cold"};
};

// One image per mood on the mood sheet, in this order.
enum class Mood { happy, smug, annoyed, pouty, sleepy, proud, shocked, love };

template <>
struct EnumTraits<Mood> {
    static constexpr std::array<std::string_view, 8> names{"happy",  "smug",  "annoyed", "pouty",
                                                           "sleepy", "proud", "shocked", "love"};
};

// One image per pose on the pose sheet, in this order.
enum class Pose { lookRight, lookLeft, lookDown, sleeping, yawn, nails, bored, cold };

template <>
struct EnumTraits<Pose> {
    static constexpr std::array<std::string_view, 8> names{
        "lookRight", "lookLeft", "lookDown", "sleeping", "yawn", "nails", "bored", "cold"};
};

// Her face: a mood or a pose.
struct Face {
    std::variant<Mood, Pose> value;

    static Face mood(Mood m) { return Face{m}; }
    static Face pose(Pose p) { return Face{p}; }
    bool isMood() const { return std::holds_alternative<Mood>(value); }
    bool operator==(const Face&) const = default;
};

// "mood:happy" or "pose:lookDown".
std::string describe(const Face& face);

// A reply button. The engine reacts to the tone, never to the label.
struct Answer {
    enum class Tone { good, bad, snooze, apology };

    std::string label;
    Tone tone = Tone::good;

    bool operator==(const Answer&) const = default;
};

template <>
struct EnumTraits<Answer::Tone> {
    static constexpr std::array<std::string_view, 4> names{"good", "bad", "snooze", "apology"};
};

// A candidate nudge produced by a rule for one tick.
struct Cue {
    ReminderKind kind;
    std::optional<std::string> onceKey;  // shown at most once per key
    std::optional<std::string> line;     // shown instead of a picked line
    MomentStyle style = MomentStyle::normal;
    std::optional<Face> face;
    std::optional<std::string> image;  // path of a picture for the bubble

    bool operator==(const Cue&) const = default;
};

// What she shows.
struct Moment {
    ReminderKind kind;
    std::string line{};
    MomentStyle style = MomentStyle::normal;
    std::optional<Face> face{};
    std::optional<std::string> image{};
    bool zzz = false;

    // The face to draw: the moment's own, else love for reactions, else the
    // kind's default face.
    Face resolvedFace() const;

    bool operator==(const Moment&) const = default;
};

// The title shown in the settings list and the menu.
std::string_view title(ReminderKind kind);

// The face shown when neither the cue nor the style chooses one.
Face defaultFace(ReminderKind kind);

// Whether the kind's normal moments carry answer buttons: it asks something
// of the user, so she can sulk or be jealous about it.
bool asksForAnswer(ReminderKind kind);

// The kinds that can be previewed, in declaration order: every kind but the
// four that need a record the user entered.
const std::vector<ReminderKind>& previewKinds();

// Every kind except calendar and photo, in declaration order.
const std::vector<ReminderKind>& defaultEnabledKinds();

}  // namespace pelliwig
