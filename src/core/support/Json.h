#pragma once

#include <concepts>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/support/Enum.h"
#include "core/support/Instant.h"

namespace pelliwig {

// Decoding reads plain JSON; encoding keeps members in the order written,
// so stored texts are stable and read like the records they hold.
using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

// Thrown by strict decoding; callers turn it into "use the default".
struct DecodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

namespace json {

// Strict readers: the JSON type must match (an integer may be written as a
// number with no fraction, as some encoders do).
int requireInt(const Json& j);
double requireDouble(const Json& j);
bool requireBool(const Json& j);
std::string requireString(const Json& j);
const Json& requireMember(const Json& object, const char* name);

// Parses text; nullopt when it is not JSON.
std::optional<Json> parse(std::string_view text);

}  // namespace json

// Codec<T>: encode(const T&) -> OrderedJson, decode(const Json&) -> T (throws
// DecodeError). Specialised for the stored types.
template <typename T>
struct Codec;

template <>
struct Codec<bool> {
    static OrderedJson encode(bool v) { return v; }
    static bool decode(const Json& j) { return json::requireBool(j); }
};

template <>
struct Codec<int> {
    static OrderedJson encode(int v) { return v; }
    static int decode(const Json& j) { return json::requireInt(j); }
};

template <>
struct Codec<double> {
    static OrderedJson encode(double v) { return v; }
    static double decode(const Json& j) { return json::requireDouble(j); }
};

template <>
struct Codec<std::string> {
    static OrderedJson encode(const std::string& v) { return v; }
    static std::string decode(const Json& j) { return json::requireString(j); }
};

// Enumerations are stored as their raw value; an unknown one fails.
template <typename E>
requires std::is_enum_v<E> && requires {
    EnumTraits<E>::names;
}
struct Codec<E> {
    static OrderedJson encode(E v) { return std::string(rawValue(v)); }
    static E decode(const Json& j) {
        const auto value = fromRawValue<E>(json::requireString(j));
        if (!value) throw DecodeError("unknown case");
        return *value;
    }
};

// An absent value is null.
template <typename T, typename Inner = Codec<T>>
struct OptionalCodec {
    static OrderedJson encode(const std::optional<T>& v) {
        return v ? Inner::encode(*v) : OrderedJson();
    }
    static std::optional<T> decode(const Json& j) {
        if (j.is_null()) return std::nullopt;
        return Inner::decode(j);
    }
};

template <typename T>
struct Codec<std::optional<T>> : OptionalCodec<T> {};

// One bad element fails the whole list.
template <typename T>
struct Codec<std::vector<T>> {
    static OrderedJson encode(const std::vector<T>& list) {
        auto array = OrderedJson::array();
        for (const auto& element : list) array.push_back(Codec<T>::encode(element));
        return array;
    }
    static std::vector<T> decode(const Json& j) {
        if (!j.is_array()) throw DecodeError("expected an array");
        std::vector<T> list;
        list.reserve(j.size());
        for (const auto& element : j) list.push_back(Codec<T>::decode(element));
        return list;
    }
};

// Dates are stored as seconds since 2001-01-01 00:00:00 UTC.
struct DateCodec {
    static OrderedJson encode(Instant t) { return toReferenceSeconds(t); }
    static Instant decode(const Json& j) { return fromReferenceSeconds(json::requireDouble(j)); }
};

}  // namespace pelliwig
