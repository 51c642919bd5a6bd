#pragma once

#include <QStringList>

#include <functional>
#include <string_view>

#include "core/platform/HttpClient.h"

namespace pelliwig {

// The fetch helper's command line and its answer on standard output. The
// update check runs in this short-lived helper so that the TLS stack and the
// certificate store are loaded for the few seconds of a check, never for the
// whole life of her process.
//
//   pelliwig-fetch URL TIMEOUT_SECONDS MAX_BODY_BYTES
//
// On an answer it writes the status code and a newline, then the body as
// received, and exits 0; with no answer it writes nothing and exits 1; a bad
// command line exits 2.
namespace FetchCommand {

inline constexpr int kAnswered = 0;
inline constexpr int kNoAnswer = 1;
inline constexpr int kUsage = 2;

// The request a command line asks for, or nothing when it is not one.
std::optional<HttpRequest> parse(const QStringList& arguments);

// The command line for a request, the inverse of parse().
QStringList arguments(const HttpRequest& request);

// What the helper writes for a result.
std::string encode(const HttpResult& result);

// The result the helper's output stands for, or nothing when it is not a
// whole answer within `maxBodyBytes`.
HttpResult decode(std::string_view output, std::size_t maxBodyBytes);

// Longest output an answer within `maxBodyBytes` can take.
std::size_t maxOutputBytes(std::size_t maxBodyBytes);

}  // namespace FetchCommand
}  // namespace pelliwig
