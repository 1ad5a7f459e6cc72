// Code-page conversion speed on the largest file the program opens: 1,048,575 bytes of
// Japanese Shift_JIS prose (see WorkingText.h). Budget: 15 ms each way.
//
// BM_DecodeCp932 and BM_EncodeCp932 run the two-call shape of the system calls (measure,
// allocate, convert); the Plain variants time the one pass of decode() and encode().

#include <benchmark/benchmark.h>

#include <string>

#include "WorkingText.h"
#include "platform/nls/CodePages.h"

using namespace platform::nls;

static void BM_DecodeCp932(benchmark::State& state)
{
    // Zero terminated, as the system call's callers pass it.
    const std::string& bytes = bench::workingTextShiftJis();
    for (auto _ : state) {
        const int n = multiByteToWideChar(932, MB_PRECOMPOSED, bytes.c_str(), -1, nullptr, 0);
        std::u16string text(static_cast<std::size_t>(n), u'\0');
        const int written =
            multiByteToWideChar(932, MB_PRECOMPOSED, bytes.c_str(), -1, text.data(), n);
        if (written != n)
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeCp932)->Unit(benchmark::kMillisecond);

static void BM_EncodeCp932(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    const int len = static_cast<int>(text.size());
    for (auto _ : state) {
        const int m = wideCharToMultiByte(932, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(m) + 1, '\0');
        const int k = wideCharToMultiByte(932, 0, text.c_str(), len, bytes.data(), m + 1,
                                          nullptr, nullptr);
        if (k != static_cast<int>(bench::kWorkingTextBytes))
            state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(bench::kWorkingTextBytes));
}
BENCHMARK(BM_EncodeCp932)->Unit(benchmark::kMillisecond);

static void BM_DecodeCp932Plain(benchmark::State& state)
{
    const std::string& bytes = bench::workingTextShiftJis();
    for (auto _ : state) {
        auto text = decode(932, bytes);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeCp932Plain)->Unit(benchmark::kMillisecond);

static void BM_EncodeCp932Plain(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    for (auto _ : state) {
        auto bytes = encode(932, text);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(bench::kWorkingTextBytes));
}
BENCHMARK(BM_EncodeCp932Plain)->Unit(benchmark::kMillisecond);
