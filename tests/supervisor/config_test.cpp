#include <QDir>

#include "fixture.h"

using namespace ZUNO1;

class ConfigTest : public SupervisorTest {};

TEST_F(ConfigTest, FilesReadOrFallBack) {
    struct Case {
        const char* name;
        QByteArray text;
        bool readable;
        int scale;  // TransducerScale afterwards
    };
    const QByteArray full = configText({1, 2, 3, 4, 5, 6}, "D:\\DADOS\\");
    QByteArray fifteen = full.left(full.lastIndexOf("49688401"));
    fifteen.replace("\r\n0\r\n", "\r\n1\r\n");  // scale 1 on line 15
    const Case cases[] = {
        {"sixteen values", full, true, 0},
        {"extra lines", full + "99\r\nlixo\r\n", true, 0},
        {"fifteen values", fifteen, false, 1},
        {"text for a number", QByteArray(full).replace("0\r\n1\r\n", "x\r\n1\r\n"), false, 0},
        {"model out of 16 bits", QByteArray(full).replace("\r\n1\r\n", "\r\n70000\r\n"), false, 0},
        {"commas between values", "1,7,0,0,0,0,0,66,65,65,65,65,65,C:\\Z\\,0,1\r\n", true, 0},
    };
    for (const Case& c : cases) {
        resetSlotTable();
        writeConfig(c.text);
        EXPECT_EQ(LeConfig(), c.readable) << c.name;
        EXPECT_EQ(TransducerScale, c.scale) << c.name;
    }
    resetSlotTable();
    writeConfig(full);
    ASSERT_TRUE(LeConfig());
    EXPECT_EQ(InstalledModel, (PerSlot<Integer>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(DataPath, "D:\\DADOS\\");
    EXPECT_EQ(AccessPassword, 7049);
}

TEST_F(ConfigTest, WrittenFileReadsBackWhole) {
    struct Case {
        double password;
        double readBack;
        const char* path;
    };
    const Case cases[] = {
        {7, 7, "C:\\ZUNO\\"},           {42, 42, "C:\\ZUNO\\"},
        {123, 123, "D:\\a,b\\"},  // comma kept through quotes
        {9999, 9999, " C:\\espaço \\"}, {-12.5, 12, "C:\\ZUNO\\"},
        {3.75, 3, "C:\\ZUNO\\"},
    };
    for (const Case& c : cases) {
        AplicaPadroes();
        PortChoice = 1;
        InstalledModel = {0, 7, 0, 4, 0, 0, 6};
        FileLetter = {0, 65, 66, 90, 65, 65, 65};
        TransducerScale = 1;
        DataPath = QString::fromUtf8(c.path);
        AccessPassword = c.password;
        ASSERT_TRUE(GravaConfig());
        const QByteArray text = readConfig();
        EXPECT_EQ(text.count("\r\n"), 16);
        resetSlotTable();
        ASSERT_TRUE(LeConfig()) << text.constData();
        EXPECT_EQ(AccessPassword, c.readBack);
        EXPECT_EQ(DataPath, QString::fromUtf8(c.path));
        EXPECT_EQ(PortChoice, 1);
        EXPECT_EQ(InstalledModel, (PerSlot<Integer>{0, 7, 0, 4, 0, 0, 6}));
        EXPECT_EQ(FileLetter, (PerSlot<Integer>{0, 65, 66, 90, 65, 65, 65}));
        EXPECT_EQ(TransducerScale, 1);
    }
    // A plain path stays unquoted, as older readers expect.
    DataPath = "C:\\ZUNO\\";
    GravaConfig();
    EXPECT_TRUE(readConfig().contains("\r\nC:\\ZUNO\\\r\n"));
}

TEST_F(ConfigTest, MissingFolderIsCreatedAndFailureKeepsTheOldFile) {
    QDir(prefix.zunoDir()).removeRecursively();
    AplicaPadroes();
    ASSERT_TRUE(GravaConfig());
    EXPECT_EQ(readConfig().count("\r\n"), 16);
    EXPECT_TRUE(dialogs->messages().isEmpty());

    // A file where the folder should be: nothing can be written there.
    const QByteArray before = readConfig();
    QDir(prefix.zunoDir()).removeRecursively();
    QFile blocker(prefix.zunoDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(GravaConfig());
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages()[0].text.contains("não foram salvas"));
    QFile::remove(prefix.zunoDir());
    QDir().mkpath(prefix.zunoDir());
    writeConfig(before);
}
