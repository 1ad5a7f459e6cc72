// The lost characters a save asks about, found with the encoding that gives its bytes, on
// the largest file the program opens (see WorkingText.h), and the same for the Macintosh
// Japanese export. Budget: 30 ms for a text that loses nothing (the usual save: one encode
// and one decode), 60 ms for one where every line holds a character the page lacks. (The
// undecodable bytes of an open cost nothing apart: the decode counts them, see
// BM_LoadPath932.)

#include <benchmark/benchmark.h>

#include <string>

#include "WorkingText.h"
#include "doc/MacJapanese.h"
#include "platform/nls/CodePages.h"

using namespace platform::nls;

static void BM_EncodingLossNone(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    for (auto _ : state) {
        const auto encoded = encode(932, text, LostCharacters::Find);
        if (!encoded || encoded->lost.any())
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
        const auto encoded = encode(932, text, LostCharacters::Find);
        if (!encoded || !encoded->lost.any())
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
