#include "desktop/app/SignalQuitter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace pelliwig {
namespace {

int pipeEnds[2] = {-1, -1};

}  // namespace

SignalQuitter::SignalQuitter(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0) return;  // one per process
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action = {};
    action.sa_handler = &SignalQuitter::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalQuitter::readPipe);
}

SignalQuitter::~SignalQuitter() {
    if (!notifier_) return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void SignalQuitter::handle(int signal) {
    // Only async-signal-safe calls here, and errno as the interrupted code
    // left it.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

void SignalQuitter::readPipe() {
    unsigned char byte = 0;
    while (read(pipeEnds[0], &byte, 1) == 1) {
        emit signalled(byte);
        QCoreApplication::quit();
    }
}

}  // namespace pelliwig
