#pragma once

#include <string_view>

// Both come from the build: the project version and the configured address
// of the version document.
#ifndef PELLIWIG_VERSION
#define PELLIWIG_VERSION "0"
#endif
#ifndef PELLIWIG_UPDATE_URL
#define PELLIWIG_UPDATE_URL "https://pelliwig.app/version.json"
#endif

namespace pelliwig {

struct Brand {
    // The application's own version, compared with the published one.
    static constexpr std::string_view version = PELLIWIG_VERSION;
    // Where the update checker reads the latest release.
    static constexpr std::string_view versionFeed = PELLIWIG_UPDATE_URL;
};

}  // namespace pelliwig
