#include "records/datafile.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "platform/format.h"
#include "platform/paths.h"
#include "platform/seqfile.h"

using namespace ZUNO1;

namespace records {

int headerCode(int model) {
    if (!isModel(model) || model == NotInstalled) return 0;
    return model == GZONEO ? int(GZO1) : model;
}

int recordLength(int headerCode) {
    if (headerCode == TERMA) return 6;
    if (headerCode == RT58HW) return 7;
    return 8;
}

QString dataFileBaseName(const QDateTime& created, QChar letter, int slot, int model) {
    return platform::FormatDate(created, QStringLiteral("yymmdd")) + letter +
           QString::number(slot) + fileExtension(model);
}

static bool isDrivePath(const QString& path) {
    return path.contains(QLatin1Char('\\')) || (path.size() >= 2 && path[1] == QLatin1Char(':'));
}

QString joinDataPath(const QString& folder, const QString& fileName) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        return folder + fileName;
    return folder + (isDrivePath(folder) ? QLatin1Char('\\') : QLatin1Char('/')) + fileName;
}

QString folderOf(const QString& programPath) {
    const qsizetype cut = std::max(programPath.lastIndexOf(QLatin1Char('\\')),
                                   programPath.lastIndexOf(QLatin1Char('/')));
    return programPath.left(cut + 1);
}

// Whole hundredths or percent: a product within 1e-9 of a whole number is that number.
// Every value written fits 16 bits.
static qint64 wholeValue(double v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<qint64>(std::clamp(platform::FloorTolerant(v), -32768.0, 32767.0));
}

QList<qint64> recordValues(int slot, int model) {
    QList<qint64> v{Temp1[slot], Temp2[slot], Temp3[slot], Temp4[slot],
                    Temp5[slot], Temp6[slot], 0,           0};
    const int code = headerCode(model);
    switch (code) {
        case KVS:
        case PRXT:
            v[6] = wholeValue(OuterPressure[slot] * 100);
            v[7] = wholeValue(InnerPressure[slot] * 100);
            break;
        case GZO1:
            v[6] = wholeValue(Humidity[slot]);
            v[7] = wholeValue(InnerPressure[slot] * 100);
            break;
        case GZO2:
            v[6] = Temp7[slot];
            v[7] = wholeValue(InnerPressure[slot] * 100);
            break;
        case RT58HW:
            v[6] = wholeValue(Humidity[slot]);
            break;
        default:
            break;
    }
    v.resize(recordLength(code));
    return v;
}

// Exactly 11 characters; a line break inside would shift every later field.
static QString lotField(const QString& lot) {
    if (lot.isEmpty()) return QString(kLotLength, QChar(0));
    QString out = lot.left(kLotLength).leftJustified(kLotLength, QLatin1Char(' '));
    out.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

QByteArray headerBytes(int slot, int model, const QString& lot, const QDateTime& created) {
    const int code = headerCode(model);
    QByteArray out = platform::NumberLine(slot) + platform::NumberLine(code);
    if (code == RT58HW) out += platform::TextLine(lotField(lot));
    out += platform::TextLine(platform::GeneralDate(created));
    return out;
}

QByteArray recordBytes(const QList<qint64>& values) {
    QByteArray out;
    for (qint64 v : values) out += platform::NumberLine(v);
    return out;
}

// --- reading ---------------------------------------------------------------------

QString DataFile::reportLot() const {
    if (!lotLine || !lotLine->startsWith(QLatin1Char('L')))
        return QString(kLotLength, QLatin1Char(' '));
    return lotLine->mid(1, kLotLength - 1).leftJustified(kLotLength, QLatin1Char(' '));
}

static bool onlyBlanksFrom(const QByteArray& bytes, qsizetype pos) {
    for (qsizetype i = pos; i < bytes.size(); ++i)
        if (!QByteArrayView(" \t\r\n").contains(bytes[i])) return false;
    return true;
}

namespace {

// Lines of a data file; numbers skip blanks around them.
class Lines {
  public:
    explicit Lines(const QByteArray& bytes) : bytes_(bytes) {}

    std::optional<QString> line() {
        if (pos_ >= bytes_.size()) return std::nullopt;
        qsizetype end = pos_;
        while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
        const QString out = QString::fromLatin1(bytes_.mid(pos_, end - pos_));
        pos_ = end;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
        return out;
    }
    std::optional<double> number() {
        const std::optional<QString> l = line();
        if (!l) return std::nullopt;
        bool ok = false;
        const double v = l->trimmed().toDouble(&ok);
        if (!ok) return std::nullopt;
        return v;
    }
    bool atEnd() const { return onlyBlanksFrom(bytes_, pos_); }

  private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

std::optional<int> wholeNumber(std::optional<double> v) {
    if (!v || !platform::FitsInt16(*v) || *v != std::floor(*v)) return std::nullopt;
    return int(*v);
}

}  // namespace

DataFile parseDataFile(const QByteArray& bytes, qsizetype maxRecords) {
    DataFile file;
    Lines in(bytes);
    file.slot = wholeNumber(in.number());
    file.headerCode = wholeNumber(in.number());
    std::optional<QString> third = in.line();
    if (third && (file.headerCode == RT58HW || third->startsWith(QLatin1Char('L')))) {
        file.lotLine = third;
        third = in.line();
    }
    if (third) {
        qsizetype lead = 0;
        while (lead < third->size() && (*third)[lead] == QLatin1Char(' ')) ++lead;
        file.date = third->mid(lead);
    }
    const int length = file.recordLength();
    while (!in.atEnd()) {
        if (file.records.size() >= maxRecords) {
            file.moreRecords = true;
            break;
        }
        DataRecord r;
        for (int i = 0; i < length; ++i) r.values[i] = in.number();
        file.records.append(r);
    }
    return file;
}

std::optional<DataFile> readDataFile(const QString& programPath, qsizetype maxRecords) {
    QFile f(platform::resolvePath(programPath));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    return parseDataFile(bytes, maxRecords);
}

}  // namespace records
