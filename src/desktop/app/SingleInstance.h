#pragma once

#include <functional>
#include <memory>

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

namespace pelliwig {

// One Zuzi per user. The first instance listens on a local socket; a later
// launch connects, hands over its arguments and exits, so a command such as
// `pelliwig --preview water` reaches the Zuzi already running. A launch may
// also ask, and stay to read the lines she answers (`pelliwig --status`).
class SingleInstance final : public QObject {
    Q_OBJECT

public:
    // The launch at the other end of a question. It lives until the launch
    // hangs up or close() is called, and then deletes itself; keep it in a
    // QPointer.
    class Asker final : public QObject {
    public:
        ~Asker() override;
        // Sends `line` and a newline without waiting. A launch that has gone
        // or does not read its answers is hung up on instead; false then.
        bool answer(const QByteArray& line);
        void close();

    private:
        friend class SingleInstance;
        struct Link;
        Asker(int fd, QObject* parent);
        std::unique_ptr<Link> link_;
    };

    // How ask() ended.
    enum class Asked { notRunning, hungUp, enough };

    // The per-user socket name, "pelliwig-" and the user id.
    static QString defaultName();

    // Where the socket and its lock file live: the session's runtime folder
    // when it is set and private to this user, as XDG_RUNTIME_DIR promises,
    // so that no other account can take the name first; otherwise the folder
    // "pelliwig-<uid>" in the temporary folder, made with mode 0700 and used
    // only while it is a folder (not a link) of this user's closed to others.
    // Empty when there is no such folder; folderProblem() then says why.
    static QString folder();
    static QString folderProblem();

    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands `arguments` to a running instance. False when none answers, or
    // when connecting and writing take longer than `timeoutMs`.
    bool sendToRunning(const QStringList& arguments, int timeoutMs = 2000);

    // Asks the running instance and hands each line it answers (without its
    // newline) to `onLine`, blocking, until `onLine` returns false (enough)
    // or the instance hangs up. For a launch that runs no event loop.
    Asked ask(const QStringList& arguments, const std::function<bool(const QByteArray&)>& onLine,
              int timeoutMs = 2000);

    // Starts answering later launches. A socket file left by an instance that
    // died is removed first. False when another instance holds the name, or
    // is taking it at this moment, or the name makes too long a socket path.
    bool listen();

    const QString& name() const { return name_; }

    // Why the last listen() failed when it was not another instance holding
    // the name (no private folder, a folder that cannot be written); empty
    // otherwise.
    const QString& failure() const { return failure_; }

signals:
    // Arguments a later launch handed over.
    void received(const QStringList& arguments);
    // A later launch asks and waits for answers. A receiver that does not
    // keep `asker` should close it.
    void asked(const QStringList& arguments, SingleInstance::Asker* asker);

private:
    struct Listening;  // the bound socket, its notifier and its file

    void accept();
    void pauseAccepting();
    static bool answers(const QString& name);

    QString name_;
    QString failure_;
    std::unique_ptr<QLockFile> lock_;       // held while this is the running instance
    std::unique_ptr<Listening> listening_;  // set once listen() succeeded
};

}  // namespace pelliwig
