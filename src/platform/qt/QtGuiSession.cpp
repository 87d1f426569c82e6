// Creating the GUI application object on demand, offscreen when headless.
#include "platform/qt/QtGuiSession.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGlobal>

namespace ratiscope {
namespace {

char kProgram[] = "ratiscope";
char kPlatformSwitch[] = "-platform";
char kOffscreen[] = "offscreen";

void DropNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) qt_message_output(type, context, message);
}

}  // namespace

TQtGuiSession::TQtGuiSession(TQtMessages messages) {
    // Installed before the application object, whose creation is what warns
    // about a missing runtime folder and the like.
    if (messages == TQtMessages::Quiet) qInstallMessageHandler(DropNotices);
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
