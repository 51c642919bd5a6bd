#include "core/content/AppBucket.h"

#include <string>
#include <utility>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace pelliwig {

namespace {

struct BucketInfo {
    std::string_view title;
    bool work;        // time spent working
    bool leisure;     // time she may tease about
    bool socialTime;  // counted as the day's social time
};

// Indexed by AppBucket.
constexpr std::array<BucketInfo, 12> kBuckets{{
    {"Coding", true, false, false},
    {"Design", true, false, false},
    {"Writing & docs", true, false, false},
    {"Mail & Slack", true, false, false},
    {"Calls", true, false, false},
    {"Social", false, true, true},
    {"Dating apps", false, true, true},
    {"Video & streaming", false, true, true},
    {"Games", false, true, true},
    {"Shopping & delivery", false, true, false},
    {"Browser", false, false, false},
    {"Everything else", false, false, false},
}};

const BucketInfo& info(AppBucket bucket) {
    return kBuckets[static_cast<std::size_t>(bucket)];
}

using Keywords = std::vector<std::string_view>;

// Matching order matters: dating is tried before social, and so on.
const std::vector<std::pair<AppBucket, Keywords>>& keywordTable() {
    static const std::vector<std::pair<AppBucket, Keywords>> table{
        {AppBucket::coding,
         {"xcode",  "visual studio", "code",    "cursor",   "android studio", "terminal",
          "iterm",  "warp",          "ghostty", "intellij", "pycharm",        "webstorm",
          "zed",    "sublime",       "nova",    "github",   "tower",          "fork",
          "docker", "postman",       "windsurf"}},
        {AppBucket::design,
         {"figma", "sketch", "photoshop", "illustrator", "affinity", "canva", "blender", "framer",
          "pixelmator", "procreate", "lightroom", "final cut", "davinci", "premiere",
          "after effects", "capcut"}},
        {AppBucket::writing,
         {"notion",  "obsidian", "pages",    "word",   "docs",      "bear",    "ulysses",
          "craft",   "notes",    "textedit", "typora", "ia writer", "keynote", "powerpoint",
          "numbers", "excel",    "sheets",   "linear", "todoist",   "things"}},
        {AppBucket::mail,
         {"mail", "outlook", "gmail", "spark", "slack", "superhuman", "hey", "airmail"}},
        {AppBucket::meetings, {"zoom", "teams", "meet", "webex", "facetime", "around", "whereby"}},
        {AppBucket::dating, {"tinder", "bumble", "hinge", "aisle", "okcupid", "grindr", "badoo"}},
        {AppBucket::social,
         {"instagram", "whatsapp", "telegram", "twitter", "reddit", "tiktok", "snapchat",
          "messages", "threads", "facebook", "discord", "pinterest", "linkedin", "bluesky"}},
        {AppBucket::video,
         {"youtube", "netflix", "prime video", "hotstar", "jiocinema", "disney", "twitch", "vlc",
          "iina", "apple tv", "crunchyroll", "hulu", "mx player", "sony liv", "zee5"}},
        {AppBucket::games,
         {"steam", "epic", "minecraft", "valorant", "league", "chess", "roblox", "fortnite",
          "genshin", "bgmi", "call of duty", "gta", "ludo", "battle.net", "riot"}},
        {AppBucket::shopping,
         {"amazon", "flipkart", "myntra", "zepto", "blinkit", "swiggy", "zomato", "ebay",
          "aliexpress", "ajio", "nykaa", "meesho", "instamart"}},
        {AppBucket::browsing,
         {"safari", "chrome", "arc", "firefox", "brave", "edge", "orion", "dia", "opera",
          "vivaldi"}},
    };
    return table;
}

// Full Unicode lower-casing (root locale, so a Turkish user's "I" still
// matches), not byte-wise tolower.
std::string lowerCased(std::string_view text) {
    auto unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    unicode.toLower(icu::Locale::getRoot());
    std::string out;
    unicode.toUTF8String(out);
    return out;
}

}  // namespace

std::string_view title(AppBucket bucket) {
    return info(bucket).title;
}

const std::vector<AppBucket>& watchedBuckets() {
    static const std::vector<AppBucket> buckets = [] {
        std::vector<AppBucket> all;
        for (auto bucket : allCases<AppBucket>()) {
            if (bucket != AppBucket::browsing && bucket != AppBucket::other) all.push_back(bucket);
        }
        return all;
    }();
    return buckets;
}

AppBucket appBucketOf(std::string_view appName) {
    const std::string name = lowerCased(appName);
    if (name == "x") return AppBucket::social;
    for (const auto& [bucket, keywords] : keywordTable()) {
        for (const auto keyword : keywords) {
            if (name.find(keyword) != std::string::npos) return bucket;
        }
    }
    return AppBucket::other;
}

bool isWork(AppBucket bucket) {
    return info(bucket).work;
}

bool isLeisure(AppBucket bucket) {
    return info(bucket).leisure;
}

bool isSocialTime(AppBucket bucket) {
    return info(bucket).socialTime;
}

}  // namespace pelliwig
