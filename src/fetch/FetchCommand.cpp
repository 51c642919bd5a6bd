#include "fetch/FetchCommand.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

namespace pelliwig::FetchCommand {
namespace {

// HTTP status codes have three digits.
constexpr std::size_t kStatusLineBytes = 4;

std::optional<double> seconds(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::size_t> byteCount(const QString& text) {
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok || value > std::numeric_limits<std::size_t>::max()) return std::nullopt;
    return std::size_t(value);
}

}  // namespace

std::optional<HttpRequest> parse(const QStringList& arguments) {
    if (arguments.size() != 3 || arguments[0].isEmpty()) return std::nullopt;
    const auto timeout = seconds(arguments[1]);
    const auto limit = byteCount(arguments[2]);
    if (!timeout || !limit) return std::nullopt;
    return HttpRequest{arguments[0].toStdString(), *timeout, *limit};
}

QStringList arguments(const HttpRequest& request) {
    return {QString::fromStdString(request.url),
            QString::number(request.timeoutSeconds, 'g', QLocale::FloatingPointShortest),
            QString::number(qulonglong(request.maxBodyBytes))};
}

std::string encode(const HttpResult& result) {
    if (!result) return {};
    return std::to_string(result->status) + "\n" + result->body;
}

HttpResult decode(std::string_view output, std::size_t maxBodyBytes) {
    const auto end = output.find('\n');
    if (end == std::string_view::npos || end == 0 || end >= kStatusLineBytes) return std::nullopt;
    int status = 0;
    const auto [next, error] = std::from_chars(output.data(), output.data() + end, status);
    if (error != std::errc() || next != output.data() + end || status < 100 || status > 999) {
        return std::nullopt;
    }
    const std::string_view body = output.substr(end + 1);
    if (body.size() > maxBodyBytes) return std::nullopt;
    return HttpResponse{status, std::string(body)};
}

std::size_t maxOutputBytes(std::size_t maxBodyBytes) {
    const std::size_t room = std::numeric_limits<std::size_t>::max() - kStatusLineBytes;
    return maxBodyBytes > room ? std::numeric_limits<std::size_t>::max()
                               : maxBodyBytes + kStatusLineBytes;
}

}  // namespace pelliwig::FetchCommand
