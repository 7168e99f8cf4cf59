#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include "platform/paths.h"

namespace testing_support {

TempPrefix::TempPrefix() : previous_(qgetenv("ZUNO_PREFIX")) {
    qputenv("ZUNO_PREFIX", dir_.path().toLocal8Bit());
    platform::preparePrefix();
}

TempPrefix::~TempPrefix() {
    qputenv("ZUNO_PREFIX", previous_);
}

QString TempPrefix::zunoDir() const {
    return dir_.path() + "/drive_c/ZUNO";
}

QString binDir() {
    const QString env = qEnvironmentVariable("ZUNO_BIN_DIR");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() + "/../bin" : env;
}

QString savePng(QWidget* w, const QString& name) {
    const QString dir = binDir() + "/../screenshots";
    QDir().mkpath(dir);
    const QString path = QDir(dir).absoluteFilePath(name + ".png");
    w->grab().save(path);
    return path;
}

}  // namespace testing_support

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>

namespace testing_support {

PtyLink::PtyLink(const QString& linkPath) : link_(linkPath) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const char* name = ptsname(master_);
    // Keeping the device end open lets the program close and reopen it.
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    QFile::remove(linkPath);
    QFile::link(QString::fromLocal8Bit(name), linkPath);
}

PtyLink::~PtyLink() {
    QFile::remove(link_);
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

QByteArray PtyLink::read(int atLeast, int timeoutMs) {
    QByteArray out;
    for (;;) {
        pollfd p{master_, POLLIN, 0};
        const int wait = out.size() >= atLeast ? 0 : timeoutMs;
        if (::poll(&p, 1, wait) <= 0) break;
        char buf[512];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, n);
    }
    return out;
}

void PtyLink::write(const QByteArray& data) {
    if (::write(master_, data.constData(), size_t(data.size())) < 0) return;
}

}  // namespace testing_support

#include "platform/events.h"

namespace testing_support {

SimProcess::SimProcess(const QString& linkPath, const QStringList& args) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(binDir() + "/zuno-sim", QStringList{"--link", linkPath} + args);
    platform::WaitUntil(
        [this] {
            lines();
            for (const QString& l : lines_)
                if (l.startsWith("ready ")) return true;
            return process_.state() == QProcess::NotRunning;
        },
        std::chrono::seconds(10));
    for (const QString& l : lines_)
        if (l.startsWith("ready ")) ready_ = true;
}

SimProcess::~SimProcess() {
    stop();
}

void SimProcess::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
    process_.waitForFinished(1000);
}

void SimProcess::command(const QString& line) {
    process_.write((line + "\n").toLocal8Bit());
}

QStringList SimProcess::lines() {
    pending_ += process_.readAllStandardOutput();
    qsizetype eol;
    while ((eol = pending_.indexOf('\n')) >= 0) {
        lines_ << QString::fromLocal8Bit(pending_.left(eol)).trimmed();
        pending_.remove(0, eol + 1);
    }
    return lines_;
}

int SimProcess::framesWithCode(int slot, int code) {
    const QString wanted = QStringLiteral("rx slot=%1 code=%2 ").arg(slot).arg(code);
    int n = 0;
    for (const QString& l : lines())
        if ((l + ' ').startsWith(wanted)) ++n;
    return n;
}

}  // namespace testing_support
