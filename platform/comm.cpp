#include "platform/comm.h"

#include <QFileInfo>
#include <QSerialPort>

#include "platform/paths.h"

namespace platform {

namespace {

constexpr int kReopenIntervalMs = 2000;

struct LineSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

LineSettings parseSettings(const QString& text) {
    LineSettings s;
    const QStringList f = text.split(',');
    if (f.size() > 0 && f[0].trimmed().toInt() > 0) s.baud = f[0].trimmed().toInt();
    if (f.size() > 1) {
        const QString pt = f[1].trimmed().toLower();
        const QChar p = pt.isEmpty() ? QChar('n') : pt[0];
        s.parity = p == 'e'   ? QSerialPort::EvenParity
                   : p == 'o' ? QSerialPort::OddParity
                   : p == 'm' ? QSerialPort::MarkParity
                   : p == 's' ? QSerialPort::SpaceParity
                              : QSerialPort::NoParity;
    }
    if (f.size() > 2) {
        const int bits = f[2].trimmed().toInt();
        if (bits >= 5 && bits <= 8) s.dataBits = QSerialPort::DataBits(bits);
    }
    if (f.size() > 3) {
        const QString stop = f[3].trimmed();
        s.stopBits = stop == "2"     ? QSerialPort::TwoStop
                     : stop == "1.5" ? QSerialPort::OneAndHalfStop
                                     : QSerialPort::OneStop;
    }
    return s;
}

}  // namespace

Comm::Comm(QObject* parent) : QObject(parent) {
    reopenTimer_.setInterval(kReopenIntervalMs);
    connect(&reopenTimer_, &QTimer::timeout, this, &Comm::tryReopen);
}

Comm::~Comm() {
    setPortOpen(false);
}

QString Comm::devicePath() const {
    return comDevice(CommPort);
}

bool Comm::setPortOpen(bool open) {
    if (!open) {
        wantOpen_ = false;
        reopenTimer_.stop();
        if (port_) {
            port_->close();
            delete port_;
            port_ = nullptr;
        }
        buffer_.clear();
        return true;
    }
    if (PortOpen()) return true;
    const QString path = QFileInfo(devicePath()).canonicalFilePath();
    if (path.isEmpty()) {
        error_ = QStringLiteral("no device at %1").arg(devicePath());
        return false;
    }
    auto* port = new QSerialPort(this);
    port->setPortName(path);
    if (!port->open(QIODevice::ReadWrite)) {
        error_ = port->errorString();
        delete port;
        return false;
    }
    const LineSettings s = parseSettings(Settings);
    port->setBaudRate(s.baud);
    port->setParity(s.parity);
    port->setDataBits(s.dataBits);
    port->setStopBits(s.stopBits);
    port->setFlowControl(Handshaking == 0   ? QSerialPort::NoFlowControl
                         : Handshaking == 2 ? QSerialPort::HardwareControl
                                            : QSerialPort::SoftwareControl);
    port_ = port;
    wantOpen_ = true;
    buffer_.clear();
    connect(port_, &QSerialPort::readyRead, this, &Comm::readArrived);
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { portError(int(e)); });
    return true;
}

bool Comm::PortOpen() const {
    return port_ && port_->isOpen();
}

QString Comm::Input() {
    const qsizetype n = InputLen <= 0 ? buffer_.size() : qMin<qsizetype>(InputLen, buffer_.size());
    const QByteArray out = buffer_.left(n);
    buffer_.remove(0, n);
    return QString::fromLatin1(out);
}

void Comm::Output(const QString& text) {
    if (!PortOpen()) return;
    port_->write(text.toLatin1());
}

void Comm::readArrived() {
    if (!port_) return;
    buffer_.append(port_->readAll());
    raiseThreshold();
}

void Comm::raiseThreshold() {
    if (raising_ || RThreshold <= 0) return;
    // Handlers may run the event loop; one raise at a time, repeated while whole
    // replies wait and each raise consumes something.
    raising_ = true;
    while (buffer_.size() >= RThreshold) {
        const qsizetype before = buffer_.size();
        emit OnComm();
        if (buffer_.size() >= before) break;
    }
    raising_ = false;
}

void Comm::portError(int error) {
    if (error == QSerialPort::NoError || !port_) return;
    if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError ||
        error == QSerialPort::DeviceNotFoundError) {
        // Device gone (adapter unplugged): close once, retry quietly.
        error_ = port_->errorString();
        port_->disconnect(this);
        port_->close();
        port_->deleteLater();
        port_ = nullptr;
        buffer_.clear();
        if (wantOpen_) reopenTimer_.start();
    } else {
        port_->clearError();
    }
}

void Comm::tryReopen() {
    if (!wantOpen_) {
        reopenTimer_.stop();
        return;
    }
    if (setPortOpen(true)) reopenTimer_.stop();
}

}  // namespace platform
