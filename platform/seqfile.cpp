#include "platform/seqfile.h"

#include <QLocale>

namespace platform {

QByteArray NumberLine(long long value) {
    const QByteArray digits = QByteArray::number(value < 0 ? -value : value);
    return (value < 0 ? "-" : " ") + digits + " \r\n";
}

QByteArray TextLine(const QString& text) {
    return text.toLatin1() + "\r\n";
}

static bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
static bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool SeqReader::atEnd() const {
    return pos_ >= data_.size();
}

std::optional<QString> SeqReader::line() {
    if (atEnd()) return std::nullopt;
    qsizetype end = pos_;
    while (end < data_.size() && !isLineEnd(data_[end])) ++end;
    const QString out = QString::fromLatin1(data_.mid(pos_, end - pos_));
    pos_ = end;
    if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    return out;
}

std::optional<QString> SeqReader::field() {
    // Blank lines between fields are skipped like blanks.
    while (pos_ < data_.size() && (isBlank(data_[pos_]) || isLineEnd(data_[pos_]))) ++pos_;
    if (atEnd()) return std::nullopt;
    QString out;
    if (data_[pos_] == '"') {
        const qsizetype close = data_.indexOf('"', pos_ + 1);
        const qsizetype stop = close < 0 ? data_.size() : close;
        out = QString::fromLatin1(data_.mid(pos_ + 1, stop - pos_ - 1));
        pos_ = stop < data_.size() ? stop + 1 : stop;
        while (pos_ < data_.size() && data_[pos_] != ',' && !isLineEnd(data_[pos_])) ++pos_;
    } else {
        qsizetype end = pos_;
        while (end < data_.size() && data_[end] != ',' && !isLineEnd(data_[end])) ++end;
        out = QString::fromLatin1(data_.mid(pos_, end - pos_)).trimmed();
        pos_ = end;
    }
    if (pos_ < data_.size() && data_[pos_] == ',') {
        ++pos_;
    } else {
        if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    }
    return out;
}

std::optional<double> SeqReader::number() {
    const std::optional<QString> f = field();
    if (!f) return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(f->trimmed(), &ok);
    if (!ok) return std::nullopt;
    return v;
}

}  // namespace platform
