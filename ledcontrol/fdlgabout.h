#pragma once
// The about dialog of the library: product name and version, the machine's memory
// figures and a notice about the maker.
#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QPushButton;

namespace vantaled {

// Bytes.
struct MemoryStatus {
    quint64 totalPhys = 0;
    quint64 availPhys = 0;
    quint64 totalPageFile = 0;
    quint64 availPageFile = 0;
};

// From the text of /proc/meminfo; nullopt (and why) when a figure is missing.
std::optional<MemoryStatus> parseMemInfo(const QByteArray& meminfo, QString* error);
// "Physical RAM: ", total, "k (", available, "k available)", line break, "Swapfile: "...
QString memoryText(const MemoryStatus& m);

class fdlgAbout : public QDialog {
    Q_OBJECT
  public:
    explicit fdlgAbout(QWidget* parent = nullptr,
                       const QString& memInfoPath = QStringLiteral("/proc/meminfo"));

    QLabel* picture = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblAbout = nullptr;
    QPushButton* cmdOK = nullptr;

  private:
    void Form_Load(const QString& memInfoPath);
    void cmdOK_Click();
};

}  // namespace vantaled
