// Signals reach the message loop through a pipe: the handler only writes one
// byte, which is all a signal handler may safely do.
#include "platform/qt/QtTermination.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

namespace ratiscope {

namespace {

// The signals that ask a program to end: the service manager and `kill`
// (SIGTERM), the terminal's Ctrl+C (SIGINT), a closed terminal or session (SIGHUP).
constexpr std::array kEndingSignals = {SIGTERM, SIGINT, SIGHUP};

// One pipe for the process: written by the handler, read in the message loop.
int gPipe[2] = {-1, -1};

extern "C" void OnEndingSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

TQtTermination::TQtTermination(std::function<bool()> closeMainWindow) : closeMainWindow_(std::move(closeMainWindow)) {
    if (gPipe[0] < 0 && ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) gPipe[0] = gPipe[1] = -1;
    if (gPipe[0] >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(gPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
            char bytes[64];
            while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
            }
            Requested();
        });
        struct sigaction action {};
        action.sa_handler = OnEndingSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : kEndingSignals) ::sigaction(signal, &action, nullptr);
    }
    QCoreApplication::instance()->installEventFilter(this);
}

TQtTermination::~TQtTermination() {
    // Signals keep arriving at the pipe, which outlives this object, so a late
    // one cannot end the program in the middle of its save.
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void TQtTermination::RunPending() {
    if (pending_) Requested();
}

bool TQtTermination::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Quit || watched != QCoreApplication::instance()) return false;
    // The main window's close ends the loop itself, after its state is kept.
    return closeMainWindow_ && closeMainWindow_();
}

void TQtTermination::Requested() {
    pending_ = !(closeMainWindow_ && closeMainWindow_());
    if (!pending_) return;
    // Without a main window the program is still starting, and a message of
    // its start may be waiting for the user: it ends as if dismissed, so the
    // start goes on to the loop, where the request is served.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    if (auto* message = qobject_cast<QDialog*>(QApplication::activeModalWidget())) message->reject();
}

}  // namespace ratiscope
