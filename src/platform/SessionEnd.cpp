#include "platform/SessionEnd.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace session {

namespace {

bool requested = false;
int exitCode = 0;
// Written by the signal handler, read by the event loop.
int wakeFds[2] = {-1, -1};

extern "C" void OnSignal(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    // A full pipe already holds a wake-up: losing this byte loses nothing.
    (void)!::write(wakeFds[0], &byte, 1);
    errno = saved;
}

// Takes the window system's request to quit before the application object
// would close every window (and so ask the exit question).
class QuitFilter final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
            RequestEnd(0);
            return true;
        }
        return false;
    }
};

}  // namespace

void RequestEnd(int code) {
    if (requested) return;
    requested = true;
    exitCode = code;
    QCoreApplication::exit(code);
}

bool EndRequested() {
    return requested;
}

int ExitCode() {
    return exitCode;
}

bool InstallEndSignals(QCoreApplication& app) {
    app.installEventFilter(new QuitFilter(&app));
    if (wakeFds[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakeFds) != 0)
        return false;
    auto* notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char bytes[16];
        while (::read(wakeFds[1], bytes, sizeof bytes) > 0) {
        }
        RequestEnd(0);
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
    return true;
}

}  // namespace session
