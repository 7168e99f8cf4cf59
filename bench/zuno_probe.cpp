// Runs the real main window for whole-program figures and prints them:
//   zuno_probe startup        start-up until the main window is shown, then exits
//   zuno_probe baseline       an empty window shown, then exits (the same-run baseline)
//   zuno_probe idle S         polls for S seconds; prints CPU %, resident memory
//   zuno_probe silent S N     S seconds of commands to silent slot N; prints CPU %
// The prefix comes from ZUNO_PREFIX as for the program.
#include <sys/resource.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "supervisor/form1.h"
#include "supervisor/zuno1.h"

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long residentKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void exitWhenShown() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("startup");
    if (mode == QLatin1String("baseline")) {
        QWidget w;
        w.resize(388, 312);
        w.show();
        exitWhenShown();
        return app.exec();
    }
    platform::preparePrefix();
    platform::useScriptedDialogs();  // a failed port would otherwise wait for a person
    ZUNO1::resetSlotTable();
    Form1& main = Form1::get();
    if (Form1::programEnded()) return 1;
    main.show();
    if (mode == QLatin1String("startup")) {
        exitWhenShown();
        return app.exec();
    }
    const int seconds = argc > 2 ? atoi(argv[2]) : 60;
    const auto span = std::chrono::seconds(seconds);
    platform::WaitUntil([] { return false; }, std::chrono::seconds(3));  // slots come on line
    const double cpu0 = cpuSeconds();
    if (mode == QLatin1String("idle")) {
        platform::WaitUntil([] { return false; }, span);
    } else {
        ZUNO1::SelectedSlot = ZUNO1::Integer(argc > 3 ? atoi(argv[3]) : 1);
        QDeadlineTimer end(span);
        while (!end.hasExpired()) ZUNO1::EnviaComando(1);
    }
    const double cpu = cpuSeconds() - cpu0;
    std::printf("mode=%s seconds=%d cpu_s=%.3f cpu_pct=%.3f rss_kb=%ld\n", qPrintable(mode),
                seconds, cpu, 100.0 * cpu / seconds, residentKb());
    return 0;
}
