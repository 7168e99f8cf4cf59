#pragma once
#include <gtest/gtest.h>

#include <QFile>

#include "platform/dialogs.h"
#include "platform/paths.h"
#include "supervisor/form1.h"
#include "supervisor/zuno1.h"
#include "testsupport.h"

// A fresh prefix, a zeroed slot table, scripted dialogs, and no main window left over.
class SupervisorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ZUNO1::resetSlotTable();
        Form1::resetProgramEnded();
        dialogs = &platform::useScriptedDialogs();
    }
    void TearDown() override { Form1::unload(); }

    // Points COM1 and COM2 at devices that do not exist.
    void breakPorts() {
        for (int port : {1, 2}) {
            QFile::remove(platform::comDevice(port));
            QFile::link(prefix.path() + "/no-such-device", platform::comDevice(port));
        }
    }
    void writeConfig(const QByteArray& text) {
        QFile f(prefix.zunoDir() + "/ZUNO.CFG");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readConfig() {
        QFile f(prefix.zunoDir() + "/ZUNO.CFG");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList messageTexts() const {
        QStringList out;
        for (const auto& m : dialogs->messages()) out << m.text;
        return out;
    }

    testing_support::TempPrefix prefix;
    platform::ScriptedDialogs* dialogs = nullptr;
};

// A configuration with the given models and COM1.
inline QByteArray configText(std::array<int, 6> models, const QByteArray& path = "C:\\ZUNO\\") {
    QByteArray t = "0\r\n";
    for (int m : models) t += QByteArray::number(m) + "\r\n";
    for (int i = 0; i < 6; ++i) t += "65\r\n";
    return t + path + "\r\n0\r\n49688401\r\n";
}
