#include "simulator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

// 10 bits per character at 9600 baud.
constexpr double kCharMs = 10.0 * 1000.0 / 9600.0;
// Time a controller takes before it starts to answer.
constexpr qint64 kTurnaroundMs = 3;
// A cut reply stops after this many characters.
constexpr int kCutLength = 20;
constexpr char kGarbageByte = '~';

QString errnoText(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

}  // namespace

Simulator::Simulator(Options options, QObject* parent) : QObject(parent), opt_(std::move(options)) {
    rng_.seed(opt_.seeded ? opt_.seed : std::random_device{}());
    for (const auto& [slot, model] : opt_.slotModels)
        controllers_[slot] = std::make_unique<Controller>(*model, opt_.phaseSeconds);
    txTimer_ = new QTimer(this);
    txTimer_->setSingleShot(true);
    txTimer_->setTimerType(Qt::PreciseTimer);
    connect(txTimer_, &QTimer::timeout, this, &Simulator::flushDue);
}

Simulator::~Simulator() {
    shutdown();
}

bool Simulator::start(QString* error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        *error = errnoText("cannot open a pseudo-terminal");
        return false;
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        *error = errnoText("cannot name the pseudo-terminal");
        return false;
    }
    device_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        *error = errnoText("cannot open the pseudo-terminal slave");
        return false;
    }
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(slave_, TCSANOW, &t);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    if (!opt_.link.isEmpty()) {
        const QByteArray link = QFile::encodeName(opt_.link);
        struct stat st {};
        if (lstat(link.constData(), &st) == 0 && !S_ISLNK(st.st_mode)) {
            *error = QStringLiteral("%1 exists and is not a symbolic link").arg(opt_.link);
            return false;
        }
        QDir().mkpath(QFileInfo(opt_.link).absolutePath());
        // Made aside and renamed over the old link, so the name never dangles.
        const QByteArray temp = link + ".new-" + QByteArray::number(getpid());
        ::unlink(temp.constData());
        if (symlink(name, temp.constData()) != 0 ||
            rename(temp.constData(), link.constData()) != 0) {
            *error = errnoText("cannot make the link");
            ::unlink(temp.constData());
            return false;
        }
        linked_ = true;
    }

    clock_.start();
    rxNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(rxNotifier_, &QSocketNotifier::activated, this, &Simulator::onReadable);
    if (fcntl(STDIN_FILENO, F_GETFL) != -1) {
        stdinNotifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(stdinNotifier_, &QSocketNotifier::activated, this, &Simulator::onStdin);
    }
    for (const auto& [slot, c] : controllers_) {
        say(QStringLiteral("slot %1 model=%2 %3%4")
                .arg(slot)
                .arg(c->model().code)
                .arg(QLatin1String(c->model().name))
                .arg(opt_.silent.count(slot) ? QStringLiteral(" silent") : QString()));
    }
    say(QStringLiteral("ready %1").arg(device_));
    return true;
}

void Simulator::shutdown() {
    delete rxNotifier_;
    rxNotifier_ = nullptr;
    delete stdinNotifier_;
    stdinNotifier_ = nullptr;
    if (linked_) {
        // Only our own link: another instance may have taken the name since.
        const QByteArray link = QFile::encodeName(opt_.link);
        char target[256];
        const ssize_t n = readlink(link.constData(), target, sizeof target - 1);
        if (n > 0 && QByteArray(target, n) == QFile::encodeName(device_))
            ::unlink(link.constData());
        linked_ = false;
    }
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
    slave_ = master_ = -1;
}

double Simulator::now() const {
    return clock_.nsecsElapsed() / 1e9 * opt_.speed;
}

void Simulator::say(const QString& line) const {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Simulator::onReadable() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            for (const Request& r : parser_.feed(std::string_view(buf, n))) onFrame(r);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EIO) {
            // No slave open (cannot happen while we hold one); do not spin on the hangup.
            rxNotifier_->setEnabled(false);
            QTimer::singleShot(200, this, [this] {
                if (rxNotifier_) rxNotifier_->setEnabled(true);
            });
        }
        return;
    }
}

void Simulator::onFrame(const Request& req) {
    const int slot = req.slot;
    if (opt_.trace)
        say(QStringLiteral("rx slot=%1 code=%2 value=%3").arg(slot).arg(req.code).arg(req.value));
    const auto it = controllers_.find(slot);
    if (it == controllers_.end()) {
        if (opt_.trace) say(QStringLiteral("skip slot=%1 absent").arg(slot));
        return;
    }
    if (opt_.silent.count(slot)) {
        if (opt_.trace) say(QStringLiteral("skip slot=%1 silent").arg(slot));
        return;
    }
    Controller& c = *it->second;
    const double t = now();
    c.command(req.code, req.value, t);
    const Reply r = c.reply(slot, t, opt_.kPerBar);
    logEvents(slot, c);

    const std::string reply = encodeReply(r);
    QByteArray out;
    if (opt_.noise && rng_() % 8 == 0) {
        const int n = 1 + static_cast<int>(rng_() % 3);
        for (int i = 0; i < n; ++i) out += static_cast<char>(rng_() % 256);
    }
    if (opt_.garbage.count(slot)) out += kGarbageByte;
    out += QByteArray(reply.data(), static_cast<qsizetype>(reply.size()));
    if (opt_.cut.count(slot)) out.chop(static_cast<qsizetype>(reply.size()) - kCutLength);
    if (opt_.trace) {
        say(QStringLiteral("tx slot=%1 status=%2 phase=%3 %4")
                .arg(slot)
                .arg(r.status)
                .arg(r.phase)
                .arg(QString::fromLatin1(printable(std::string_view(out.data(), out.size())))));
    }
    schedule(out);
}

void Simulator::schedule(QByteArray bytes) {
    const qint64 nowMs = clock_.elapsed();
    const qint64 begin = std::max(nowMs + kTurnaroundMs, lineFreeMs_);
    const qint64 due = begin + static_cast<qint64>(std::ceil(bytes.size() * kCharMs));
    lineFreeMs_ = due;
    queue_.push_back({due, std::move(bytes)});
    if (!txTimer_->isActive()) txTimer_->start(static_cast<int>(queue_.front().dueMs - nowMs));
}

void Simulator::flushDue() {
    const qint64 nowMs = clock_.elapsed();
    while (!queue_.empty() && queue_.front().dueMs <= nowMs) {
        const QByteArray& b = queue_.front().bytes;
        const ssize_t n = master_ >= 0 ? ::write(master_, b.constData(), b.size()) : -1;
        if (n != b.size() && opt_.trace)
            say(QStringLiteral("tx dropped %1 of %2 bytes")
                    .arg(b.size() - std::max<ssize_t>(n, 0))
                    .arg(b.size()));
        queue_.pop_front();
    }
    if (!queue_.empty())
        txTimer_->start(static_cast<int>(std::max<qint64>(queue_.front().dueMs - nowMs, 0)));
}

void Simulator::logEvents(int slot, Controller& c) {
    for (const std::string& e : c.takeEvents()) {
        if (opt_.trace)
            say(QStringLiteral("event slot=%1 %2").arg(slot).arg(QString::fromStdString(e)));
    }
}

void Simulator::onStdin() {
    char buf[512];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
        stdinNotifier_->setEnabled(false);  // end of input: keep running
        return;
    }
    stdinBuffer_.append(buf, n);
    qsizetype eol;
    while ((eol = stdinBuffer_.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(stdinBuffer_.left(eol)).trimmed();
        stdinBuffer_.remove(0, eol + 1);
        if (!line.isEmpty()) runCommand(line);
    }
    if (stdinBuffer_.size() > 4096) stdinBuffer_.clear();
}

void Simulator::runCommand(const QString& line) {
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString verb = w.value(0).toLower();
    bool ok = false;
    const int slot = w.value(1).toInt(&ok);
    if (verb == QLatin1String("quit") || verb == QLatin1String("exit")) {
        QCoreApplication::quit();
        return;
    }
    if (verb == QLatin1String("help")) {
        say(QStringLiteral(
            "commands: silent N | speak N | start N [CODE] | abort N | status [N] | quit"));
        return;
    }
    if (verb == QLatin1String("status") && w.size() == 1) {
        for (const auto& [s, c] : controllers_) runCommand(QStringLiteral("status %1").arg(s));
        return;
    }
    const auto it = ok ? controllers_.find(slot) : controllers_.end();
    if (it == controllers_.end()) {
        say(QStringLiteral("error no controller in slot '%1'").arg(w.value(1)));
        return;
    }
    Controller& c = *it->second;
    const double t = now();
    if (verb == QLatin1String("silent")) {
        opt_.silent.insert(slot);
    } else if (verb == QLatin1String("speak")) {
        opt_.silent.erase(slot);
    } else if (verb == QLatin1String("start") || verb == QLatin1String("abort")) {
        const int code =
            verb == QLatin1String("abort") ? kAbortCode : w.value(2, QStringLiteral("1")).toInt();
        // A fresh command, then cleared, as the program sends one.
        c.command(0, 0, t);
        c.command(code, 0, t);
        c.command(0, 0, t);
        logEvents(slot, c);
    } else if (verb != QLatin1String("status")) {
        say(QStringLiteral("error unknown command '%1'").arg(verb));
        return;
    }
    const Values v = c.values(t);
    say(QStringLiteral("status slot=%1 model=%2 status=%3 phase=%4 temp=%5 inner=%6 outer=%7 "
                       "humidity=%8 setpoint=%9%10")
            .arg(slot)
            .arg(c.model().code)
            .arg(c.status())
            .arg(c.phase())
            .arg(v.temp, 0, 'f', 1)
            .arg(v.inner, 0, 'f', 2)
            .arg(v.outer, 0, 'f', 2)
            .arg(v.humidity, 0, 'f', 0)
            .arg(c.setpoint(), 0, 'f', 1)
            .arg(opt_.silent.count(slot) ? QStringLiteral(" silent") : QString()));
}

}  // namespace sim
