#pragma once
// Cycle data files: one value per line, CR LF line ends, Latin-1.
//   slot
//   header code
//   lot line (header code 6 only): "L" + lot padded to 11, or 11 NULs
//   creation date and time, dd/mm/yyyy hh:mm:ss
//   records, each a fixed number of values by header code
// Numbers are written as blank-or-minus, digits, blank.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "supervisor/zuno1.h"

namespace records {

constexpr int kMaxValues = 8;

// Header code written for a model code (GZO NEO writes 3); 0 outside 1..7.
int headerCode(int model);
// Values per record for a header code, as a reader takes them: 6 for code 4, 7 for
// code 6, 8 for any other code.
int recordLength(int headerCode);

// Name of a data file without its folder: yymmdd, letter, slot, extension.
QString dataFileBaseName(const QDateTime& created, QChar letter, int slot, int model);
// A folder as typed, joined to a file name; a separator is added when the folder has
// none at its end ("\" for drive paths, "/" otherwise).
QString joinDataPath(const QString& folder, const QString& fileName);
// Folder part of a program path, with its final separator.
QString folderOf(const QString& programPath);

// The current record of a slot from the slot table, in the layout of its model:
// recordLength(headerCode(model)) values.
QList<qint64> recordValues(int slot, int model);

// Header lines: slot, header code, lot line for code 6, date-time line.
QByteArray headerBytes(int slot, int model, const QString& lot, const QDateTime& created);
// One record.
QByteArray recordBytes(const QList<qint64>& values);

// --- reading ---------------------------------------------------------------------

// A value that cannot be read is empty; the record still counts.
struct DataRecord {
    std::array<std::optional<double>, kMaxValues> values;
};

struct DataFile {
    std::optional<int> slot;
    std::optional<int> headerCode;
    // The lot line as written: "L..." or 11 NULs; empty when the file has none.
    std::optional<QString> lotLine;
    QString date;  // creation date-time text
    QList<DataRecord> records;
    bool moreRecords = false;  // records beyond the limit were left unread

    // Values per record of this file.
    int recordLength() const { return records::recordLength(headerCode.value_or(0)); }
    // The lot as the reports show it: the text after "L", padded with spaces to 11;
    // 11 spaces when no lot was typed.
    QString reportLot() const;
};

// Reads a whole file. The third line is the lot line for header code 6 (whatever it
// holds) and for any line beginning with "L"; text lines are taken whole, commas
// included. Blank lines at the end are not a record. At most maxRecords are read.
DataFile parseDataFile(const QByteArray& bytes, qsizetype maxRecords = ZUNO1::kReportCapacity);
// Opens a file by its program path (C:\... or a Unix path); nothing when it cannot be
// opened.
std::optional<DataFile> readDataFile(const QString& programPath,
                                     qsizetype maxRecords = ZUNO1::kReportCapacity);

}  // namespace records
