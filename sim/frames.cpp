#include "frames.h"

#include <algorithm>
#include <cstdio>

namespace sim {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int digit(char c) {
    return c - '0';
}

// Does a frame start at i, as far as the buffer reaches?
bool mayStartFrame(const std::string& b, std::size_t i) {
    static constexpr char head[] = {kEsc, kEsc, kStx};
    for (std::size_t k = 0; k < 3 && i + k < b.size(); ++k) {
        if (b[i + k] != head[k]) return false;
    }
    return true;
}

bool isWellFormed(std::string_view f) {
    if (f[3] < '0' || f[3] > '9' || f[4] != '0' || f[11] != kCr) return false;
    return std::all_of(f.begin() + 5, f.begin() + 11, isDigit);
}

void putByte(std::string& out, int value) {
    const int b = std::clamp(value, 0, 255);
    out += static_cast<char>('0' + (b & 15));
    out += static_cast<char>('0' + (b >> 4));
}

void putDecimal(std::string& out, int value) {
    const int d = std::clamp(value, 0, 99);
    out += static_cast<char>('0' + d % 10);
    out += static_cast<char>('0' + d / 10);
}

// Four decimal digits as two pairs, low pair first.
void putTenths(std::string& out, int value) {
    const int v = std::clamp(value, 0, 9999);
    putDecimal(out, v % 100);
    putDecimal(out, v / 100);
}

}  // namespace

std::string encodeRequest(int slot, int code, int value) {
    std::string f = {kEsc, kEsc, kStx};
    f += static_cast<char>('0' + slot);
    f += '0';
    f += static_cast<char>('0' + code % 10);
    f += static_cast<char>('0' + code / 10);
    f += static_cast<char>('0' + value % 10);
    f += static_cast<char>('0' + value / 10 % 10);
    f += static_cast<char>('0' + value / 100 % 10);
    f += static_cast<char>('0' + value / 1000);
    f += kCr;
    return f;
}

std::vector<Request> RequestParser::feed(std::string_view bytes) {
    buffer_.append(bytes);
    std::vector<Request> frames;
    for (;;) {
        std::size_t start = 0;
        while (start < buffer_.size() && !mayStartFrame(buffer_, start)) ++start;
        discarded_ += start;
        buffer_.erase(0, start);
        if (buffer_.size() < kRequestSize) break;
        const std::string_view f(buffer_.data(), kRequestSize);
        if (!isWellFormed(f)) {
            // Not a frame after all: drop its first byte and look again.
            ++discarded_;
            buffer_.erase(0, 1);
            continue;
        }
        frames.push_back(
            {digit(f[3]), digit(f[5]) + 10 * digit(f[6]),
             digit(f[7]) + 10 * digit(f[8]) + 100 * digit(f[9]) + 1000 * digit(f[10])});
        buffer_.erase(0, kRequestSize);
    }
    return frames;
}

bool isDecimalLayout(int model) {
    return model == 4 || model == 6;
}

std::string encodeReply(const Reply& r) {
    std::string out;
    out.reserve(kReplySize);
    out += kStx;
    out += static_cast<char>('0' + r.slot);
    out += static_cast<char>('0' + r.model);
    const auto& t = r.temps;
    if (isDecimalLayout(r.model)) {
        for (int i = 0; i < 5; ++i) putTenths(out, t[i]);  // pairs 1..10
        putByte(out, r.status);                            // pair 11
        putByte(out, r.phase);                             // pair 12
        putDecimal(out, r.model == 6 ? r.humidity : 0);    // pair 13
        putTenths(out, t[5]);                              // pairs 14, 15
    } else {
        putByte(out, 0);                                 // pair 1
        putByte(out, t[4]);                              // pair 2: T5
        putByte(out, t[5]);                              // pair 3: T6
        putByte(out, r.pair4);                           // pair 4
        putByte(out, r.pair5);                           // pair 5
        for (int i = 0; i < 4; ++i) putByte(out, t[i]);  // pairs 6..9: T1..T4
        putByte(out, 0);                                 // pair 10
        putByte(out, r.status);                          // pair 11
        putByte(out, r.phase);                           // pair 12
        putByte(out, 0);                                 // pair 13
        putTenths(out, r.param);                         // pairs 14, 15
    }
    out += kCr;
    return out;
}

std::optional<int> pairByte(std::string_view reply, int n) {
    if (reply.size() != kReplySize || n < 1 || n > kPairs) return std::nullopt;
    const std::size_t at = 2 * n + 1;
    return digit(reply[at]) + 16 * digit(reply[at + 1]);
}

std::optional<int> pairDecimal(std::string_view reply, int n) {
    if (reply.size() != kReplySize || n < 1 || n > kPairs) return std::nullopt;
    const std::size_t at = 2 * n + 1;
    return digit(reply[at]) + 10 * digit(reply[at + 1]);
}

std::string printable(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == kStx) {
            out += "<STX>";
        } else if (c == kCr) {
            out += "<CR>";
        } else if (c == kEsc) {
            out += "<ESC>";
        } else if (u < 32 || u > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", u);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace sim
