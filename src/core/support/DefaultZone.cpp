#include "core/support/DefaultZone.h"

#include <cstdlib>
#include <memory>
#include <system_error>

#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace pelliwig {

namespace fs = std::filesystem;

namespace {

icu::UnicodeString unicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

// A zone of ICU's own list; fixed-offset stand-ins ICU makes up for names it
// does not know are not.
bool isSystemZone(const icu::TimeZone& zone) {
    icu::UnicodeString id, canonical;
    zone.getID(id);
    UBool system = false;
    UErrorCode status = U_ZERO_ERROR;
    icu::TimeZone::getCanonicalID(id, canonical, system, status);
    return U_SUCCESS(status) && system;
}

// Adopts the zone unless it is the one in use already; true when it was not.
bool adopt(std::unique_ptr<icu::TimeZone> zone) {
    const std::unique_ptr<icu::TimeZone> current(icu::TimeZone::createDefault());
    if (current && *current == *zone) return false;
    icu::TimeZone::adoptDefault(zone.release());
    return true;
}

std::unique_ptr<icu::TimeZone> zoneNamed(std::string_view name) {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicode(name)));
    if (!zone || !isSystemZone(*zone)) return nullptr;
    return zone;
}

std::string_view withoutPrefix(std::string_view name) {
    for (std::string_view prefix : {"posix/", "right/"}) {
        if (name.starts_with(prefix)) return name.substr(prefix.size());
    }
    return name;
}

// The zone a link such as /etc/localtime points at, read through each link on
// the way; nothing when it leads into no zone file (a copied file, say).
std::optional<std::string> zoneOfLink(const fs::path& link) {
    fs::path at = link;
    for (int hops = 0; hops < 8; ++hops) {
        if (auto name = DefaultZone::nameOfZoneFile(at)) return name;
        std::error_code error;
        if (!fs::is_symlink(at, error)) return std::nullopt;
        const fs::path target = fs::read_symlink(at, error);
        if (error) return std::nullopt;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return std::nullopt;
}

// The zone $TZ names, as the C library reads it; nothing for a rule text
// ("CET-1CEST") or a name no zone has.
std::optional<std::string> zoneOfTz(std::string_view tz) {
    if (tz.empty()) return "Etc/UTC";
    if (tz.front() == ':') tz.remove_prefix(1);
    const fs::path path{std::string(tz)};
    if (path.is_absolute()) return zoneOfLink(path);  // ":/etc/localtime" too
    return std::string(withoutPrefix(tz));
}

}  // namespace

std::optional<std::string> DefaultZone::nameOfZoneFile(const fs::path& file) {
    const std::string text = file.lexically_normal().string();
    const auto at = text.rfind("/zoneinfo/");
    if (at == std::string::npos) return std::nullopt;
    const std::string_view name = withoutPrefix(std::string_view(text).substr(at + 10));
    if (name.empty()) return std::nullopt;
    return std::string(name);
}

bool DefaultZone::followSystem() {
    return followSystem(std::getenv("TZ"), kLocaltime);
}

bool DefaultZone::followSystem(const char* tz, const fs::path& localtime) {
    // A link missing for a moment (`ln -sf` removes it first) is no news.
    std::error_code error;
    if (!tz && !fs::exists(localtime, error)) return false;
    const auto name = tz ? zoneOfTz(tz) : zoneOfLink(localtime);
    auto zone = name ? zoneNamed(*name) : nullptr;
    if (!zone) {
        // What ICU makes of it (a copied /etc/localtime it matches to a zone
        // file), if that is a real zone.
        zone.reset(icu::TimeZone::detectHostTimeZone());
        if (!zone || !isSystemZone(*zone)) return false;
    }
    return adopt(std::move(zone));
}

bool DefaultZone::use(std::string_view name) {
    auto zone = zoneNamed(name);
    if (!zone) return false;
    adopt(std::move(zone));
    return true;
}

std::string DefaultZone::name() {
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    if (!zone) return {};
    icu::UnicodeString id;
    zone->getID(id);
    std::string text;
    id.toUTF8String(text);
    return text;
}

}  // namespace pelliwig
