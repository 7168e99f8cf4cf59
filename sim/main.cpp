// zuno-sim: simulated controllers answering request frames on a pseudo-terminal.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>

#include "models.h"
#include "simulator.h"

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

[[noreturn]] void usageError(const QString& text) {
    std::fprintf(stderr, "zuno-sim: %s\nTry 'zuno-sim --help'.\n", qPrintable(text));
    std::exit(2);
}

// "3", "3,4": slots 1..6.
std::set<int> slotList(const QStringList& values, const QString& option) {
    std::set<int> out;
    for (const QString& v : values) {
        for (const QString& part : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int s = part.trimmed().toInt(&ok);
            if (!ok || s < 1 || s > 6)
                usageError(QStringLiteral("--%1: bad slot '%2'").arg(option, part));
            out.insert(s);
        }
    }
    return out;
}

double positive(const QCommandLineParser& p, const QString& option, double fallback) {
    if (!p.isSet(option)) return fallback;
    bool ok = false;
    const double v = p.value(option).toDouble(&ok);
    if (!ok || !(v > 0)) usageError(QStringLiteral("--%1 needs a number above 0").arg(option));
    return v;
}

QString description() {
    QString text = QStringLiteral(
        "Simulated controllers on a pseudo-terminal, answering request frames like a\n"
        "9600-baud line.\n\n"
        "Models (by code or by name, any case, blanks and dashes optional) and the\n"
        "command codes they obey besides 8 (abort), 10+i (write parameter i) and\n"
        "80+i (read parameter i):\n");
    for (const sim::Model& m : sim::models()) {
        text += QStringLiteral("  %1 %2: %3 parameters; start")
                    .arg(m.code)
                    .arg(QLatin1String(m.name))
                    .arg(m.params.size());
        for (const sim::Cycle& c : m.cycles)
            text += QStringLiteral(" %1 \"%2\"").arg(c.startCode).arg(QLatin1String(c.name));
        text += QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\nPrints 'ready <device>' once the link exists. With --trace, read its output:\n"
        "the lines are written as they come. Commands on standard input:\n"
        "silent N, speak N, start N [CODE], abort N, status [N], quit.");
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zuno-sim"));

    QCommandLineParser p;
    p.setApplicationDescription(description());
    p.addHelpOption();
    p.addOptions({
        {QStringLiteral("link"),
         QStringLiteral("Make <path> a symlink to the pty (removed on exit)."),
         QStringLiteral("path")},
        {QStringLiteral("slot"),
         QStringLiteral("Put a controller of <model> at slot N (repeatable)."),
         QStringLiteral("N=model")},
        {QStringLiteral("speed"), QStringLiteral("Run cycles F times faster (default 1)."),
         QStringLiteral("F")},
        {QStringLiteral("phase-seconds"),
         QStringLiteral("Length of a cycle phase at speed 1 (default 20)."), QStringLiteral("S")},
        {QStringLiteral("scale"), QStringLiteral("Pressure transducer: 3 or 5 bar (default 3)."),
         QStringLiteral("bar")},
        {QStringLiteral("silent"), QStringLiteral("Slot N never answers (repeatable, or N,M)."),
         QStringLiteral("N")},
        {QStringLiteral("garbage-before"),
         QStringLiteral("A stray '~' precedes every reply of slot N."), QStringLiteral("N")},
        {QStringLiteral("cut"), QStringLiteral("Replies of slot N stop after 20 characters."),
         QStringLiteral("N")},
        {QStringLiteral("noise"), QStringLiteral("Random bytes before some replies (1 in 8).")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the noise."), QStringLiteral("n")},
        {{QStringLiteral("verbose"), QStringLiteral("trace")},
         QStringLiteral("Print every frame received and sent, and cycle events.")},
    });
    if (!p.parse(app.arguments())) usageError(p.errorText());
    if (p.isSet(QStringLiteral("help"))) p.showHelp(0);
    if (!p.positionalArguments().isEmpty())
        usageError(QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first()));

    sim::Options opt;
    opt.link = p.value(QStringLiteral("link"));
    for (const QString& slotArg : p.values(QStringLiteral("slot"))) {
        const qsizetype eq = slotArg.indexOf(QLatin1Char('='));
        bool ok = false;
        const int slot = slotArg.left(eq).trimmed().toInt(&ok);
        if (eq < 0 || !ok || slot < 1 || slot > 6)
            usageError(
                QStringLiteral("--slot wants N=model with N in 1..6, not '%1'").arg(slotArg));
        const sim::Model* m = sim::modelByName(slotArg.mid(eq + 1).toStdString());
        if (!m) usageError(QStringLiteral("unknown model in '%1'").arg(slotArg));
        opt.slotModels[slot] = m;
    }
    if (opt.slotModels.empty())
        std::fprintf(stderr, "zuno-sim: no --slot given; nothing will answer\n");
    opt.speed = positive(p, QStringLiteral("speed"), 1.0);
    opt.phaseSeconds = positive(p, QStringLiteral("phase-seconds"), 20.0);
    if (p.isSet(QStringLiteral("scale"))) {
        const QString s = p.value(QStringLiteral("scale"));
        if (s == QLatin1String("3"))
            opt.kPerBar = 38;
        else if (s == QLatin1String("5"))
            opt.kPerBar = 25;
        else
            usageError(QStringLiteral("--scale is 3 or 5"));
    }
    opt.silent = slotList(p.values(QStringLiteral("silent")), QStringLiteral("silent"));
    opt.garbage =
        slotList(p.values(QStringLiteral("garbage-before")), QStringLiteral("garbage-before"));
    opt.cut = slotList(p.values(QStringLiteral("cut")), QStringLiteral("cut"));
    opt.noise = p.isSet(QStringLiteral("noise"));
    if (p.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        opt.seed = p.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok) usageError(QStringLiteral("--seed needs a whole number"));
        opt.seeded = true;
    }
    opt.trace = p.isSet(QStringLiteral("verbose"));

    // Signals end the event loop, so the link is removed on the way out.
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return 1;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    sim::Simulator simulator(opt);
    QString error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "zuno-sim: %s\n", qPrintable(error));
        simulator.shutdown();
        return 1;
    }
    const int rc = app.exec();
    simulator.shutdown();
    return rc;
}
