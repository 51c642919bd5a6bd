#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelliwig {

// A record identity: a random (version 4) UUID, held and compared as its
// standard upper-case text, e.g. "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
class Uuid {
public:
    static Uuid random();
    // Accepts either letter case; nullopt when the text is not a UUID.
    static std::optional<Uuid> parse(std::string_view text);

    const std::string& text() const { return text_; }
    bool operator==(const Uuid&) const = default;
    auto operator<=>(const Uuid&) const = default;

private:
    explicit Uuid(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace pelliwig
