#pragma once
// The minute logger on a set clock, in a fresh prefix, ticks driven by hand.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "records/datafile.h"
#include "records/logger.h"
#include "supervisor/form1.h"
#include "supervisor/zuno1.h"
#include "testsupport.h"

class LoggerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ZUNO1::resetSlotTable();
        records::ResetLogger();
        records::SetWriteHook({});
        dialogs = &platform::useScriptedDialogs();
        ZUNO1::DataPath = QStringLiteral("C:\\ZUNO\\");
        ZUNO1::FileLetter.fill('A');
        ZUNO1::CycleStatus.fill(99);
        platform::setNow(QDateTime(QDate(2004, 12, 10), QTime(14, 35, 22)));
    }
    void TearDown() override {
        Form1::unload();
        records::SetWriteHook({});
        platform::setNow({});
    }

    // The main window on a line that answers nothing, its timers stopped; the
    // configuration holds the slot table's installation and letters.
    Form1& loadMainWindow() {
        line = std::make_unique<testing_support::PtyLink>(platform::comDevice(1));
        ZUNO1::PortChoice = 0;
        ZUNO1::AccessPassword = 7049;
        const auto models = ZUNO1::InstalledModel;
        auto letters = ZUNO1::FileLetter;
        letters[0] = 0;  // not in the file
        const QString path = ZUNO1::DataPath;
        EXPECT_TRUE(ZUNO1::GravaConfig());
        Form1& f = Form1::get();
        f.Timer1.stop();
        f.Timer2.stop();
        EXPECT_EQ(ZUNO1::InstalledModel, models);
        EXPECT_EQ(ZUNO1::FileLetter, letters);
        EXPECT_EQ(ZUNO1::DataPath, path);
        return f;
    }

    // Minute ticks, the clock one minute on after each.
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            RegistraMinuto();
            platform::advanceNow(60);
        }
    }
    void run(int slot, int model) {
        ZUNO1::InstalledModel[slot] = ZUNO1::Integer(model);
        ZUNO1::CycleStatus[slot] = 1;
    }
    void stop(int slot) { ZUNO1::CycleStatus[slot] = 99; }

    QString zuno() const { return prefix.zunoDir(); }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QStringList filesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }
    QList<QByteArray> configLines() const { return bytes(zuno() + "/ZUNO.CFG").split('\n'); }

    testing_support::TempPrefix prefix;
    platform::ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<testing_support::PtyLink> line;
};
