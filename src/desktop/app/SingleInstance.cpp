#include "desktop/app/SingleInstance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include "core/support/BaseDirectories.h"

// Plain AF_UNIX sockets rather than Qt Network's local sockets, which would load
// libQt6Network and its proxy and Kerberos libraries into a process that
// lives all day, only to pass a few arguments along.

namespace pelliwig {
namespace {

// A hand-over larger than this is not ours; the connection is dropped.
constexpr qsizetype kMaxMessageBytes = 64 * 1024;

// The first word of a question. No command line starts with it, so a Zuzi
// that does not know questions takes one for a bad hand-over and drops it.
QString questionMark() {
    return QStringLiteral("\u0001question");
}

// Owns a descriptor and closes it.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }

    int get() const { return fd_; }
    // Hands the descriptor on; this no longer closes it.
    int release() { return std::exchange(fd_, -1); }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

Fd streamSocket() {
    return Fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

// A folder only this user can enter: a folder itself (not a link to one),
// owned by us, no access for anyone else.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return !path.isEmpty() && path.startsWith('/') && ::lstat(path.constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

struct Place {
    QString folder;   // empty when there is no private one
    QString problem;  // why not, then
};

// The runtime folder when it is private; otherwise a folder of this user's
// own inside the shared temporary folder, made private on first use. One that
// someone else made, or made open, or put a link at, is refused: whoever
// controls it could take the name first and receive her arguments.
Place locate() {
    if (const auto runtime = BaseDirectories::runtimeDir()) {
        const QByteArray path = QFile::encodeName(QString::fromStdString(runtime->string()));
        if (isPrivateFolder(path)) return {QFile::decodeName(path), {}};
    }
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("pelliwig-%1").arg(getuid()));
    const QByteArray path = QFile::encodeName(own);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return {{},
                QStringLiteral("cannot make the folder %1 for her socket: %2")
                    .arg(own, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    if (!isPrivateFolder(path)) {
        return {{},
                QStringLiteral("%1 is not a private folder of this user's (it must be a "
                               "folder, not a link, owned by this user, closed to others); "
                               "remove it or set XDG_RUNTIME_DIR")
                    .arg(own)};
    }
    return {own, {}};
}

// Where the socket of `name` lives. Nothing when the path does not fit.
std::optional<sockaddr_un> addressOf(const QString& name) {
    const QString folder = SingleInstance::folder();
    if (folder.isEmpty()) return std::nullopt;
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(name));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // sun_path keeps its terminating NUL; a NUL inside would name another file.
    if (path.isEmpty() || path.contains('\0') ||
        static_cast<size_t>(path.size()) >= sizeof(address.sun_path)) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return address;
}

const sockaddr* asSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

int remainingMs(const QDeadlineTimer& deadline) {
    return deadline.isForever() ? -1 : static_cast<int>(deadline.remainingTime());
}

// True once `fd` is ready for `events`; false when the deadline passes first.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    pollfd ready{fd, events, 0};
    for (;;) {
        const int count = ::poll(&ready, 1, remainingMs(deadline));
        if (count > 0) return (ready.revents & events) != 0;
        if (count == 0 || errno != EINTR) return false;
    }
}

// Waits a little before trying again, never past the deadline.
bool waitBeforeRetry(const QDeadlineTimer& deadline) {
    if (deadline.hasExpired()) return false;
    const int remaining = remainingMs(deadline);
    ::poll(nullptr, 0, remaining < 0 ? 10 : std::min(remaining, 10));
    return true;
}

Fd connectTo(const QString& name, const QDeadlineTimer& deadline) {
    const auto address = addressOf(name);
    if (!address) return {};
    Fd fd = streamSocket();
    if (!fd) return {};
    for (;;) {
        if (::connect(fd.get(), asSockaddr(*address), sizeof(*address)) == 0) return fd;
        // An interrupted connect goes on by itself (POSIX); either way it is
        // done when the socket turns writable.
        if (errno == EINPROGRESS || errno == EINTR) {
            int error = 0;
            socklen_t length = sizeof(error);
            const bool done = waitFor(fd.get(), POLLOUT, deadline) &&
                              ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
                              error == 0;
            return done ? std::move(fd) : Fd{};
        }
        // A full backlog: the listener is busy or wedged, so retry until the deadline.
        if (errno != EAGAIN || !waitBeforeRetry(deadline)) return {};
    }
}

// MSG_NOSIGNAL: a peer that closes early must not end this process with SIGPIPE.
bool sendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::send(fd, bytes.constData() + sent,
                                     static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (count >= 0) {
            sent += count;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(fd, POLLOUT, deadline)) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

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

// One accepted hand-over. It reads only what has arrived, so a launch that
// connects and goes quiet holds up nobody else.
class Connection final : public QSocketNotifier {
public:
    Connection(Fd fd, QObject* parent)
        : QSocketNotifier(fd.get(), QSocketNotifier::Read, parent), fd_(std::move(fd)) {}
    // Off the event loop before the descriptor closes.
    ~Connection() override { setEnabled(false); }

    struct Outcome {
        bool finished = false;                 // nothing more to read here
        std::optional<QStringList> arguments;  // set when a whole message came
    };

    // The descriptor, for a question's answers; this notifier stops first.
    Fd release() {
        setEnabled(false);
        return std::move(fd_);
    }

    Outcome read() {
        char chunk[4096];
        for (;;) {
            const ssize_t count = ::read(fd_.get(), chunk, sizeof(chunk));
            if (count > 0) {
                message_.append(chunk, count);
                if (message_.size() > kMaxMessageBytes) return {true, std::nullopt};
            } else if (count < 0 && errno == EINTR) {
                continue;
            } else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                auto arguments = decode(message_);
                return {arguments.has_value(), std::move(arguments)};
            } else {
                return {true, decode(message_)};  // the launch hung up or failed
            }
        }
    }

private:
    Fd fd_;
    QByteArray message_;
};

}  // namespace

struct SingleInstance::Listening {
    Listening(Fd socket, const sockaddr_un& address)
        : fd(std::move(socket)),
          path(address.sun_path),
          notifier(fd.get(), QSocketNotifier::Read) {}
    // The file is this instance's own: the lock kept anyone else from binding it.
    ~Listening() { ::unlink(path.constData()); }

    Fd fd;
    QByteArray path;
    QSocketNotifier notifier;  // declared last, so it leaves the event loop before fd closes
};

QString SingleInstance::defaultName() {
    return QStringLiteral("pelliwig-%1").arg(getuid());
}

QString SingleInstance::folder() {
    return locate().folder;
}

QString SingleInstance::folderProblem() {
    return locate().problem;
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

// listening_ goes before lock_, so the socket file is gone before the name is free.
// Open hand-overs are children and close with this object.
SingleInstance::~SingleInstance() = default;

bool SingleInstance::sendToRunning(const QStringList& arguments, int timeoutMs) {
    // Done once every byte is with the kernel: the running instance may be
    // on this very thread, and reads only when its event loop runs again.
    const QDeadlineTimer deadline(timeoutMs);
    const Fd fd = connectTo(name_, deadline);
    return fd && sendAll(fd.get(), encode(arguments), deadline);
}

SingleInstance::Asked SingleInstance::ask(const QStringList& arguments,
                                          const std::function<bool(const QByteArray&)>& onLine,
                                          int timeoutMs) {
    // The first answer comes at once; later ones whenever she has news.
    QDeadlineTimer deadline(timeoutMs);
    const Fd fd = connectTo(name_, deadline);
    if (!fd || !sendAll(fd.get(), encode(QStringList{questionMark()} + arguments), deadline)) {
        return Asked::notRunning;
    }
    QByteArray pending;
    char chunk[4096];
    for (;;) {
        if (!waitFor(fd.get(), POLLIN, deadline)) return Asked::hungUp;
        const ssize_t count = ::read(fd.get(), chunk, sizeof(chunk));
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (count <= 0) return Asked::hungUp;
        pending.append(chunk, count);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            deadline = QDeadlineTimer(QDeadlineTimer::Forever);
            if (!onLine(line)) return Asked::enough;
        }
        if (pending.size() > kMaxMessageBytes) return Asked::hungUp;  // not an answer of hers
    }
}

struct SingleInstance::Asker::Link {
    explicit Link(int descriptor) : fd(descriptor), notifier(descriptor, QSocketNotifier::Read) {}

    Fd fd;
    QSocketNotifier notifier;  // declared last, so it leaves the event loop before fd closes
};

SingleInstance::Asker::Asker(int fd, QObject* parent)
    : QObject(parent), link_(std::make_unique<Link>(fd)) {
    // The launch says nothing more after its question: anything readable is
    // its hang-up (or bytes that are no concern of ours).
    connect(&link_->notifier, &QSocketNotifier::activated, this, [this] {
        char chunk[256];
        for (;;) {
            const ssize_t count = ::read(link_->fd.get(), chunk, sizeof(chunk));
            if (count > 0) continue;
            if (count < 0 && errno == EINTR) continue;
            if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            close();
            return;
        }
    });
}

SingleInstance::Asker::~Asker() = default;

bool SingleInstance::Asker::answer(const QByteArray& line) {
    if (!link_->notifier.isEnabled()) return false;
    const QByteArray bytes = line + '\n';
    const ssize_t count = ::send(link_->fd.get(), bytes.constData(),
                                 static_cast<size_t>(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (count == bytes.size()) return true;
    close();
    return false;
}

void SingleInstance::Asker::close() {
    if (!link_->notifier.isEnabled()) return;
    link_->notifier.setEnabled(false);
    ::shutdown(link_->fd.get(), SHUT_RDWR);  // the launch hears the end now
    deleteLater();
}

bool SingleInstance::listen() {
    if (listening_) return true;
    failure_.clear();
    const Place place = locate();
    if (place.folder.isEmpty()) {
        failure_ = place.problem;
        return false;
    }
    const auto address = addressOf(name_);
    if (!address) return false;
    // Binding means removing any socket file of that name first, a live
    // instance's too, so the name is claimed through the lock before that.
    // The lock is stale when its holder died; QLockFile takes it over then.
    if (!lock_) {
        auto lock = std::make_unique<QLockFile>(QDir(folder()).filePath(name_ + ".lock"));
        lock->setStaleLockTime(0);  // held for the life of the instance
        if (!lock->tryLock(0)) {
            // Held by another instance, or not to be made at all.
            if (lock->error() != QLockFile::LockFailedError) {
                failure_ = QStringLiteral("cannot make her lock file in %1 (%2)")
                               .arg(place.folder, lock->error() == QLockFile::PermissionError
                                                      ? QStringLiteral("it cannot be written")
                                                      : QStringLiteral("an unknown error"));
            }
            return false;
        }
        lock_ = std::move(lock);
    }
    if (answers(name_)) return false;
    ::unlink(address->sun_path);  // a file left by an instance that died
    Fd fd = streamSocket();
    if (!fd || ::bind(fd.get(), asSockaddr(*address), sizeof(*address)) != 0) {
        failure_ = QStringLiteral("cannot make her socket in %1: %2")
                       .arg(place.folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Only this user may hand arguments over. Nobody can connect before
    // listen(), so tightening the mode between bind and listen leaves no gap.
    if (::chmod(address->sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd.get(), SOMAXCONN) != 0) {
        ::unlink(address->sun_path);
        return false;
    }
    listening_ = std::make_unique<Listening>(std::move(fd), *address);
    connect(&listening_->notifier, &QSocketNotifier::activated, this, &SingleInstance::accept);
    return true;
}

bool SingleInstance::answers(const QString& name) {
    return static_cast<bool>(connectTo(name, QDeadlineTimer(500)));
}

// Out of descriptors, the pending launch stays pending and the notifier would
// fire again at once, spinning the event loop; try again in a second.
void SingleInstance::pauseAccepting() {
    listening_->notifier.setEnabled(false);
    QTimer::singleShot(1000, this, [this] {
        if (listening_) listening_->notifier.setEnabled(true);
    });
}

void SingleInstance::accept() {
    for (;;) {
        Fd fd(::accept4(listening_->fd.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EMFILE || errno == ENFILE) pauseAccepting();
            return;  // none pending; the notifier calls again
        }
        auto* connection = new Connection(std::move(fd), this);
        connect(connection, &QSocketNotifier::activated, this, [this, connection] {
            auto outcome = connection->read();
            if (outcome.arguments && !outcome.arguments->isEmpty() &&
                outcome.arguments->front() == questionMark()) {
                Fd answering = connection->release();
                delete connection;
                // The asker owns the descriptor from here on.
                auto* asker = new Asker(answering.release(), this);
                emit asked(outcome.arguments->mid(1), asker);
                return;
            }
            // Closed before anyone hears of it, whatever the receivers do.
            if (outcome.finished) delete connection;
            if (outcome.arguments) emit received(*outcome.arguments);
        });
    }
}

}  // namespace pelliwig
