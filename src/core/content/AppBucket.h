#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "core/support/Enum.h"

namespace pelliwig {

// What kind of application is in front, sorted by keywords in its name.
enum class AppBucket {
    coding,
    design,
    writing,
    mail,
    meetings,
    social,
    dating,
    video,
    games,
    shopping,
    browsing,
    other,
};

template <>
struct EnumTraits<AppBucket> {
    static constexpr std::array<std::string_view, 12> names{
        "coding", "design", "writing", "mail",     "meetings", "social",
        "dating", "video",  "games",   "shopping", "browsing", "other"};
};

std::string_view title(AppBucket bucket);

// Every bucket except browsing and other, in declaration order.
const std::vector<AppBucket>& watchedBuckets();

// The bucket of an application's display name: the first keyword (in table
// order) found anywhere in the lower-cased name; the single letter "x" is
// social; nothing found is other.
AppBucket appBucketOf(std::string_view appName);

// Work buckets: coding, design, writing, mail and meetings.
bool isWork(AppBucket bucket);

// Leisure buckets: social, dating, video, games and shopping.
bool isLeisure(AppBucket bucket);

// Social-time buckets: social, dating, video and games.
bool isSocialTime(AppBucket bucket);

}  // namespace pelliwig
