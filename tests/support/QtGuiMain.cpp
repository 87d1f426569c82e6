// The main of test programs that need Qt's fonts and images but no widgets:
// one GUI session for the whole run, on Qt's offscreen platform, so the tests
// need no X server.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "platform/qt/QtGuiSession.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ratiscope::TQtGuiSession session;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
