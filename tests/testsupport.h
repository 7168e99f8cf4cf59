#pragma once
// Helpers shared by the test binaries: a fresh prefix per test, a set locale,
// and saving a window as PNG for a person to look at.
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

class QWidget;

namespace testing_support {

// Points the platform at a new empty prefix for the lifetime of the object.
class TempPrefix {
  public:
    TempPrefix();
    ~TempPrefix();
    QString path() const { return dir_.path(); }
    // <prefix>/drive_c/ZUNO
    QString zunoDir() const;

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

class ScopedLocale {
  public:
    explicit ScopedLocale(const QLocale& locale) : previous_(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~ScopedLocale() { QLocale::setDefault(previous_); }

  private:
    QLocale previous_;
};

// Saves a grab of the widget under <build>/screenshots/<name>.png; returns the path.
QString savePng(QWidget* w, const QString& name);

// Folder of the built executables (zuno, zuno-sim).
QString binDir();

}  // namespace testing_support

namespace testing_support {

// A pseudo-terminal whose device end is linked at a path (for example COM1 of the
// prefix); the test reads and writes the controller end.
class PtyLink {
  public:
    explicit PtyLink(const QString& linkPath);
    ~PtyLink();
    bool ok() const { return master_ >= 0; }
    // Everything the program wrote so far (waits up to timeoutMs for at least `atLeast` bytes).
    QByteArray read(int atLeast = 0, int timeoutMs = 2000);
    void write(const QByteArray& data);

  private:
    int master_ = -1;
    int slave_ = -1;
    QString link_;
};

}  // namespace testing_support

#include <QProcess>
#include <QStringList>

namespace testing_support {

// zuno-sim on a pseudo-terminal linked at a path, with its trace read as it comes.
class SimProcess {
  public:
    // args: e.g. {"--slot", "2=KVS", "--trace"}; waits for "ready" (bounded).
    SimProcess(const QString& linkPath, const QStringList& args);
    ~SimProcess();
    bool ready() const { return ready_; }
    void command(const QString& line);  // stdin command such as "silent 3"
    // Trace lines received so far (the event loop must run for them to arrive).
    QStringList lines();
    // Frames the simulator received for a slot with a command code.
    int framesWithCode(int slot, int code);
    void stop();

  private:
    QProcess process_;
    QByteArray pending_;
    QStringList lines_;
    bool ready_ = false;
};

}  // namespace testing_support
