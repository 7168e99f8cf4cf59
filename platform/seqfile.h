#pragma once
// Sequential text files: Latin-1, CR LF line ends. Numbers are written as
// sign-or-blank, digits, blank; fields are read across commas and line ends.
#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// " 5 " or "-5 " followed by CR LF.
QByteArray NumberLine(long long value);
// Text followed by CR LF, Latin-1.
QByteArray TextLine(const QString& text);

class SeqReader {
  public:
    explicit SeqReader(const QByteArray& data) : data_(data) {}
    // Next field: up to a comma or line end, blanks around it skipped, quotes stripped.
    std::optional<QString> field();
    // Next whole line as it stands (for lot lines and texts with commas).
    std::optional<QString> line();
    // Next field as a number; nullopt when missing or not numeric.
    std::optional<double> number();
    bool atEnd() const;

  private:
    QByteArray data_;
    qsizetype pos_ = 0;
};

}  // namespace platform
