#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelliwig {

// A published release, as the version document describes it.
struct Release {
    std::string version;
    std::string url;  // an absolute http or https address
    std::optional<std::string> notes;

    bool operator==(const Release&) const = default;
};

// The release in a version document, or nothing when the document is not a
// JSON object with "version" text and a "url" that is an absolute http(s)
// address. "notes" may be absent or null, but not of another type; other keys
// are ignored. The address is handed to the system's opener, so no other
// scheme gets through.
std::optional<Release> decodeRelease(std::string_view document);

}  // namespace pelliwig
