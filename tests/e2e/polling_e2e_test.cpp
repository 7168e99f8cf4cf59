// Zuno against zuno-sim on a real pseudo-terminal: real port, real timers.
#include <QTimer>

#include "../supervisor/fixture.h"
#include "platform/events.h"

using namespace ZUNO1;
using namespace std::chrono_literals;
using testing_support::SimProcess;

class PollingE2E : public SupervisorTest {
  protected:
    void startZuno(std::array<int, 6> models) {
        writeConfig(configText(models));
        Form1::get();
        ASSERT_TRUE(Form1::get().Comm1.PortOpen());
    }
    static bool online(int slot) {
        return MissedPolls[slot] < 5 && CycleStatus[slot] == 99 && Temp1[slot] > 0;
    }
};

TEST_F(PollingE2E, SlotsComeOnLineAndCommandsGoOutInTwoFrames) {
    SimProcess sim(platform::comDevice(1), {"--slot", "2=KVS", "--slot", "4=TERMA", "--trace"});
    ASSERT_TRUE(sim.ready());
    startZuno({0, 1, 0, 4, 0, 0});
    ASSERT_TRUE(platform::WaitUntil([] { return online(2) && online(4); }, 10s));
    EXPECT_GT(Temp1[4], 100);  // tenths of a degree for TERMA
    EXPECT_EQ(Form1::get().Label5[1]->text(), "");

    SelectedSlot = 2;
    EXPECT_EQ(EnviaComando(1), Exchange::Done);
    EXPECT_TRUE(platform::WaitUntil([] { return CycleStatus[2] != 99; }, 5s));
    EXPECT_EQ(EnviaComando(kAbortCode), Exchange::Done);
    EXPECT_GE(sim.framesWithCode(2, kAbortCode), 2);
    EXPECT_EQ(CommandCode[2], 0);
    EXPECT_EQ(PollInterval(), 1000);
    EXPECT_TRUE(platform::WaitUntil([] { return CycleStatus[2] == 99; }, 5s));
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(PollingE2E, ASilentControllerEndsTheWaitWithAMessage) {
    SimProcess sim(platform::comDevice(1),
                   {"--slot", "1=KVS", "--slot", "3=GZO1", "--silent", "3"});
    startZuno({1, 0, 3, 0, 0, 0});
    SelectedSlot = 3;
    EXPECT_EQ(EnviaComando(1), Exchange::NoAnswer);
    EXPECT_EQ(CommandCode[3], 0);
    EXPECT_EQ(SendFlag[3], 0);
    EXPECT_EQ(ReplyFlag[3], 0);
    EXPECT_EQ(PollInterval(), 1000);
    ASSERT_EQ(messageTexts(), QStringList{SemResposta(3)});
    EXPECT_TRUE(messageTexts()[0].contains("GZO1"));
    // The program goes on: slot 1 still answers, slot 3 is marked.
    EXPECT_TRUE(platform::WaitUntil(
        [] { return Form1::get().Label5[2]->text() == "Off Line" && online(1); }, 10s));
}

TEST_F(PollingE2E, AnAbortPreemptsARunningExchangeAndOthersAreRefused) {
    SimProcess sim(platform::comDevice(1), {"--slot", "2=PRX-T", "--trace"});
    startZuno({0, 2, 0, 0, 0, 0});
    ASSERT_TRUE(platform::WaitUntil([] { return online(2); }, 10s));
    SelectedSlot = 2;
    Exchange refused = Exchange::Done, abort = Exchange::Refused;
    QTimer::singleShot(100, [&] {
        refused = EnviaComando(2);  // a second start while the first waits
        abort = EnviaComando(kAbortCode);
    });
    EXPECT_EQ(EnviaComando(1), Exchange::Interrupted);
    EXPECT_EQ(refused, Exchange::Refused);
    EXPECT_EQ(abort, Exchange::Done);
    EXPECT_EQ(CommandCode[2], 0);
    EXPECT_EQ(PollInterval(), 1000);
    EXPECT_GE(sim.framesWithCode(2, kAbortCode), 2);
    EXPECT_EQ(sim.framesWithCode(2, 2), 0);
    EXPECT_EQ(messageTexts(), QStringList({TrocaOcupada(), TrocaInterrompidaTexto()}));
    EXPECT_FALSE(Troca::running());
}

TEST_F(PollingE2E, AVanishedLineIsReopenedWhenItReturns) {
    auto sim = std::make_unique<SimProcess>(platform::comDevice(1), QStringList{"--slot", "1=KVS"});
    startZuno({1, 0, 0, 0, 0, 0});
    ASSERT_TRUE(platform::WaitUntil([] { return online(1); }, 10s));
    Form1& f = Form1::get();
    sim.reset();  // the device disappears
    EXPECT_TRUE(platform::WaitUntil([&] { return !f.Comm1.PortOpen(); }, 5s));
    EXPECT_TRUE(platform::WaitUntil([&] { return f.Label5[0]->text() == "Off Line"; }, 10s));
    sim = std::make_unique<SimProcess>(platform::comDevice(1), QStringList{"--slot", "1=KVS"});
    EXPECT_TRUE(platform::WaitUntil([&] { return f.Comm1.PortOpen(); }, 5s));
    EXPECT_TRUE(
        platform::WaitUntil([&] { return f.Label5[0]->text().isEmpty() && online(1); }, 10s));
    EXPECT_TRUE(dialogs->shown.isEmpty());
}
