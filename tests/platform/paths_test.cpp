#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "platform/paths.h"
#include "testsupport.h"

TEST(Paths, PrefixIsPreparedAndDrivePathsResolveWithoutCase) {
    testing_support::TempPrefix prefix;
    EXPECT_TRUE(QFileInfo(prefix.zunoDir()).isDir());
    EXPECT_EQ(QFileInfo(platform::comDevice(1)).symLinkTarget(), "/dev/ttyS0");
    EXPECT_EQ(QFileInfo(platform::comDevice(2)).symLinkTarget(), "/dev/ttyS1");
    EXPECT_EQ(platform::resolvePath("C:\\ZUNO\\ZUNO.CFG"), prefix.zunoDir() + "/ZUNO.CFG");
    // An existing folder is found whatever the case it is typed in.
    QDir().mkpath(prefix.path() + "/drive_c/Dados/Ciclos");
    EXPECT_EQ(platform::resolvePath("c:\\DADOS\\ciclos\\"),
              prefix.path() + "/drive_c/Dados/Ciclos");
    EXPECT_EQ(platform::resolvePath("/srv/zuno/"), "/srv/zuno/");
}
