// A simulated oven cycle, polled over the real line, recorded by ticks given by hand.
#include <QProcess>

#include "logfixture.h"
#include "platform/events.h"

using namespace ZUNO1;
using std::chrono::milliseconds;

namespace {

class Simulator {
  public:
    explicit Simulator(const QStringList& args) {
        proc_.start(testing_support::binDir() + "/zuno-sim", args);
    }
    ~Simulator() {
        if (proc_.state() == QProcess::NotRunning) return;
        proc_.write("quit\n");
        if (!proc_.waitForFinished(3000)) proc_.kill();
        proc_.waitForFinished(1000);
    }
    bool ready() {
        for (int i = 0; i < 10 && proc_.state() != QProcess::NotRunning; ++i) {
            while (proc_.canReadLine())
                if (proc_.readLine().startsWith("ready ")) return true;
            proc_.waitForReadyRead(1000);
        }
        return false;
    }
    void command(const QByteArray& line) { proc_.write(line + "\n"); }

  private:
    QProcess proc_;
};

}  // namespace

class SimRecordTest : public LoggerTest {};

TEST_F(SimRecordTest, AnOvenCycleReadsBackExactly) {
    Simulator sim({"--link", platform::comDevice(1), "--slot", "1=TERMA", "--speed", "4",
                   "--phase-seconds", "4"});
    ASSERT_TRUE(sim.ready());
    InstalledModel[1] = TERMA;
    AccessPassword = 7049;
    ASSERT_TRUE(GravaConfig());
    Form1& f = Form1::get();
    ASSERT_TRUE(f.Comm1.PortOpen());
    f.Timer2.stop();  // the poll timer and the line run for real

    sim.command("start 1 1");
    ASSERT_TRUE(platform::WaitUntil([] { return CycleStatus[1] < 4; }, milliseconds(10000)));
    const QDateTime first = platform::Now();

    QList<QList<double>> taken;
    for (int n = 0; n < 60 && CycleStatus[1] < 4; ++n) {
        taken.append({double(Temp1[1]), double(Temp2[1]), double(Temp3[1]), double(Temp4[1]),
                      double(Temp5[1]), double(Temp6[1])});
        RegistraMinuto();
        platform::advanceNow(60);
        platform::WaitUntil([] { return false; }, milliseconds(500));
    }
    ASSERT_GE(CycleStatus[1], 4) << "the cycle did not end";
    RegistraMinuto();
    EXPECT_EQ(LoggingActive[1], 0);
    ASSERT_GE(taken.size(), 3);
    EXPECT_NE(taken.first(), taken.last());  // values moved during the cycle

    EXPECT_EQ(DataFileName[1], "C:\\ZUNO\\041210A1.TER");
    const auto file = records::readDataFile(DataFileName[1]);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->slot, 1);
    EXPECT_EQ(file->headerCode, 4);
    EXPECT_FALSE(file->lotLine);
    EXPECT_EQ(file->date, first.toString("dd/MM/yyyy HH:mm:ss"));
    EXPECT_FALSE(file->moreRecords);
    QList<QList<double>> read;
    for (const records::DataRecord& r : file->records) {
        QList<double> values;
        for (int i = 0; i < file->recordLength(); ++i) values << r.values[i].value_or(-9999);
        read << values;
    }
    EXPECT_EQ(read, taken);
    EXPECT_EQ(records::PendingCount(), 0);
}
