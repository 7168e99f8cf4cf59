// zuno-sim driven through its pseudo-terminal, as the program sees it.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "frames.h"
#include "testsupport.h"

using namespace sim;

namespace {

// One zuno-sim with its link in a private folder, traced.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& args) : link_(dir_.path() + "/dosdevices/com1") {
        proc_.setProgram(testing_support::binDir() + "/zuno-sim");
        proc_.setArguments(QStringList{"--link", link_, "--trace"} + args);
        proc_.start();
    }
    ~SimProcess() {
        if (proc_.state() == QProcess::NotRunning) return;
        proc_.terminate();
        if (!proc_.waitForFinished(5000)) proc_.kill();
        proc_.waitForFinished(1000);
    }
    QString link() const { return link_; }
    QString folder() const { return dir_.path(); }
    QProcess& process() { return proc_; }

    // Waits for a line of output starting with prefix; returns it, or empty text.
    QString waitForLine(const QString& prefix, int ms = 10000) {
        QDeadlineTimer deadline(ms);
        for (;;) {
            while (proc_.canReadLine()) {
                const QString line = QString::fromLocal8Bit(proc_.readLine()).trimmed();
                if (line.startsWith(prefix)) return line;
            }
            if (deadline.hasExpired() || proc_.state() == QProcess::NotRunning) return {};
            proc_.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
        }
    }
    bool ready() { return !waitForLine("ready ").isEmpty(); }

  private:
    QTemporaryDir dir_;
    QString link_;
    QProcess proc_;
};

// The client end of the line, raw.
class Port {
  public:
    explicit Port(const QString& path) {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd_ < 0) return;
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~Port() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }
    void write(const std::string& bytes) {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads until want bytes came or ms passed.
    std::string read(std::size_t want, int ms) {
        std::string got;
        QDeadlineTimer deadline(ms);
        while (got.size() < want && !deadline.hasExpired()) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(deadline.remainingTime())) <= 0) continue;
            char buf[256];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n > 0) got.append(buf, n);
        }
        return got;
    }
    std::string exchange(int slot, int code = 0, int value = 0, std::size_t want = kReplySize,
                         int ms = 1000) {
        write(encodeRequest(slot, code, value));
        return read(want, ms);
    }

  private:
    int fd_ = -1;
};

int status(const std::string& reply) {
    return pairByte(reply, 11).value_or(-1);
}
int phase(const std::string& reply) {
    return pairByte(reply, 12).value_or(-1);
}
int paramPairs(const std::string& reply) {
    return pairDecimal(reply, 15).value_or(-1) * 100 + pairDecimal(reply, 14).value_or(-1);
}

}  // namespace

TEST(SimPty, IdleRepliesHaveExactLayout) {
    SimProcess sim({"--slot", "2=KVS", "--slot", "4=terma", "--slot", "6=6"});
    ASSERT_TRUE(sim.ready());
    Port port(sim.link());
    ASSERT_TRUE(port.isOpen());
    // 25 deg C, 0 bar, stopped (99), phase 0.
    EXPECT_EQ(port.exchange(2),
              "\x02"
              "21009191<4<491919191003600000000\r");
    EXPECT_EQ(port.exchange(4),
              "\x02"
              "44052005200520052005203600000520\r");
    EXPECT_EQ(port.exchange(6),
              "\x02"
              "66052005200520052005203600540520\r");
}

TEST(SimPty, OnlyAddressedSlotsAnswerAndFaultsShow) {
    SimProcess sim({"--slot", "2=KVS", "--slot", "3=GZO1", "--silent", "3", "--slot", "5=prx-t",
                    "--garbage-before", "5", "--slot", "6=GZO2", "--cut", "6"});
    ASSERT_TRUE(sim.ready());
    Port port(sim.link());
    struct Case {
        int slot;
        std::size_t length;
        char first;
    };
    for (const Case& c : {Case{1, 0, 0}, Case{3, 0, 0}, Case{2, 34, '\x02'}, Case{5, 35, '~'},
                          Case{6, 20, '\x02'}}) {
        SCOPED_TRACE(c.slot);
        const std::string got = port.exchange(c.slot, 0, 0, 40, 400);
        ASSERT_EQ(got.size(), c.length);
        if (c.length) {
            EXPECT_EQ(got[0], c.first);
        }
    }
    EXPECT_FALSE(sim.waitForLine("skip slot=3 silent").isEmpty());

    // Silenced and heard again at run time.
    sim.process().write("silent 2\n");
    ASSERT_FALSE(sim.waitForLine("status slot=2").isEmpty());
    EXPECT_EQ(port.exchange(2, 0, 0, 34, 300), "");
    sim.process().write("speak 2\n");
    ASSERT_FALSE(sim.waitForLine("status slot=2").isEmpty());
    EXPECT_EQ(port.exchange(2).size(), kReplySize);
}

TEST(SimPty, CycleStartsAdvancesAndAborts) {
    SimProcess sim({"--slot", "2=KVS", "--speed", "100"});
    ASSERT_TRUE(sim.ready());
    Port port(sim.link());
    EXPECT_EQ(status(port.exchange(2)), 99);
    EXPECT_EQ(status(port.exchange(2, 1)), 1);
    EXPECT_EQ(status(port.exchange(2, 1)), 1);
    int seen = 0;
    QDeadlineTimer deadline(5000);
    while (seen < 2 && !deadline.hasExpired()) {
        const std::string r = port.exchange(2);
        ASSERT_EQ(status(r), 1);
        seen = std::max(seen, phase(r));
    }
    EXPECT_GE(seen, 2);
    EXPECT_EQ(status(port.exchange(2, 8)), 99);
    EXPECT_EQ(status(port.exchange(2, 8)), 99);
    EXPECT_EQ(status(port.exchange(2)), 99);
}

TEST(SimPty, ParameterWrittenThenReadBack) {
    SimProcess sim({"--slot", "2=KVS", "--slot", "4=TERMA"});
    ASSERT_TRUE(sim.ready());
    Port port(sim.link());
    struct Case {
        int slot, i, value;
    };
    for (const Case& c : {Case{2, 6, 121}, Case{2, 9, 4321}, Case{4, 1, 1500}}) {
        SCOPED_TRACE(c.slot * 100 + c.i);
        port.exchange(c.slot, 10 + c.i, c.value);
        port.exchange(c.slot, 10 + c.i, c.value);
        EXPECT_EQ(paramPairs(port.exchange(c.slot, 80 + c.i)), c.value);
    }
    EXPECT_FALSE(sim.waitForLine("rx slot=4 code=11 value=1500").isEmpty());
}

TEST(SimPty, ResyncsAfterGarbageAndSurvivesReopen) {
    SimProcess sim({"--slot", "2=KVS"});
    ASSERT_TRUE(sim.ready());
    {
        Port port(sim.link());
        port.write(
            "\x01xyz\x1b\x1b\x02"
            "2");  // noise and a broken frame
        EXPECT_EQ(port.exchange(2, 0, 0, 40, 400).size(), kReplySize);
    }
    Port again(sim.link());
    EXPECT_EQ(again.exchange(2).size(), kReplySize);
}

TEST(SimPty, LinkReplacedAndRemovedOnTerminate) {
    QTemporaryDir dir;
    const QString link = dir.path() + "/com1";
    ASSERT_EQ(symlink("/nonexistent", QFile::encodeName(link).constData()), 0);
    QProcess proc;
    proc.start(testing_support::binDir() + "/zuno-sim", {"--link", link, "--slot", "1=1"});
    ASSERT_TRUE(proc.waitForStarted(5000));
    QString ready;
    QDeadlineTimer deadline(10000);
    while (ready.isEmpty() && !deadline.hasExpired() && proc.waitForReadyRead(1000)) {
        while (proc.canReadLine()) {
            const QString line = QString::fromLocal8Bit(proc.readLine()).trimmed();
            if (line.startsWith("ready ")) ready = line.mid(6);
        }
    }
    ASSERT_FALSE(ready.isEmpty());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), ready);
    proc.terminate();
    ASSERT_TRUE(proc.waitForFinished(5000));
    EXPECT_EQ(proc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(proc.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}
