// The display windows: one 300 ms refresh of each model's window when nothing changed and
// when every field changed, with and without the repaint it causes; resident memory with
// all seven windows open.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>

#include "displays/displays.h"
#include "displays/forms.h"
#include "platform/component.h"
#include "platform/dialogs.h"
#include "supervisor/zuno1.h"

using namespace ZUNO1;

namespace {

constexpr int kSlot = 1;

long residentKiB() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// Two slot rows that differ in every shown field.
void setRow(bool second) {
    CycleStatus[kSlot] = second ? 99 : 1;
    CyclePhase[kSlot] = second ? 2 : 1;
    for (auto* t : {&Temp1, &Temp2, &Temp3, &Temp4, &Temp5, &Temp6, &Temp7})
        (*t)[kSlot] = Integer(second ? 853 : 412);
    InnerPressure[kSlot] = second ? -0.61 : 1.25;
    OuterPressure[kSlot] = second ? 2.18 : 0.5;
    Humidity[kSlot] = second ? 57 : 22;
    LotRecord[kSlot] = QStringLiteral("LAB12      ");
}

displays::DisplayWindow* openShown(int model) {
    SelectedSlot = kSlot;
    InstalledModel[kSlot] = Integer(model);
    displays::DisplayWindow* w = displays::Display(model);
    w->Timer1.stop();
    w->show();
    QCoreApplication::processEvents();
    return w;
}

// Runs first, before any window was made.
void BM_ResidentMemoryAllSevenOpen(benchmark::State& state) {
    for (int model = 1; model <= 7; ++model) displays::UnloadDisplay(model);
    QCoreApplication::processEvents();
    const long before = residentKiB();
    for (auto _ : state) {
        for (int model = 1; model <= 7; ++model) openShown(model)->Timer1_Timer();
        QCoreApplication::processEvents();
    }
    const long after = residentKiB();
    state.counters["rss_before_KiB"] = double(before);
    state.counters["rss_all_open_KiB"] = double(after);
    state.counters["added_KiB"] = double(after - before);
}
BENCHMARK(BM_ResidentMemoryAllSevenOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

// Arg 0: model; arg 1: 0 unchanged, 1 every field changed; arg 2: 1 with the repaint.
void BM_Refresh(benchmark::State& state) {
    const int model = int(state.range(0));
    const bool changing = state.range(1) != 0;
    const bool paint = state.range(2) != 0;
    setRow(false);
    displays::DisplayWindow* w = openShown(model);
    w->Timer1_Timer();
    QCoreApplication::processEvents();
    bool second = false;
    for (auto _ : state) {
        if (changing) setRow(second = !second);
        w->Timer1_Timer();
        if (paint) QCoreApplication::processEvents();
    }
    state.SetLabel(w->objectName().toStdString());
}
BENCHMARK(BM_Refresh)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7}, {0, 1}, {0, 1}})
    ->ArgNames({"model", "changed", "paint"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir prefix;
    qputenv("ZUNO_PREFIX", prefix.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    platform::useScriptedDialogs();
    if (!platform::registerComponentsBesideExecutable())
        std::fprintf(stderr, "bench_displays: LED library not found; RT-58HW without panels\n");
    resetSlotTable();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (int model = 1; model <= 7; ++model) displays::UnloadDisplay(model);
    return 0;
}
