// Six slots recording a two-day cycle (2881 minute ticks) through the minute tick on a
// set clock: time per tick, and open files and resident memory before and after.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "records/datafile.h"
#include "records/logger.h"
#include "supervisor/zuno1.h"

using namespace ZUNO1;

namespace {

double openFiles() {
    return double(QDir("/proc/self/fd")
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                      .size());
}

// kB
double residentMemory() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return -1;
}

void SixSlotsTwoDays(benchmark::State& state) {
    QTemporaryDir prefix;
    qputenv("ZUNO_PREFIX", prefix.path().toLocal8Bit());
    platform::preparePrefix();
    resetSlotTable();
    records::ResetLogger();
    DataPath = QStringLiteral("C:\\ZUNO\\");
    FileLetter.fill('A');
    const Integer models[] = {KVS, PRXT, GZO1, TERMA, GZO2, GZONEO};
    for (int slot = 1; slot <= kSlots; ++slot) {
        InstalledModel[slot] = models[slot - 1];
        CycleStatus[slot] = 1;
    }
    platform::setNow(QDateTime(QDate(2004, 12, 10), QTime(8, 0)));

    const double filesBefore = openFiles();
    const double memoryBefore = residentMemory();
    double memoryAfter100 = 0;
    double slowest = 0;
    int tick = 0;
    for (auto _ : state) {
        for (int slot = 1; slot <= kSlots; ++slot) {
            Temp1[slot] = Integer(1000 + (tick + slot) % 400);
            Temp7[slot] = Integer(tick % 90);
            InnerPressure[slot] = -0.8 + (tick % 300) * 0.01;
            OuterPressure[slot] = 0.01 * (tick % 250);
            Humidity[slot] = tick % 100;
        }
        const auto start = std::chrono::steady_clock::now();
        RegistraMinuto();
        slowest = std::max(slowest, std::chrono::duration<double, std::micro>(
                                        std::chrono::steady_clock::now() - start)
                                        .count());
        platform::advanceNow(60);
        if (++tick == 100) memoryAfter100 = residentMemory();
    }
    state.counters["files_open_before"] = filesBefore;
    state.counters["files_open_after"] = openFiles();
    state.counters["rss_kB_before"] = memoryBefore;
    state.counters["rss_kB_after_100"] = memoryAfter100;
    state.counters["rss_kB_after"] = residentMemory();
    state.counters["slowest_tick_us"] = slowest;
    state.counters["pending"] = records::PendingCount();
    const auto written = records::readDataFile(DataFileName[1]);
    state.counters["records_slot1"] = written ? double(written->records.size()) : -1;
    platform::setNow({});
}

BENCHMARK(SixSlotsTwoDays)->Iterations(2881)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::useScriptedDialogs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
