#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelliwig {

// ICU's default time zone, which every Clock reads. ICU looks at the system's
// zone once per process and keeps it, so a change made while she runs (travel,
// `timedatectl set-timezone`, the desktop's automatic zone) reaches her only
// through followSystem(), which the platform calls when it hears of one.
class DefaultZone {
public:
    static constexpr const char* kLocaltime = "/etc/localtime";

    // Reads the system's zone again and makes it the default, as the C
    // library does: $TZ when it is set ("" is UTC; a ":" in front, a path
    // into the zone files and "posix/" are understood), else the zone file
    // /etc/localtime links to. A zone that cannot be made out keeps the one
    // in use. True when the default changed.
    static bool followSystem();
    // The same with $TZ (null: unset) and the local-time link given.
    static bool followSystem(const char* tz, const std::filesystem::path& localtime);

    // Makes the zone of that name the default; false, changing nothing, for
    // a name ICU does not know.
    static bool use(std::string_view name);
    // The default zone's name, "Europe/Berlin".
    static std::string name();

    // The zone name a path into the zone files stands for:
    // ".../zoneinfo/posix/Europe/Paris" is "Europe/Paris".
    static std::optional<std::string> nameOfZoneFile(const std::filesystem::path& file);
};

}  // namespace pelliwig
