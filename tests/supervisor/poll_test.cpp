#include <QTimer>

#include "fixture.h"
#include "platform/events.h"
#include "supervisor/frames.h"

using namespace ZUNO1;

class PollTest : public SupervisorTest {
  protected:
    Form1& start(std::array<int, 6> models) {
        line.reset();
        line = std::make_unique<testing_support::PtyLink>(platform::comDevice(1));
        writeConfig(configText(models));
        Form1& f = Form1::get();
        f.Timer1.stop();  // ticks are driven by hand
        f.Timer2.stop();
        return f;
    }
    // Slots addressed by n ticks, read off the line.
    QList<int> polls(Form1& f, int n) {
        for (int i = 0; i < n; ++i) f.Timer1_Timer();
        platform::WaitUntil([] { return false; }, std::chrono::milliseconds(50));
        const QByteArray sent = line->read(n * kRequestLength);
        QList<int> order;
        for (qsizetype i = 0; i + kRequestLength <= sent.size(); i += kRequestLength)
            order << sent[i + 3] - '0';
        return order;
    }
    // Feeds bytes as if a controller sent them and lets the port report them.
    void feed(const QByteArray& bytes) {
        line->write(bytes);
        platform::WaitUntil([] { return false; }, std::chrono::milliseconds(50));
    }
    std::unique_ptr<testing_support::PtyLink> line;
};

TEST_F(PollTest, SearchOrderWrapsToSlotOne) {
    struct Case {
        std::array<int, 6> models;
        QList<int> order;
    };
    const Case cases[] = {
        {{0, 0, 3, 0, 0, 0}, {3, 1, 3, 1}},
        {{0, 0, 0, 0, 0, 0}, {1, 1, 1}},
        {{0, 1, 0, 0, 4, 0}, {2, 5, 1, 2, 5, 1}},
        {{1, 1, 1, 1, 1, 1}, {1, 2, 3, 4, 5, 6, 1}},
    };
    for (const Case& c : cases) {
        Form1& f = start(c.models);
        EXPECT_EQ(polls(f, int(c.order.size())), c.order);
        Form1::unload();
    }
}

TEST_F(PollTest, CommandDigitsGoOnlyToTheSelectedSlot) {
    Form1& f = start({1, 1, 0, 0, 0, 0});
    SelectedSlot = 2;
    CommandCode[2] = 81;
    CommandCode[1] = 55;  // left by another window: not sent while slot 1 is not selected
    CommandValue = 2503;
    f.Timer1_Timer();
    f.Timer1_Timer();
    platform::WaitUntil([] { return false; }, std::chrono::milliseconds(50));
    EXPECT_EQ(line->read(24), RequestFrame(1, 0, 0) + RequestFrame(2, 81, 2503));
    EXPECT_EQ(SendFlag[2], 0);
}

TEST_F(PollTest, OffLineAtTheSixthPollAndBackOnReply) {
    Form1& f = start({0, 0, 3, 0, 0, 0});
    QLabel* status = f.Label5[2];
    for (int poll = 1; poll <= 5; ++poll) {
        PollSlot = 3;
        f.Timer1_Timer();
        EXPECT_EQ(status->text(), "") << poll;
    }
    PollSlot = 3;
    f.Timer1_Timer();
    EXPECT_EQ(status->text(), "Off Line");
    EXPECT_EQ(MissedPolls[3], 5);
    EXPECT_TRUE(f.Label7->text().startsWith("3  "));
    EXPECT_EQ(f.Label5[0]->text(), "");  // slot 1, not installed, never marked

    feed(
        "\x02"
        "3100978727?568584838002070000310\r");
    EXPECT_EQ(MissedPolls[3], 0);
    EXPECT_EQ(Temp1[3], 134);
    PollSlot = 3;
    f.Timer1_Timer();
    EXPECT_EQ(status->text(), "");
}

TEST_F(PollTest, RepliesThroughThePortLandInTheirSlotOnly) {
    start({0, 1, 0, 1, 0, 0});
    ReplyFlag[4] = 1;
    feed(
        "\x02"
        "4100978727?568584838002070000310\r");
    EXPECT_EQ(ReplyFlag[4], 0);
    EXPECT_EQ(CycleStatus[4], 2);
    EXPECT_EQ(CycleStatus[2], 99);

    // A stray character first: the whole buffer goes, the reply behind it too.
    feed(
        "x\x02"
        "2100978727?568584838002070000310\r");
    EXPECT_EQ(CycleStatus[2], 99);

    // A refused reply touches row 0 only.
    MissedPolls[2] = 4;
    feed(
        "\x02"
        "2100978727?568584838002070000310X");
    EXPECT_EQ(MissedPolls[2], 4);
    EXPECT_EQ(Temp1[2], 0);
    EXPECT_EQ(Temp1[0], 134);
}

TEST_F(PollTest, AShortReplyIsLostAndChangesNothing) {
    Form1& f = start({0, 1, 0, 0, 0, 0});
    feed(
        "\x02"
        "2100978727?5685848380020700");
    // Only 28 characters wait: a raised event reads them and ends without a change.
    f.Comm1_OnComm();
    EXPECT_EQ(f.Comm1.InBufferCount(), 0);
    EXPECT_EQ(CycleStatus[2], 99);
}

TEST_F(PollTest, TickWithThePortClosedDoesAllButWrite) {
    Form1& f = start({0, 1, 0, 0, 0, 0});
    f.Comm1.setPortOpen(false);
    PollSlot = 2;
    f.Timer1_Timer();
    EXPECT_EQ(PollSlot, 3);
    EXPECT_EQ(MissedPolls[2], 1);
    platform::WaitUntil([] { return false; }, std::chrono::milliseconds(30));
    EXPECT_TRUE(line->read().isEmpty());
}
