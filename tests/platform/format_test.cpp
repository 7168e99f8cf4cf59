#include <gtest/gtest.h>

#include "platform/format.h"
#include "testsupport.h"

using platform::Format;
using platform::FormatDate;

struct FormatCase {
    double value;
    const char* pattern;
    const char* c;     // C locale
    const char* ptBR;  // pt_BR locale
};

TEST(Format, PatternsInBothLocales) {
    const FormatCase cases[] = {
        {-0.8, "0.00 bar", "-0.80 bar", "-0,80 bar"},
        {1.005, "0.00 bar", "1.01 bar", "1,01 bar"},  // 1.005 reads as 1.005: half away
        {0.0, "0.00 bar", "0.00 bar", "0,00 bar"},
        {-0.001, "0.00 bar", "0.00 bar", "0,00 bar"},  // no minus on a shown zero
        {57.5, "##0", "58", "58"},
        {-2.5, "##0", "-3", "-3"},
        {0.4, "##0", "0", "0"},
        {1234.0, "##0", "1234", "1234"},
        {98.7, "##0.0", "98.7", "98,7"},
        {0.05, "##0.0", "0.1", "0,1"},
        {5.0, "000.0", "005.0", "005,0"},
        {2.675, "##0.00", "2.68", "2,68"},
        {7.0, "0000", "0007", "0007"},
        {12345.0, "0000", "12345", "12345"},
        {42.0, "000", "042", "042"},
        {3.0, "#", "3", "3"},
        {0.0, "#", "", ""},
        {1234.0, "00:00", "12:34", "12:34"},
        {5.0, "00:00", "00:05", "00:05"},
        {57.5, "##0 \\%", "58 %", "58 %"},
        {0.25, "0%", "25%", "25%"},
    };
    for (const FormatCase& c : cases) {
        {
            testing_support::ScopedLocale l(QLocale::c());
            EXPECT_EQ(Format(c.value, c.pattern), c.c) << c.value << " " << c.pattern;
        }
        {
            testing_support::ScopedLocale l(QLocale(QLocale::Portuguese, QLocale::Brazil));
            EXPECT_EQ(Format(c.value, c.pattern), c.ptBR) << c.value << " " << c.pattern;
        }
    }
}

TEST(Format, DatePatterns) {
    const QDateTime t(QDate(2004, 12, 10), QTime(9, 5, 7));
    EXPECT_EQ(FormatDate(t, "yymmdd"), "041210");
    EXPECT_EQ(FormatDate(t, "dd/mm/yy hh:mm"), "10/12/04 09:05");
    EXPECT_EQ(FormatDate(t, "dd/mm/yy  hh:mm"), "10/12/04  09:05");
    EXPECT_EQ(platform::GeneralDate(t), "10/12/2004 09:05:07");
    EXPECT_EQ(platform::ParseGeneralDate("10/12/2004 09:05:07"), t);
}

TEST(Format, Conversions) {
    EXPECT_EQ(platform::RoundHalfEven(2.5), 2);
    EXPECT_EQ(platform::RoundHalfEven(3.5), 4);
    EXPECT_EQ(platform::RoundHalfAway(2.5), 3);
    EXPECT_EQ(platform::RoundHalfAway(-2.5), -3);
    EXPECT_EQ(platform::Val("  12abc"), 12);
    EXPECT_EQ(platform::Val("-1.5x"), -1.5);
    EXPECT_EQ(platform::Val("abc"), 0);
    EXPECT_EQ(platform::ToInt16(32767.4), std::optional<int16_t>(32767));
    EXPECT_FALSE(platform::ToInt16(32767.5));  // rounds to even 32768
    EXPECT_FALSE(platform::ToInt16(-40000));
    // 0.24 * 100 is 23.999999999999996 in binary.
    EXPECT_EQ(platform::FloorTolerant(0.24 * 100), 24);
    EXPECT_EQ(platform::FloorTolerant(-0.505 * 100), -51);
    EXPECT_EQ(platform::FloorTolerant(1.999), 1);
}
