#pragma once
// Serial control with the operations the program uses, over QSerialPort.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;

namespace platform {

class Comm : public QObject {
    Q_OBJECT
  public:
    explicit Comm(QObject* parent = nullptr);
    ~Comm() override;

    int CommPort = 1;                 // 1 = COM1, 2 = COM2
    QString Settings = "9600,n,8,1";  // baud,parity,data,stop
    int Handshaking = 0;              // 0 = none
    int RThreshold = 0;               // characters waiting that raise OnComm; 0 = never
    int InputLen = 0;                 // characters per Input(); 0 = all

    // Opening returns false when the device cannot be opened (error() tells why).
    bool setPortOpen(bool open);
    bool PortOpen() const;
    QString error() const { return error_; }

    // Next InputLen characters (all when 0) as Latin-1 text; empty when nothing waits.
    QString Input();
    // Queues the characters for sending; harmless while the port is closed.
    void Output(const QString& text);
    int InBufferCount() const { return int(buffer_.size()); }

    // Device of CommPort under the prefix.
    QString devicePath() const;

  signals:
    // Raised on the UI thread when RThreshold characters wait.
    void OnComm();

  private:
    void readArrived();
    void portError(int error);
    void tryReopen();
    void raiseThreshold();

    QSerialPort* port_ = nullptr;
    QByteArray buffer_;
    QString error_;
    QTimer reopenTimer_;
    bool wantOpen_ = false;
    bool raising_ = false;
};

}  // namespace platform
