#include <gtest/gtest.h>

#include "platform/seqfile.h"

using platform::SeqReader;

TEST(SeqFile, NumbersAreWrittenSignDigitsBlank) {
    EXPECT_EQ(platform::NumberLine(5), QByteArray(" 5 \r\n"));
    EXPECT_EQ(platform::NumberLine(-51), QByteArray("-51 \r\n"));
    EXPECT_EQ(platform::NumberLine(0), QByteArray(" 0 \r\n"));
    EXPECT_EQ(platform::TextLine(QString::fromUtf8("ação")), QByteArray("a\xe7\xe3o\r\n"));
}

TEST(SeqFile, FieldsAcrossCommasLineEndsAndQuotes) {
    SeqReader in("1,2\r\n  3  \r\n\"C:\\a, b\\\"\r\nC:\\x,y\r\n-4\n");
    EXPECT_EQ(in.number(), 1);
    EXPECT_EQ(in.number(), 2);
    EXPECT_EQ(in.number(), 3);
    EXPECT_EQ(in.field(), QString("C:\\a, b\\"));
    EXPECT_EQ(in.field(), QString("C:\\x"));
    EXPECT_EQ(in.field(), QString("y"));
    EXPECT_EQ(in.number(), -4);
    EXPECT_TRUE(in.atEnd());
    EXPECT_FALSE(in.number());
}

TEST(SeqFile, LinesKeepTheirBlanksAndNonNumbersFail) {
    SeqReader in(QByteArray("LAB12      \r\nabc\r\n"));
    EXPECT_EQ(in.line(), QString("LAB12      "));
    EXPECT_FALSE(in.number());
}
