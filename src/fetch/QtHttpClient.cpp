#include "fetch/QtHttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace pelliwig {
namespace {

bool isWebUrl(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

QNetworkRequest networkRequest(const QUrl& url) {
    QNetworkRequest request(url);
    // Always ask the origin: no local cache is read or written, and caches on
    // the way are asked to revalidate.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    return request;
}

// Nothing for a timeout that is not a positive number: no deadline.
std::optional<std::chrono::milliseconds> deadline(double seconds) {
    if (!(seconds > 0)) return std::nullopt;
    return std::chrono::milliseconds(std::llround(std::min(seconds, 86400.0) * 1000));
}

// Whether an HTTP answer arrived whole. An error status (4xx, 5xx) still
// brings a body, and the caller decides what to make of it; a transport,
// proxy or protocol failure, or a cut-off transfer, brings none.
bool answered(const QNetworkReply& reply) {
    const auto error = reply.error();
    const bool httpStatusError =
        (error >= QNetworkReply::ContentAccessDenied &&
         error <= QNetworkReply::UnknownContentError) ||
        (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    return (error == QNetworkReply::NoError || httpStatusError) &&
           reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

// One transfer: collects the body within its limit and completes once.
class Transfer : public QObject {
public:
    Transfer(QNetworkReply* reply, const HttpRequest& request, HttpClient::Completion done)
        : QObject(reply), reply_(reply), limit_(request.maxBodyBytes), done_(std::move(done)) {
        connect(reply, &QNetworkReply::metaDataChanged, this, &Transfer::checkAnnouncedLength);
        connect(reply, &QIODevice::readyRead, this, &Transfer::readAvailable);
        connect(reply, &QNetworkReply::finished, this, &Transfer::finish);
        if (const auto wait = deadline(request.timeoutSeconds)) {
            timer_.setSingleShot(true);
            connect(&timer_, &QTimer::timeout, this, [this] { fail(); });
            timer_.start(*wait);
        }
    }

private:
    void checkAnnouncedLength() {
        const auto length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toULongLong() > limit_) fail();
    }

    void readAvailable() {
        if (completed_) return;
        const QByteArray chunk = reply_->readAll();
        if (body_.size() + std::size_t(chunk.size()) > limit_) return fail();
        body_.append(chunk.constData(), std::size_t(chunk.size()));
    }

    void finish() {
        if (completed_) return;
        readAvailable();
        if (completed_) return;
        if (!answered(*reply_)) return fail();
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        complete(HttpResponse{status, std::move(body_)});
    }

    void fail() { complete(std::nullopt); }

    void complete(HttpResult result) {
        if (completed_) return;
        completed_ = true;
        timer_.stop();
        // Aborting emits finished() again, which finds the transfer completed.
        reply_->abort();
        reply_->deleteLater();
        auto done = std::move(done_);
        done(std::move(result));
    }

    QNetworkReply* reply_;
    std::size_t limit_;
    HttpClient::Completion done_;
    QTimer timer_;
    std::string body_;
    bool completed_ = false;
};

}  // namespace

QtHttpClient::QtHttpClient() : manager_(std::make_unique<QNetworkAccessManager>()) {
    manager_->setCache(nullptr);
}

QtHttpClient::~QtHttpClient() = default;

void QtHttpClient::get(const HttpRequest& request, Completion done) {
    const QUrl url(QString::fromStdString(request.url), QUrl::StrictMode);
    if (!isWebUrl(url)) {
        // Later, as for any other failure, never from inside get().
        QTimer::singleShot(0, manager_.get(), [done = std::move(done)] { done(std::nullopt); });
        return;
    }
    new Transfer(manager_->get(networkRequest(url)), request, std::move(done));
}

}  // namespace pelliwig
