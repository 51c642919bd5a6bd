#include "core/support/TimeLocale.h"

#include <cstdlib>

#include <unicode/locid.h>

namespace pelliwig {

namespace {

bool given(const char* value) {
    return value && *value;
}

// The script a glibc modifier names; empty for the others (@euro, @valencia…),
// which say nothing about weeks.
std::string_view scriptOf(std::string_view modifier) {
    if (modifier == "latin") return "Latn";
    if (modifier == "cyrillic") return "Cyrl";
    if (modifier == "devanagari") return "Deva";
    return {};
}

}  // namespace

std::string TimeLocale::posixName(const char* lcAll, const char* lcTime, const char* lang) {
    for (const char* value : {lcAll, lcTime, lang}) {
        if (given(value)) return value;
    }
    return "C";
}

std::string TimeLocale::icuId(std::string_view posix) {
    std::string_view modifier;
    if (const auto at = posix.find('@'); at != std::string_view::npos) {
        modifier = posix.substr(at + 1);
        posix = posix.substr(0, at);
    }
    posix = posix.substr(0, posix.find('.'));  // the codeset
    if (posix.empty() || posix == "C" || posix == "POSIX") return "en_US_POSIX";
    const std::string_view script = scriptOf(modifier);
    if (script.empty()) return std::string(posix);
    const auto underscore = posix.find('_');
    const std::string_view language = posix.substr(0, underscore);
    std::string id = std::string(language) + "_" + std::string(script);
    if (underscore != std::string_view::npos) id += std::string(posix.substr(underscore));
    return id;
}

std::string TimeLocale::environmentName() {
    return posixName(std::getenv("LC_ALL"), std::getenv("LC_TIME"), std::getenv("LANG"));
}

void TimeLocale::useEnvironment() {
    const std::string id = icuId(environmentName());
    const icu::Locale locale(id.c_str());
    if (locale.isBogus()) return;
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(locale, status);
}

}  // namespace pelliwig
