// Reading data files as the reports take them.
#include <gtest/gtest.h>

#include "records/datafile.h"

using records::DataFile;
using records::parseDataFile;

namespace {

// Records as "v v v | v v v", an unreadable value as "?".
QString render(const DataFile& f) {
    QStringList out;
    for (const records::DataRecord& r : f.records) {
        QStringList values;
        for (int i = 0; i < f.recordLength(); ++i)
            values << (r.values[i] ? QString::number(*r.values[i]) : QStringLiteral("?"));
        out << values.join(' ');
    }
    return out.join(QStringLiteral(" | "));
}

const QByteArray kNoLot(11, '\0');

}  // namespace

TEST(DataFileReader, HeaderAndRecordsByCode) {
    struct Case {
        const char* name;
        QByteArray bytes;
        qsizetype limit;
        int code;
        QByteArray lotLine;  // empty: none
        QString reportLot;
        QString records;
        bool more;
    };
    const QByteArray date = "10/12/2004 14:35:22\r\n";
    const QByteArray washer = " 2 \r\n 6 \r\n";
    const QByteArray kvs = " 1 \r\n 1 \r\n" + date;
    const QByteArray kvsRecord = " 1 \r\n 2 \r\n 3 \r\n 4 \r\n 5 \r\n 6 \r\n 24 \r\n-51 \r\n";
    const Case cases[] = {
        {"washer, no lot typed",
         washer + kNoLot + "\r\n" + date +
             " 801 \r\n 802 \r\n 803 \r\n 804 \r\n 805 \r\n 806 \r\n 45 \r\n",
         100, 6, kNoLot, "           ", "801 802 803 804 805 806 45", false},
        {"washer, lot with a comma",
         washer + "LAB,12     \r\n" + date + " 1 \r\n 2 \r\n 3 \r\n 4 \r\n 5 \r\n 6 \r\n 7 \r\n",
         100, 6, "LAB,12     ", "AB,12      ", "1 2 3 4 5 6 7", false},
        {"oven, two records",
         " 3 \r\n 4 \r\n" + date +
             " 1 \r\n 2 \r\n 3 \r\n 4 \r\n 5 \r\n 6 \r\n"
             "-1 \r\n-2 \r\n-3 \r\n-4 \r\n-5 \r\n-6 \r\n",
         100, 4, "", "           ", "1 2 3 4 5 6 | -1 -2 -3 -4 -5 -6", false},
        {"record cut short", kvs + kvsRecord + " 9 \r\n 8 \r\n 7 \r\n", 100, 1, "", "           ",
         "1 2 3 4 5 6 24 -51 | 9 8 7 ? ? ? ? ?", false},
        {"blank line at the end", kvs + kvsRecord + "\r\n", 100, 1, "", "           ",
         "1 2 3 4 5 6 24 -51", false},
        {"text for a value", kvs + QByteArray(kvsRecord).replace(" 3 ", "x"), 100, 1, "",
         "           ", "1 2 ? 4 5 6 24 -51", false},
        {"more than the limit", kvs + kvsRecord + kvsRecord + kvsRecord, 2, 1, "", "           ",
         "1 2 3 4 5 6 24 -51 | 1 2 3 4 5 6 24 -51", true},
    };
    for (const Case& c : cases) {
        const DataFile f = parseDataFile(c.bytes, c.limit);
        EXPECT_EQ(f.slot.value_or(-1), c.code == 6 ? 2 : c.code == 4 ? 3 : 1) << c.name;
        EXPECT_EQ(f.headerCode.value_or(-1), c.code) << c.name;
        EXPECT_EQ(f.lotLine.value_or(QString()).toLatin1(), c.lotLine) << c.name;
        EXPECT_EQ(f.reportLot(), c.reportLot) << c.name;
        EXPECT_EQ(f.date, "10/12/2004 14:35:22") << c.name;
        EXPECT_EQ(render(f), c.records) << c.name;
        EXPECT_EQ(f.moreRecords, c.more) << c.name;
    }
}

TEST(DataFileReader, FileNamesJoinTheFolderAsTyped) {
    struct Case {
        const char* folder;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\ZUNO\\", "C:\\ZUNO\\041210A1.KVS"},
        {"C:\\ZUNO", "C:\\ZUNO\\041210A1.KVS"},
        {"D:", "D:\\041210A1.KVS"},
        {"/srv/zuno", "/srv/zuno/041210A1.KVS"},
        {"/srv/zuno/", "/srv/zuno/041210A1.KVS"},
    };
    for (const Case& c : cases) {
        const QString path = records::joinDataPath(c.folder, "041210A1.KVS");
        EXPECT_EQ(path, c.path) << c.folder;
        EXPECT_EQ(records::folderOf(path) + "041210A1.KVS", path) << c.folder;
    }
}
