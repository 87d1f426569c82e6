// Headless tools and tests need Qt's font and image machinery without a
// window: this makes sure a GUI application object exists.
#pragma once

#include <memory>

class QGuiApplication;

namespace ratiscope {

// Whether Qt's own notices (warnings, information, debug output) reach
// standard error. A command-line tool prints nothing it was not asked for;
// Qt's critical and fatal messages pass either way.
enum class TQtMessages { Shown, Quiet };

// Creates a QGuiApplication for its lifetime unless one already exists. With
// no display in the environment (neither DISPLAY nor WAYLAND_DISPLAY) and no
// QT_QPA_PLATFORM chosen, it uses Qt's offscreen platform, so export and tests
// run on a machine without an X server.
class TQtGuiSession {
public:
    explicit TQtGuiSession(TQtMessages messages = TQtMessages::Shown);
    ~TQtGuiSession();
    TQtGuiSession(const TQtGuiSession&) = delete;
    TQtGuiSession& operator=(const TQtGuiSession&) = delete;

    // Whether this session created the application object (false when one existed).
    bool Owns() const { return app_ != nullptr; }

private:
    int argc_ = 0;
    char* argv_[4] = {};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace ratiscope
