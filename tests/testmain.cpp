// Test entry: one QApplication on the offscreen platform, a private prefix for the
// whole binary, the scripted dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/dialogs.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir prefix;
    qputenv("ZUNO_PREFIX", prefix.path().toLocal8Bit());
    QApplication app(argc, argv);
    platform::useScriptedDialogs();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
