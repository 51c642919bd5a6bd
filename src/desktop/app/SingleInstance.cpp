#include "desktop/app/SingleInstance.h"

#include <unistd.h>

#include <memory>
#include <optional>

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>

namespace pelliwig {
namespace {

// A hand-over larger than this is not ours; the connection is dropped.
constexpr qint64 kMaxMessageBytes = 64 * 1024;

QByteArray encode(const QStringList& arguments) {
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << arguments;
    QByteArray message;
    QDataStream framed(&message, QIODevice::WriteOnly);
    framed << static_cast<quint32>(payload.size());
    return message + payload;
}

// The arguments once the whole message has arrived.
std::optional<QStringList> decode(const QByteArray& message) {
    if (message.size() < 4) return std::nullopt;
    QDataStream in(message);
    quint32 size = 0;
    in >> size;
    if (message.size() - 4 < static_cast<qint64>(size)) return std::nullopt;
    QStringList arguments;
    in >> arguments;
    if (in.status() != QDataStream::Ok) return QStringList{};
    return arguments;
}

}  // namespace

QString SingleInstance::defaultName() {
    return QStringLiteral("pelliwig-%1").arg(getuid());
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {
    // Only this user may hand arguments over.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

bool SingleInstance::sendToRunning(const QStringList& arguments, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(encode(arguments));
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::listen() {
    // Listening with access options replaces any socket file of that name,
    // a live instance's too, so the name is claimed through the lock first.
    // The lock is stale when its holder died; QLockFile takes it over then.
    if (!lock_) {
        auto lock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(name_ + ".lock"));
        lock->setStaleLockTime(0);  // held for the life of the instance
        if (!lock->tryLock(0)) return false;
        lock_ = std::move(lock);
    }
    if (server_.isListening()) return true;
    if (answers(name_)) return false;
    QLocalServer::removeServer(name_);  // a file left by an instance that died
    return server_.listen(name_);
}

bool SingleInstance::answers(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(500);
}

void SingleInstance::accept() {
    while (auto* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxMessageBytes) {
                socket->abort();
                return;
            }
            // Peek until the whole message is there, then take it.
            if (const auto arguments = decode(socket->peek(socket->bytesAvailable()))) {
                socket->readAll();
                socket->disconnectFromServer();
                emit received(*arguments);
            }
        });
    }
}

}  // namespace pelliwig
