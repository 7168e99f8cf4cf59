#include <gtest/gtest.h>

#include "supervisor/frames.h"

using namespace ZUNO1;

namespace {
QByteArray reply(const QByteArray& body32, char end = '\r') {
    return QByteArray(1, STX) + body32 + end;
}
const QByteArray kWhole = "2100978727?568584838002070000310";
}  // namespace

TEST(Frames, RequestCarriesDigitsLeastSignificantFirst) {
    const QByteArray expected(
        "\x1b\x1b\x02"
        "20183052\r");
    EXPECT_EQ(RequestFrame(2, 81, 2503), expected);
    EXPECT_EQ(RequestFrame(5, 0, 0), QByteArray("\x1b\x1b\x02"
                                                "50000000\r"));
}

TEST(Frames, WholeReplyGivesItsValues) {
    const auto r = DecodeReply(reply(kWhole), 0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->slot, 2);
    EXPECT_EQ(r->model, 1);
    EXPECT_EQ(r->temp, (std::array<int16_t, 7>{134, 133, 132, 131, 121, 120, 50}));
    EXPECT_NEAR(r->outerPressure, 1.0, 1e-12);
    EXPECT_NEAR(r->innerPressure, 0.5, 1e-12);
    EXPECT_NEAR(r->humidity, 76.106, 1e-3);
    EXPECT_EQ(r->cycleStatus, 2);
    EXPECT_EQ(r->cyclePhase, 7);
    EXPECT_EQ(r->paramLow, 30);
    EXPECT_EQ(r->paramHigh, 1);
}

TEST(Frames, RepliesRefusedOrConvertedByTable) {
    struct Case {
        const char* name;
        QByteArray frame;
        int scale;
        int slot;         // 0 = refused, -1 = dropped (overflow)
        int temp1;        // -1 = not checked
        double humidity;  // NaN = not checked
        double outer;     // NaN = not checked
    };
    const double x = std::nan("");
    QByteArray pair4 = kWhole;  // pair 4 = "0;" -> B 176
    pair4.replace(8, 2, "0;");
    QByteArray pair4low = kWhole;  // B = 28
    pair4low.replace(8, 2, "<1");
    QByteArray decimal4 = kWhole;  // model 4, positions 4..7 = 5 2 1 0
    decimal4[1] = '4';
    decimal4.replace(2, 4, "5210");
    QByteArray humid100 = kWhole;
    humid100[1] = '6';
    humid100.replace(26, 2, ":9");
    QByteArray humid42 = humid100;
    humid42.replace(26, 2, "24");
    QByteArray overflow = decimal4;  // hundreds of T1 = 1672: beyond 16 bits
    overflow[4] = char(200);
    overflow[5] = char(200);
    QByteArray badSlot = kWhole;
    badSlot[0] = '7';
    const Case cases[] = {
        {"3-bar pair 4 = 176", reply(pair4), 0, 2, 134, 100.0, 176.0 / 38 - 1 - 1},
        {"5-bar pair 4 = 176", reply(pair4), 1, 2, -1, x, (176.0 - 38) / 25 - 1},
        {"pair 4 = 28", reply(pair4low), 0, 2, -1, 0.0, x},
        {"decimal layout", reply(decimal4), 0, 2, 125, x, x},
        {"humidity 100 refused", reply(humid100), 0, 0, -1, 100.0, x},
        {"humidity 42", reply(humid42), 0, 2, -1, 42.0, x},
        {"slot 7 refused", reply(badSlot), 0, 0, -1, x, x},
        {"no CR refused", reply(kWhole, 'X'), 0, 0, -1, x, x},
        {"16-bit overflow dropped", reply(overflow), 0, -1, -1, x, x},
    };
    for (const Case& c : cases) {
        const auto r = DecodeReply(c.frame, c.scale);
        if (c.slot < 0) {
            EXPECT_FALSE(r) << c.name;
            continue;
        }
        ASSERT_TRUE(r) << c.name;
        EXPECT_EQ(r->slot, c.slot) << c.name;
        if (c.temp1 >= 0) {
            EXPECT_EQ(r->temp[0], c.temp1) << c.name;
        }
        if (!std::isnan(c.humidity)) {
            EXPECT_NEAR(r->humidity, c.humidity, 1e-9) << c.name;
        }
        if (!std::isnan(c.outer)) {
            EXPECT_NEAR(r->outerPressure, c.outer, 1e-9) << c.name;
        }
    }
    EXPECT_EQ(DecodeReply(reply(pair4), 0)->temp[6], 90);
    QByteArray pair4neg = kWhole;  // B = 20: humidity below zero is kept
    pair4neg.replace(8, 2, "41");
    EXPECT_NEAR(DecodeReply(reply(pair4neg), 0)->humidity, -8 * 100.0 / 113, 1e-9);
}
