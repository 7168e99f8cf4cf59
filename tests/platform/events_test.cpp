#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <ctime>

#include "platform/events.h"

// The wait sleeps: its CPU time stays far below its wall time.
TEST(Events, WaitUntilEndsOnConditionOrDeadlineWithoutSpinning) {
    bool flag = false;
    QTimer::singleShot(50, [&] { flag = true; });
    EXPECT_TRUE(platform::WaitUntil([&] { return flag; }, std::chrono::seconds(5)));

    const std::clock_t cpu0 = std::clock();
    QElapsedTimer wall;
    wall.start();
    EXPECT_FALSE(platform::WaitUntil([] { return false; }, std::chrono::milliseconds(300)));
    EXPECT_GE(wall.elapsed(), 290);
    const double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMs, 100.0);
}
