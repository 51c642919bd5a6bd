// Any bytes as the version document: a release comes out only with a
// version and an http(s) address, the only kind handed to the opener, and
// its version orders consistently against hers.
#include <cctype>
#include <string>

#include "FuzzSupport.h"
#include "core/engine/Release.h"
#include "core/support/VersionCompare.h"

using namespace pelliwig;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto release = decodeRelease(fuzz::text(data, size));
    if (!release) return 0;
    // Schemes are case-insensitive, so "Https://" is as good as "https://".
    std::string head = release->url.substr(0, 8);
    for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    PELLIWIG_FUZZ_EXPECT(head.starts_with("https://") || head.starts_with("http://"));
    // The published version is then ordered against her own.
    const auto order = compareVersions(release->version, "1.9.3");
    PELLIWIG_FUZZ_EXPECT(compareVersions("1.9.3", release->version) == (0 <=> order));
    return 0;
}
