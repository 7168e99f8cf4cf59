#pragma once
// The line protocol: 12-byte request frames in, 34-character reply frames out.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr char kEsc = 27;
inline constexpr char kStx = 2;
inline constexpr char kCr = 13;
inline constexpr std::size_t kRequestSize = 12;
inline constexpr std::size_t kReplySize = 34;
inline constexpr int kPairs = 15;

struct Request {
    int slot = 0;   // 0..9 as sent
    int code = 0;   // 0..99
    int value = 0;  // 0..9999
};

// ESC ESC STX slot '0' code(units, tens) value(units .. thousands) CR
std::string encodeRequest(int slot, int code, int value);

// Cuts request frames out of a byte stream. Bytes that cannot belong to a frame are
// dropped, so the parser finds the next frame after noise or a broken frame.
class RequestParser {
  public:
    // Appends bytes and returns every complete frame now found.
    std::vector<Request> feed(std::string_view bytes);
    // Bytes dropped so far.
    std::size_t discarded() const { return discarded_; }

  private:
    std::string buffer_;
    std::size_t discarded_ = 0;
};

// Values of one reply before they are laid out. Which pairs carry what depends on the
// model digit: 4 and 6 carry temperatures as decimal digits (tenths), the others as
// bytes (whole degrees); 6 also carries humidity in pair 13.
struct Reply {
    int slot = 0;
    int model = 0;
    std::array<int, 6> temps{};  // T1..T6: 0..255, or 0..9999 in the decimal layout
    int pair4 = 0;               // raw byte: outer pressure, humidity or T7 (binary layout)
    int pair5 = 0;               // raw byte: inner pressure (binary layout)
    int status = 0;              // 0..255
    int phase = 0;               // 0..255
    int humidity = 0;            // 0..99, model 6
    int param = 0;               // 0..9999 in pairs 14/15 (binary layout)
};

bool isDecimalLayout(int model);
std::string encodeReply(const Reply& reply);

// Pair n (1..15) of a reply as a byte (first character low half) and as two decimal
// digits (first character units); nullopt when the reply is not 34 characters.
std::optional<int> pairByte(std::string_view reply, int n);
std::optional<int> pairDecimal(std::string_view reply, int n);

// Bytes as text for a log line: STX, CR, ESC by name, other controls as hex.
std::string printable(std::string_view bytes);

}  // namespace sim
