// The check before every save and after every open, on the largest file the program opens
// (see WorkingText.h). Budget: 30 ms for a text that loses nothing (the usual save: one
// encode and one decode), 60 ms for one where every line holds a character the page lacks,
// 15 ms for the bytes of an open.

#include <benchmark/benchmark.h>

#include <string>

#include "WorkingText.h"
#include "doc/MacJapanese.h"
#include "platform/nls/ConversionLoss.h"

using namespace platform::nls;

static void BM_EncodingLossNone(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    for (auto _ : state) {
        const auto loss = findEncodingLoss(932, text);
        if (!loss || loss->any())
            state.SkipWithError("the working text is all Shift_JIS");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size() * 2));
}
BENCHMARK(BM_EncodingLossNone)->Unit(benchmark::kMillisecond);

static void BM_EncodingLossOnEveryLine(benchmark::State& state)
{
    std::u16string text = bench::workingTextUtf16();
    for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos;
         at = text.find(u"\r\n", at + 3))
        text.insert(at, 1, u'한');
    for (auto _ : state) {
        const auto loss = findEncodingLoss(932, text);
        if (!loss || !loss->any())
            state.SkipWithError("Hangul is not in Shift_JIS");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size() * 2));
}
BENCHMARK(BM_EncodingLossOnEveryLine)->Unit(benchmark::kMillisecond);

static void BM_MacJapaneseLoss(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc::findMacJapaneseLoss(text).count);
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size() * 2));
}
BENCHMARK(BM_MacJapaneseLoss)->Unit(benchmark::kMillisecond);

static void BM_DecodingLoss(benchmark::State& state)
{
    const std::string& bytes = bench::workingTextShiftJis();
    for (auto _ : state) {
        const auto loss = findDecodingLoss(932, bytes);
        if (!loss || loss->any())
            state.SkipWithError("the working text decodes whole");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_DecodingLoss)->Unit(benchmark::kMillisecond);
