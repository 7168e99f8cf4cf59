#pragma once
// The two frames of the controller line: the 12-byte request and the 34-character reply.
#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

namespace ZUNO1 {

constexpr char STX = 2;
constexpr char ESC = 27;
constexpr char CR = 13;
constexpr int kRequestLength = 12;
constexpr int kReplyLength = 34;

// ESC ESC STX, slot digit, "0", command and value digits least significant first, CR.
QByteArray RequestFrame(int slot, int code, int value);

// The values of one reply as they go into a row of the slot table.
struct ReplyValues {
    int slot = 0;  // 1..6, or 0 when the reply is refused
    int model = 0;
    std::array<int16_t, 7> temp{};  // Temp1..Temp7
    double outerPressure = 0;       // bar
    double innerPressure = 0;       // bar
    double humidity = 0;            // percent
    int16_t cycleStatus = 0;
    int16_t cyclePhase = 0;
    int16_t paramLow = 0;
    int16_t paramHigh = 0;
};

// Converts a whole reply (STX first, CR last). transducerScale 0 = 3 bar, 1 = 5 bar.
// nullopt when a value overflows 16 bits (the reply is dropped without a trace).
std::optional<ReplyValues> DecodeReply(const QByteArray& frame, int transducerScale);

}  // namespace ZUNO1
