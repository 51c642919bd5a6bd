#pragma once

#include <QObject>

class QSocketNotifier;

namespace pelliwig {

// Ends the event loop on SIGTERM, SIGINT and SIGHUP (the terminal that
// started her closed), so the application quits the ordinary way and saves
// what it must. The handler only writes a byte to a pipe; the quit happens
// on the main thread when the loop reads it.
class SignalQuitter final : public QObject {
    Q_OBJECT

public:
    explicit SignalQuitter(QObject* parent = nullptr);
    ~SignalQuitter() override;
    SignalQuitter(const SignalQuitter&) = delete;
    SignalQuitter& operator=(const SignalQuitter&) = delete;

    // False when the pipe or the handlers could not be set up.
    bool installed() const { return notifier_ != nullptr; }

signals:
    // Emitted on the main thread just before the loop is asked to quit.
    void signalled(int signal);

private:
    static void handle(int signal);
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pelliwig
