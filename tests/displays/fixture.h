#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QTest>
#include <QTimer>

#include "displays/displays.h"
#include "displays/forms.h"
#include "platform/component.h"
#include "platform/events.h"
#include "supervisor/fixture.h"

// Display windows over a zeroed slot table, in the program's font, the LED library
// registered in the prefix.
class DisplayTest : public SupervisorTest {
  protected:
    void SetUp() override {
        SupervisorTest::SetUp();
        ZUNO1::CycleStatus.fill(99);
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        ledRegistered = platform::registerComponentsBesideExecutable();
        InstallDisplayOpeners();
    }
    void TearDown() override {
        for (int model = 1; model <= 7; ++model) displays::UnloadDisplay(model);
        SupervisorTest::TearDown();
        ZUNO1::DisplayOpeners = {};
    }

    // The window of a model showing slot, shown, refreshed by hand only.
    displays::DisplayWindow& open(int model, int slot) {
        ZUNO1::SelectedSlot = ZUNO1::Integer(slot);
        ZUNO1::InstalledModel[slot] = ZUNO1::Integer(model);
        displays::DisplayWindow* w = displays::Display(model);
        w->Timer1.stop();
        w->show();
        w->Timer1_Timer();
        return *w;
    }

    bool ledRegistered = false;
};

// Stands in for the poll tick and the reply decoder: a frame to the selected slot goes out
// and is answered at once. Records the slot and command of every frame.
class Answerer {
  public:
    struct Frame {
        int slot;
        int code;
        bool operator==(const Frame&) const = default;
    };

    Answerer() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

    QList<Frame> frames;
    std::function<void()> onFrame;  // after each frame

  private:
    void tick() {
        using namespace ZUNO1;
        const int s = SelectedSlot;
        if (s < 1 || s > kSlots) return;
        if (SendFlag[s] == 1) {
            frames.append({s, CommandCode[s]});
            SendFlag[s] = 0;
            if (onFrame) onFrame();
        } else if (ReplyFlag[s] == 1) {
            ReplyFlag[s] = 0;
        }
    }
    QTimer timer_;
};

inline void settle(int ms = 30) {
    platform::WaitUntil([] { return false; }, std::chrono::milliseconds(ms));
}
