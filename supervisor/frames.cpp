#include "supervisor/frames.h"

#include "platform/format.h"

namespace ZUNO1 {

QByteArray RequestFrame(int slot, int code, int value) {
    QByteArray f;
    f.reserve(kRequestLength);
    f += ESC;
    f += ESC;
    f += STX;
    f += char('0' + slot);
    f += '0';
    f += char('0' + code % 10);
    f += char('0' + code / 10);
    f += char('0' + value % 10);
    f += char('0' + (value / 10) % 10);
    f += char('0' + (value / 100) % 10);
    f += char('0' + value / 1000);
    f += CR;
    return f;
}

std::optional<ReplyValues> DecodeReply(const QByteArray& frame, int transducerScale) {
    if (frame.size() < kReplyLength) return std::nullopt;
    // Character value: code - 48, so "0".."?" give 0..15.
    const auto d = [&](int position) { return int(uint8_t(frame[position - 1])) - 48; };
    // Pair n sits at positions 2n + 2 and 2n + 3.
    const auto binary = [&](int n) { return d(2 * n + 2) + 16 * d(2 * n + 3); };
    const auto decimal = [&](int n) { return d(2 * n + 2) + 10 * d(2 * n + 3); };
    const double k = transducerScale == 1 ? 25.0 : 38.0;

    ReplyValues r;
    const int slotDigit = d(2);
    r.slot = slotDigit >= 1 && slotDigit <= 6 ? slotDigit : 0;
    r.model = d(3);
    const int binaryTemps[6] = {6, 7, 8, 9, 2, 3};
    for (int i = 0; i < 6; ++i) r.temp[i] = int16_t(binary(binaryTemps[i]));
    const int raw4 = binary(4);
    r.temp[6] = *platform::ToInt16((raw4 - 38) * 100.0 / 153.0);
    r.outerPressure = (raw4 - 38) / k - 1;
    r.innerPressure = (binary(5) - 38) / k - 1;
    r.humidity = std::min((raw4 - 28) * 100.0 / 113.0, 100.0);
    r.cycleStatus = int16_t(binary(11));
    r.cyclePhase = int16_t(binary(12));
    r.paramLow = int16_t(decimal(14));
    r.paramHigh = int16_t(decimal(15));
    if (frame[kReplyLength - 1] != CR) r.slot = 0;

    if (r.model == 4 || r.model == 6) {
        const int pairs[6][2] = {{2, 1}, {4, 3}, {6, 5}, {8, 7}, {10, 9}, {15, 14}};
        for (int i = 0; i < 6; ++i) {
            const std::optional<int16_t> t =
                platform::ToInt16(decimal(pairs[i][0]) * 100.0 + decimal(pairs[i][1]));
            if (!t) return std::nullopt;
            r.temp[i] = *t;
        }
    }
    if (r.model == 6) {
        r.humidity = decimal(13);
        if (r.humidity > 99) r.slot = 0;
    }
    return r;
}

}  // namespace ZUNO1
