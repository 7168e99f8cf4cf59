#include "logfixture.h"

using namespace ZUNO1;

namespace {

// Number lines: blank or minus, digits, blank, CR LF.
QByteArray lines(std::initializer_list<qint64> values) {
    QByteArray out;
    for (qint64 v : values)
        out += (v < 0 ? "-" : " ") + QByteArray::number(std::llabs(v)) + " \r\n";
    return out;
}

QList<double> firstValues(const records::DataFile& f) {
    QList<double> out;
    for (const auto& r : f.records) out << r.values[0].value_or(-9999);
    return out;
}

void setValues(int slot, std::array<Integer, 7> temps, double outer, double inner,
               double humidity) {
    const std::array t{&Temp1, &Temp2, &Temp3, &Temp4, &Temp5, &Temp6, &Temp7};
    for (int i = 0; i < 7; ++i) (*t[i])[slot] = temps[i];
    OuterPressure[slot] = outer;
    InnerPressure[slot] = inner;
    Humidity[slot] = humidity;
}

}  // namespace

TEST_F(LoggerTest, NewFileAndAppendedRecordPerModel) {
    struct Case {
        int slot;
        int model;
        const char* lot;
        const char* name;
        QByteArray header;
        QByteArray first;
        QByteArray second;
    };
    const QByteArray date = "10/12/2004 14:35:22\r\n";
    const QByteArray temps = lines({121, 120, -5, 0, 1800, 33});
    const QByteArray temps2 = lines({-300, 120, -5, 0, 1800, 33});
    const QByteArray noLot = QByteArray(11, '\0') + "\r\n";
    // Pressures 0.24 and -0.505 bar, then 1.15 and 0.57 bar: 1.15 x 100 and 0.57 x 100
    // land just below 115 and 57 in binary and still count as them.
    const Case cases[] = {
        {1, KVS, "", "041210A1.KVS", lines({1, 1}) + date, temps + lines({24, -51}),
         temps2 + lines({115, 57})},
        {2, PRXT, "", "041210A2.PRX", lines({2, 2}) + date, temps + lines({24, -51}),
         temps2 + lines({115, 57})},
        {3, GZO1, "", "041210A3.GZO", lines({3, 3}) + date, temps + lines({56, -51}),
         temps2 + lines({45, 57})},
        {4, GZONEO, "", "041210A4.GZO", lines({4, 3}) + date, temps + lines({56, -51}),
         temps2 + lines({45, 57})},
        {5, GZO2, "", "041210A5.GZO", lines({5, 5}) + date, temps + lines({77, -51}),
         temps2 + lines({77, 57})},
        {6, TERMA, "", "041210A6.TER", lines({6, 4}) + date, temps, temps2},
        {1, RT58HW, "LAB-12     ", "041210A1.HW", lines({1, 6}) + "LAB-12     \r\n" + date,
         temps + lines({56}), temps2 + lines({45})},
        {2, RT58HW, nullptr, "041210A2.HW", lines({2, 6}) + noLot + date, temps + lines({56}),
         temps2 + lines({45})},
    };
    for (const Case& c : cases) {
        resetSlotTable();
        records::ResetLogger();
        DataPath = "C:\\ZUNO\\";
        FileLetter.fill('A');
        CycleStatus.fill(99);
        platform::setNow(QDateTime(QDate(2004, 12, 10), QTime(14, 35, 22)));
        if (c.lot) LotRecord[c.slot] = c.lot;
        run(c.slot, c.model);
        setValues(c.slot, {121, 120, -5, 0, 1800, 33, 77}, 0.24, -0.505, 56);
        ticks(1);
        const QString file = zuno() + "/" + c.name;
        EXPECT_EQ(bytes(file), c.header + c.first) << c.name;
        EXPECT_EQ(DataFileName[c.slot], QString("C:\\ZUNO\\") + c.name);

        setValues(c.slot, {-300, 120, -5, 0, 1800, 33, 77}, 1.15, 0.57, 45.7);
        ticks(c.model == RT58HW ? 10 : 1);
        EXPECT_EQ(bytes(file), c.header + c.first + c.second) << c.name;

        // The reader takes back what was written.
        const records::DataFile f = records::parseDataFile(bytes(file));
        ASSERT_EQ(f.records.size(), 2) << c.name;
        EXPECT_EQ(f.slot, c.slot);
        EXPECT_EQ(f.headerCode, records::headerCode(c.model));
        EXPECT_EQ(f.date, "10/12/2004 14:35:22");
        for (int n = 0; n < 2; ++n) {
            QByteArray again;
            for (int i = 0; i < f.recordLength(); ++i)
                again += lines({qint64(*f.records[n].values[i])});
            EXPECT_EQ(again, n == 0 ? c.first : c.second) << c.name;
        }
    }
}

TEST_F(LoggerTest, WasherDryerRecordsAtItsFirstTickAndEveryTenth) {
    const std::pair<int, int> ticksAndRecords[] = {{1, 1}, {9, 1}, {10, 1}, {11, 2}, {25, 3}};
    for (const auto& [n, expected] : ticksAndRecords) {
        run(2, RT58HW);
        ticks(n);
        stop(2);
        ticks(1);
        EXPECT_EQ(LoggingActive[2], 0);
        EXPECT_EQ(LogCountdown[2], 0);
        const auto f = records::readDataFile(DataFileName[2]);
        ASSERT_TRUE(f) << n;
        EXPECT_EQ(f->records.size(), expected) << n << " ticks";
    }
}

TEST_F(LoggerTest, OnlyAStatusBelowFourIsRecorded) {
    const Integer statuses[] = {0, 3, 4, 50, 99, 2};
    for (int slot = 1; slot <= 6; ++slot) {
        InstalledModel[slot] = KVS;
        CycleStatus[slot] = statuses[slot - 1];
    }
    InstalledModel[6] = 9;  // not a model: skipped
    ticks(2);
    EXPECT_EQ(filesIn(zuno()), QStringList({"041210A1.KVS", "041210A2.KVS", "ZUNO.CFG"}));
    EXPECT_EQ(LoggingActive, (PerSlot<Integer>{0, 1, 1, 0, 0, 0, 0}));
}

TEST_F(LoggerTest, LetterUsedMovesOnAndIsSaved) {
    FileLetter = {0, 'A', 'Z', 0, 200, 'M', 'A'};
    Form1& f = loadMainWindow();
    struct Case {
        int slot;
        char used;
        Integer saved;
    };
    const Case cases[] = {
        {1, 'A', 'B'}, {2, 'Z', 'A'}, {3, 'A', 'B'}, {4, 'A', 'B'}, {5, 'M', 'N'}};
    for (const Case& c : cases) run(c.slot, TERMA);
    ticks(1);
    const QList<QByteArray> config = configLines();
    for (const Case& c : cases) {
        EXPECT_EQ(DataFileName[c.slot],
                  QString("C:\\ZUNO\\041210%1%2.TER").arg(c.used).arg(c.slot));
        EXPECT_EQ(FileLetter[c.slot], c.saved) << c.slot;
        EXPECT_EQ(config[7 + c.slot - 1], QByteArray::number(c.saved) + "\r") << c.slot;
    }
    EXPECT_EQ(f.Label6->text(), "C:\\ZUNO\\041210M5.TER");
}

TEST_F(LoggerTest, NoFileIsEverReplaced) {
    // Left from an earlier run, under another case.
    QFile old(zuno() + "/041210b1.kvs");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("antigo");
    old.close();

    // 27 cycles of slot 1 on one day.
    for (int cycle = 1; cycle <= 27; ++cycle) {
        run(1, KVS);
        Temp1[1] = Integer(cycle);
        ticks(1);
        stop(1);
        ticks(1);
    }
    QStringList names = filesIn(zuno());
    names.removeAll("ZUNO.CFG");
    EXPECT_EQ(names.size(), 28);
    EXPECT_EQ(bytes(zuno() + "/041210b1.kvs"), "antigo");
    // A, C..Z, then every letter taken: a number after the letter in turn.
    const std::pair<const char*, int> firsts[] = {{"041210A1.KVS", 1},
                                                  {"041210C1.KVS", 2},
                                                  {"041210Z1.KVS", 25},
                                                  {"041210A1-2.KVS", 26},
                                                  {"041210B1-2.KVS", 27}};
    for (const auto& [name, cycle] : firsts) {
        const auto f = records::readDataFile(zuno() + "/" + name);
        ASSERT_TRUE(f) << name;
        EXPECT_EQ(firstValues(*f), QList<double>({double(cycle)})) << name;
    }
    EXPECT_EQ(FileLetter[1], 'C');
}

TEST_F(LoggerTest, ARunningCycleKeepsItsFile) {
    // Across midnight, and with the data folder changed under it.
    platform::setNow(QDateTime(QDate(2004, 12, 10), QTime(23, 58, 40)));
    run(1, KVS);
    ticks(1);
    DataPath = "C:\\ZUNO\\NOVA\\";
    ticks(2);
    EXPECT_EQ(DataFileName[1], "C:\\ZUNO\\041210A1.KVS");
    EXPECT_EQ(records::readDataFile(DataFileName[1])->records.size(), 3);
    EXPECT_FALSE(QDir(zuno() + "/NOVA").exists());

    stop(1);
    ticks(1);
    run(1, KVS);
    ticks(1);
    EXPECT_EQ(DataFileName[1], "C:\\ZUNO\\NOVA\\041211B1.KVS");
    EXPECT_TRUE(QFile::exists(zuno() + "/NOVA/041211B1.KVS"));
}

TEST_F(LoggerTest, FileLandsInTheFolderAsTypedAndMissingFoldersAreMade) {
    const QString outside = prefix.path() + "/fora";
    struct Case {
        QString dataPath;
        QString name;
        QString onDisk;
    };
    const Case cases[] = {
        {"C:\\ZUNO\\", "C:\\ZUNO\\041210A1.KVS", zuno() + "/041210A1.KVS"},
        {"C:\\ZUNO", "C:\\ZUNO\\041210A2.KVS", zuno() + "/041210A2.KVS"},
        {"c:\\zuno\\Dados\\Novos", "c:\\zuno\\Dados\\Novos\\041210A3.KVS",
         zuno() + "/Dados/Novos/041210A3.KVS"},
        {outside + "/a", outside + "/a/041210A4.KVS", outside + "/a/041210A4.KVS"},
        {outside + "/b/", outside + "/b/041210A5.KVS", outside + "/b/041210A5.KVS"},
    };
    int slot = 0;
    for (const Case& c : cases) {
        ++slot;
        DataPath = c.dataPath;
        run(slot, KVS);
        ticks(1);
        EXPECT_EQ(DataFileName[slot], c.name);
        EXPECT_TRUE(QFile::exists(c.onDisk)) << c.onDisk.toStdString();
        EXPECT_EQ(DataPath, c.dataPath);
        EXPECT_EQ(records::PendingCount(), 0);
    }
}

TEST_F(LoggerTest, RecordsWaitForAFolderThatRefusesThemAndFollowInOrder) {
    const QString folder = prefix.path() + "/dados";
    DataPath = folder;
    Form1& f = loadMainWindow();
    // A regular file where the folder should be refuses every write, also to root.
    auto block = [&] {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    };
    auto tickWith = [&](int n) {
        Temp1[1] = Integer(n);
        ticks(1);
    };
    block();
    run(1, KVS);
    tickWith(0);
    tickWith(1);
    tickWith(2);
    EXPECT_EQ(records::PendingCount(), 3);
    EXPECT_TRUE(f.LogWarning->isVisibleTo(&f));
    EXPECT_TRUE(f.LogWarning->text().contains(folder + "/")) << f.LogWarning->text().toStdString();
    EXPECT_EQ(DataFileName[1], folder + "/041210A1.KVS");

    ASSERT_TRUE(QFile::remove(folder));
    tickWith(3);
    EXPECT_FALSE(f.LogWarning->isVisibleTo(&f));
    EXPECT_EQ(records::PendingCount(), 0);

    // Gone in the middle of the cycle, which ends before the folder comes back.
    ASSERT_TRUE(QDir().rename(folder, folder + ".fora"));
    block();
    tickWith(4);
    tickWith(5);
    stop(1);
    tickWith(6);
    EXPECT_TRUE(f.LogWarning->isVisibleTo(&f));
    EXPECT_EQ(LoggingActive[1], 0);
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(folder + ".fora", folder));
    tickWith(7);
    EXPECT_FALSE(f.LogWarning->isVisibleTo(&f));

    const auto file = records::readDataFile(DataFileName[1]);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->date, "10/12/2004 14:35:22");  // the first tick's
    EXPECT_EQ(firstValues(*file), QList<double>({0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(dialogs->shown.isEmpty());
}

TEST_F(LoggerTest, AFullDiskLeavesNoPartOfARecordBehind) {
    bool full = false;
    records::SetWriteHook([&](QFile& file, const QByteArray& bytes) -> qint64 {
        if (!full) return file.write(bytes);
        file.write(bytes.left(bytes.size() / 2));
        return -1;
    });
    run(1, GZO2);
    const bool fullAt[] = {true, true, false, true, true, false, false};
    for (int n = 0; n < 7; ++n) {
        full = fullAt[n];
        Temp1[1] = Integer(n);
        ticks(1);
    }
    const QByteArray written = bytes(zuno() + "/041210A1.GZO");
    const records::DataFile f = records::parseDataFile(written);
    EXPECT_EQ(f.headerCode, 5);
    EXPECT_EQ(f.date, "10/12/2004 14:35:22");
    EXPECT_EQ(firstValues(f), QList<double>({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(written.count('\n'), 3 + 7 * 8);
}

TEST_F(LoggerTest, ACycleGoesOnInANewFileWhenItsOwnCannotTakeIt) {
    // Deleted under the cycle: no headerless file, the rest goes to a file of its own.
    run(1, KVS);
    ticks(2);
    ASSERT_TRUE(QFile::remove(zuno() + "/041210A1.KVS"));
    Temp1[1] = 77;
    ticks(1);
    EXPECT_FALSE(QFile::exists(zuno() + "/041210A1.KVS"));
    EXPECT_EQ(DataFileName[1], "C:\\ZUNO\\041210B1.KVS");
    auto f = records::readDataFile(DataFileName[1]);
    EXPECT_EQ(f->slot, 1);
    EXPECT_EQ(f->date, "10/12/2004 14:37:22");
    EXPECT_EQ(firstValues(*f), QList<double>({77}));

    // Another model installed at the slot: its records do not go into the old layout.
    InstalledModel[1] = TERMA;
    ticks(1);
    EXPECT_EQ(DataFileName[1], "C:\\ZUNO\\041210C1.TER");
    EXPECT_EQ(records::readDataFile(DataFileName[1])->records.size(), 1);
    EXPECT_EQ(records::readDataFile("C:\\ZUNO\\041210B1.KVS")->records.size(), 1);
}
