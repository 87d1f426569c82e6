// Requests from outside to end the program (termination signals, the end of
// the desktop session) turned into the close of the main window, so they end
// the program the way its close button does: one save, the same exit code.
#pragma once

#include <functional>
#include <memory>

#include <QObject>

class QSocketNotifier;

namespace ratiscope {

class TQtTermination final : public QObject {
public:
    // Catches SIGTERM, SIGINT and SIGHUP from now on, and every request to quit
    // the application object (which is how Qt passes on the session manager's
    // end of the session). `closeMainWindow` runs on the GUI thread inside the
    // message loop; it returns false while there is no main window to close,
    // and the request then waits until RunPending. A QGuiApplication must exist.
    explicit TQtTermination(std::function<bool()> closeMainWindow);
    ~TQtTermination() override;
    TQtTermination(const TQtTermination&) = delete;
    TQtTermination& operator=(const TQtTermination&) = delete;

    // Called when the message loop starts: a request that came before any main
    // window existed closes it now.
    void RunPending();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Requested();

    std::function<bool()> closeMainWindow_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool pending_ = false;
};

}  // namespace ratiscope
