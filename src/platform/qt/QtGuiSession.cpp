// Creating the GUI application object on demand, offscreen when headless.
#include "platform/qt/QtGuiSession.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

namespace ratiscope {
namespace {

char kProgram[] = "ratiscope";
char kPlatformSwitch[] = "-platform";
char kOffscreen[] = "offscreen";

}  // namespace

TQtGuiSession::TQtGuiSession() {
    if (QCoreApplication::instance()) return;
    argv_[argc_++] = kProgram;
    const bool headless = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        argv_[argc_++] = kPlatformSwitch;
        argv_[argc_++] = kOffscreen;
    }
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

TQtGuiSession::~TQtGuiSession() = default;

}  // namespace ratiscope
