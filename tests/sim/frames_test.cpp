#include <gtest/gtest.h>

#include "frames.h"

using namespace sim;

namespace {

const std::string kFrame281 = encodeRequest(2, 81, 2503);

}  // namespace

TEST(SimFrames, RequestBytes) {
    const std::string expected = {27, 27, 2, 50, 48, 49, 56, 51, 48, 53, 50, 13};
    EXPECT_EQ(kFrame281, expected);
}

TEST(SimFrames, ParserFindsFramesInNoisyStream) {
    const std::string f5 = encodeRequest(5, 0, 0);
    std::string badDigit = kFrame281;
    badDigit[7] = ':';
    std::string noCr = kFrame281;
    noCr[11] = 'x';
    std::string badZero = kFrame281;
    badZero[4] = '1';
    struct Case {
        const char* name;
        std::string stream;
        std::vector<int> slots;
    };
    const std::vector<Case> cases = {
        {"clean", kFrame281, {2}},
        {"garbage before", "xy\r\x02" + kFrame281, {2}},
        {"back to back", kFrame281 + f5, {2, 5}},
        {"extra esc", "\x1b" + kFrame281, {2}},
        {"broken then good", noCr + f5, {5}},
        {"non-digit value", badDigit + f5, {5}},
        {"second byte not zero", badZero + f5, {5}},
        {"truncated then good", kFrame281.substr(0, 7) + f5, {5}},
    };
    for (const Case& c : cases) {
        RequestParser p;
        std::vector<int> slots;
        for (const Request& r : p.feed(c.stream)) slots.push_back(r.slot);
        EXPECT_EQ(slots, c.slots) << c.name;
    }
}

TEST(SimFrames, ParserJoinsFrameSplitAcrossReads) {
    RequestParser p;
    std::vector<Request> got;
    for (char c : kFrame281) {
        for (const Request& r : p.feed(std::string_view(&c, 1))) got.push_back(r);
    }
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].slot, 2);
    EXPECT_EQ(got[0].code, 81);
    EXPECT_EQ(got[0].value, 2503);
    EXPECT_EQ(p.discarded(), 0u);
}

TEST(SimFrames, BinaryLayoutReply) {
    Reply r;
    r.slot = 2;
    r.model = 1;
    r.temps = {134, 133, 132, 131, 121, 120};
    r.pair4 = 114;  // 1.0 bar on the 3-bar scale
    r.pair5 = 95;   // 0.5 bar
    r.status = 2;
    r.phase = 7;
    r.param = 130;
    EXPECT_EQ(encodeReply(r),
              "\x02"
              "2100978727?568584838002070000310\r");
}

TEST(SimFrames, DecimalLayoutReply) {
    Reply r;
    r.slot = 4;
    r.model = 4;
    r.temps = {1805, 1250, 999, 0, 9999, 1234};
    r.pair4 = 200;  // not carried in this layout
    r.status = 99;
    r.phase = 2;
    r.humidity = 57;  // only model 6 carries it
    r.param = 4321;   // pairs 14/15 hold T6 instead
    EXPECT_EQ(encodeReply(r),
              "\x02"
              "44508105219990000099993620004321\r");
    r.slot = 6;
    r.model = 6;
    EXPECT_EQ(encodeReply(r),
              "\x02"
              "66508105219990000099993620754321\r");
}
