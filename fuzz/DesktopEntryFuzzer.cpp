// Any bytes as an installed application's desktop entry: the index is built
// from it and answers a lookup without crashing.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "linux/xdg/DesktopEntryIndex.h"

using namespace pelliwig;
namespace fs = std::filesystem;

namespace {

// Made once and never freed, so that it is still there when the exit
// handler removes the folder.
const fs::path& folder() {
    static const fs::path* path = [] {
        auto* p = new fs::path(fs::temp_directory_path() /
                               ("pelliwig-fuzz-desktop-" + std::to_string(::getpid())));
        fs::create_directories(*p);
        std::atexit([] { fs::remove_all(folder()); });
        return p;
    }();
    return *path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(folder() / "fuzzed.desktop", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    DesktopEntryIndex index({folder()});
    (void)index.nameFor("fuzzed", "Fuzzed");
    (void)index.nameFor("Navigator", "firefox");
    return 0;
}
