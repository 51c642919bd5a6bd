#include "desktop/support/ProcessHttpClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "fetch/FetchCommand.h"

namespace pelliwig {
namespace {

constexpr auto kHelperName = "pelliwig-fetch";

// Nothing for a timeout that is not a positive number: no deadline.
std::optional<std::chrono::milliseconds> deadline(double seconds, std::chrono::milliseconds grace) {
    if (!(seconds > 0)) return std::nullopt;
    return std::chrono::milliseconds(std::llround(std::min(seconds, 86400.0) * 1000)) + grace;
}

// One request: a child process, its output within bounds, one completion.
class Run : public QObject {
public:
    Run(QObject* parent, const QString& program, const HttpRequest& request,
        std::chrono::milliseconds grace, HttpClient::Completion done)
        : QObject(parent), limit_(request.maxBodyBytes), done_(std::move(done)) {
        process_.setProgram(program);
        process_.setArguments(FetchCommand::arguments(request));
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.setStandardInputFile(QProcess::nullDevice());
        // Queued, so that a helper failing to start never completes the
        // request inside get().
        connect(&process_, &QProcess::readyReadStandardOutput, this, &Run::read,
                Qt::QueuedConnection);
        connect(&process_, &QProcess::finished, this, &Run::finish, Qt::QueuedConnection);
        connect(&process_, &QProcess::errorOccurred, this, &Run::failed, Qt::QueuedConnection);
        if (const auto wait = deadline(request.timeoutSeconds, grace)) {
            timer_.setSingleShot(true);
            connect(&timer_, &QTimer::timeout, this, [this] { complete(std::nullopt); });
            timer_.start(*wait);
        }
        process_.start(QIODevice::ReadOnly);
    }

    ~Run() override { stop(); }

private:
    void read() {
        if (completed_) return;
        const QByteArray chunk = process_.readAllStandardOutput();
        if (output_.size() + std::size_t(chunk.size()) > FetchCommand::maxOutputBytes(limit_)) {
            return complete(std::nullopt);
        }
        output_.append(chunk.constData(), std::size_t(chunk.size()));
    }

    void finish(int exitCode, QProcess::ExitStatus status) {
        if (completed_) return;
        read();
        if (completed_) return;
        const bool answered = status == QProcess::NormalExit && exitCode == FetchCommand::kAnswered;
        complete(answered ? FetchCommand::decode(output_, limit_) : std::nullopt);
    }

    // A crash or a timeout is followed by finished(); a helper that never
    // started is not.
    void failed(QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) complete(std::nullopt);
    }

    void complete(HttpResult result) {
        if (completed_) return;
        completed_ = true;
        timer_.stop();
        stop();
        deleteLater();
        auto done = std::move(done_);
        done(std::move(result));
    }

    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.disconnect(this);
        process_.kill();
        process_.waitForFinished(1000);
    }

    QProcess process_;
    std::size_t limit_;
    HttpClient::Completion done_;
    QTimer timer_;
    std::string output_;
    bool completed_ = false;
};

}  // namespace

ProcessHttpClient::ProcessHttpClient(QString program, std::chrono::milliseconds grace)
    : program_(std::move(program)), grace_(grace) {}

ProcessHttpClient::~ProcessHttpClient() = default;

void ProcessHttpClient::get(const HttpRequest& request, Completion done) {
    new Run(&runs_, program_, request, grace_, std::move(done));
}

QString ProcessHttpClient::defaultProgram() {
    const QDir here(QCoreApplication::applicationDirPath());
    const QStringList candidates = {
        here.filePath(kHelperName),
        here.filePath(QStringLiteral("../libexec/pelliwig/") + kHelperName),
        QStringLiteral(PELLIWIG_INSTALLED_LIBEXEC "/") + kHelperName,
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isExecutable()) return QDir::cleanPath(candidate);
    }
    return candidates.front();
}

}  // namespace pelliwig
