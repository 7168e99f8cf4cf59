// Cost of decoding one reply against copying its 34 bytes.
#include <benchmark/benchmark.h>

#include <cstring>

#include "supervisor/frames.h"

namespace {

const QByteArray kBinary = QByteArray(1, ZUNO1::STX) + "2100978727?568584838002070000310\r";
const QByteArray kDecimal = QByteArray(1, ZUNO1::STX) + "26521012345678901234567890124510\r";

void CopyBaseline(benchmark::State& state) {
    char out[ZUNO1::kReplyLength];
    for (auto _ : state) {
        std::memcpy(out, kBinary.constData(), sizeof out);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyBaseline);

void DecodeBinaryLayout(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ZUNO1::DecodeReply(kBinary, 0));
}
BENCHMARK(DecodeBinaryLayout);

void DecodeDecimalLayout(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ZUNO1::DecodeReply(kDecimal, 0));
}
BENCHMARK(DecodeDecimalLayout);

}  // namespace

BENCHMARK_MAIN();
