#include "core/support/Json.h"

#include <cmath>
#include <limits>

namespace pelliwig::json {

int requireInt(const Json& j) {
    // Above the largest signed 64-bit number the parser keeps an unsigned one,
    // which read as signed would wrap (18446744073709551615 would be -1).
    if (j.is_number_unsigned()) {
        if (j.get<unsigned long long>() >
            static_cast<unsigned long long>(std::numeric_limits<int>::max())) {
            throw DecodeError("integer out of range");
        }
        return static_cast<int>(j.get<unsigned long long>());
    }
    if (j.is_number_integer()) {
        const auto value = j.get<long long>();
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
            throw DecodeError("integer out of range");
        }
        return static_cast<int>(value);
    }
    if (j.is_number_float()) {
        const double value = j.get<double>();
        if (std::trunc(value) == value && value >= std::numeric_limits<int>::min() &&
            value <= std::numeric_limits<int>::max()) {
            return static_cast<int>(value);
        }
    }
    throw DecodeError("expected an integer");
}

double requireDouble(const Json& j) {
    if (!j.is_number()) throw DecodeError("expected a number");
    return j.get<double>();
}

bool requireBool(const Json& j) {
    if (!j.is_boolean()) throw DecodeError("expected a flag");
    return j.get<bool>();
}

std::string requireString(const Json& j) {
    if (!j.is_string()) throw DecodeError("expected a string");
    return j.get<std::string>();
}

const Json& requireMember(const Json& object, const char* name) {
    if (!object.is_object()) throw DecodeError("expected an object");
    const auto it = object.find(name);
    if (it == object.end()) throw DecodeError(std::string("missing member ") + name);
    return *it;
}

std::optional<Json> parse(std::string_view text) {
    auto parsed = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return std::nullopt;
    return parsed;
}

}  // namespace pelliwig::json
