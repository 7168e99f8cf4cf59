#pragma once
// The park of simulated controllers on a pseudo-terminal, paced like a 9600-baud line.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <deque>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "controller.h"
#include "frames.h"

class QSocketNotifier;
class QTimer;

namespace sim {

struct Options {
    QString link;                            // symlink to the pty slave; empty = none
    std::map<int, const Model*> slotModels;  // slot 1..6 -> model
    double speed = 1.0;                      // simulated seconds per real second
    double phaseSeconds = 20.0;              // simulated seconds per step of weight 1
    double kPerBar = 38.0;                   // 3-bar transducer
    std::set<int> silent, garbage, cut;      // faults per slot
    bool noise = false;
    unsigned seed = 0;
    bool seeded = false;
    bool trace = false;
};

class Simulator : public QObject {
    Q_OBJECT
  public:
    explicit Simulator(Options options, QObject* parent = nullptr);
    ~Simulator() override;

    // Opens the pty, makes the link and starts listening; prints "ready <device>".
    bool start(QString* error);
    // Removes the link and closes the pty; safe to call twice.
    void shutdown();

  private:
    struct Pending {
        qint64 dueMs;
        QByteArray bytes;
    };

    void onReadable();
    void onFrame(const Request& request);
    void schedule(QByteArray bytes);
    void flushDue();
    void onStdin();
    void runCommand(const QString& line);
    double now() const;  // simulated seconds
    void logEvents(int slot, Controller& c);
    void say(const QString& line) const;

    Options opt_;
    std::map<int, std::unique_ptr<Controller>> controllers_;
    int master_ = -1;
    int slave_ = -1;  // held open so the pty outlives the client closing its port
    QString device_;
    bool linked_ = false;
    QSocketNotifier* rxNotifier_ = nullptr;
    QSocketNotifier* stdinNotifier_ = nullptr;
    QTimer* txTimer_ = nullptr;
    QElapsedTimer clock_;
    RequestParser parser_;
    std::deque<Pending> queue_;
    qint64 lineFreeMs_ = 0;
    QByteArray stdinBuffer_;
    std::mt19937 rng_;
};

}  // namespace sim
