#include "core/engine/Release.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace pelliwig {
namespace {

bool isAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Unreserved and reserved characters and "%": anything else (spaces, quotes,
// controls, non-ASCII) would have to be escaped first.
bool isAddressChar(char c) {
    return isAlnum(c) ||
           std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

bool hasValidEscapes(std::string_view text) {
    for (std::size_t at = text.find('%'); at != std::string_view::npos;
         at = text.find('%', at + 1)) {
        if (at + 2 >= text.size() || !isHex(text[at + 1]) || !isHex(text[at + 2])) return false;
    }
    return true;
}

bool isWebScheme(std::string_view scheme) {
    std::string lower(scheme);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower == "http" || lower == "https";
}

// userinfo@host:port, with a non-empty host and a numeric port if any.
bool hasHost(std::string_view authority) {
    const auto at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    const auto colon = authority.rfind(':');
    const auto bracket = authority.rfind(']');
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        const auto port = authority.substr(colon + 1);
        if (!std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return false;
        }
        authority = authority.substr(0, colon);
    }
    return !authority.empty();
}

bool isWebAddress(std::string_view url) {
    if (!std::all_of(url.begin(), url.end(), isAddressChar) || !hasValidEscapes(url)) return false;
    const auto separator = url.find("://");
    if (separator == std::string_view::npos || !isWebScheme(url.substr(0, separator))) return false;
    const auto rest = url.substr(separator + 3);
    return hasHost(rest.substr(0, rest.find_first_of("/?#")));
}

std::optional<std::string> textAt(const nlohmann::json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

// Absent and null both mean no notes; any other type spoils the document.
bool readNotes(const nlohmann::json& object, std::optional<std::string>& notes) {
    const auto it = object.find("notes");
    if (it == object.end() || it->is_null()) return true;
    if (!it->is_string()) return false;
    notes = it->get<std::string>();
    return true;
}

}  // namespace

std::optional<Release> decodeRelease(std::string_view document) {
    const auto json = nlohmann::json::parse(document, nullptr, false);
    if (!json.is_object()) return std::nullopt;
    auto version = textAt(json, "version");
    auto url = textAt(json, "url");
    if (!version || !url || !isWebAddress(*url)) return std::nullopt;
    Release release{std::move(*version), std::move(*url), std::nullopt};
    if (!readNotes(json, release.notes)) return std::nullopt;
    return release;
}

}  // namespace pelliwig
