// Any bytes as a simulator script: it reads as commands in time order or
// stops with a line number, nothing else.
#include <sstream>

#include "FuzzSupport.h"
#include "SimScript.h"

using namespace pelliwig;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::fixZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const sim::SettingValues settings;
    std::istringstream in(fuzz::text(data, size));
    try {
        const auto commands = sim::parseScript(in, settings);
        for (std::size_t i = 1; i < commands.size(); ++i) {
            PELLIWIG_FUZZ_EXPECT(commands[i - 1].at <= commands[i].at);
        }
    } catch (const sim::ScriptError& e) {
        PELLIWIG_FUZZ_EXPECT(e.line >= 1);
    }
    return 0;
}
