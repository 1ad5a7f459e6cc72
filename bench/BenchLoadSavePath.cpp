// What an open and a save do to the largest file the program opens (see WorkingText.h),
// beside what ICU alone takes for the same work. BM_LoadPath932 is an open's work from the
// bytes read to the text and the figures of the undecodable-bytes notice, with Japanese
// detection on; BM_SavePath932 a save's from the text to the bytes and the figures of the
// question about lost characters. Targets: at most 1.3 times BM_IcuDecode932 (one decode)
// and BM_IcuRoundTrip932 (one encode and one decode) respectively.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include <unicode/ucnv.h>

#include "WorkingText.h"
#include "doc/CodePageText.h"
#include "platform/nls/CodePageTable.h"

namespace {

// The converter the program's page table gives 932, opened as the program opens it.
UConverter* icuConverter932()
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(platform::nls::detail::findPage(932)->icuName, &status);
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setFallback(converter, true);
    return converter;
}

std::size_t icuDecode(UConverter* converter, std::string_view bytes, std::u16string& out)
{
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(converter, out.data(), int32_t(out.size()), bytes.data(),
                                    int32_t(bytes.size()), &status);
    return U_SUCCESS(status) ? std::size_t(n) : 0;
}

std::size_t icuEncode(UConverter* converter, const std::u16string& text, std::string& out)
{
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(converter, out.data(), int32_t(out.size()), text.data(),
                                      int32_t(text.size()), &status);
    return U_SUCCESS(status) ? std::size_t(n) : 0;
}

} // namespace

static void BM_IcuDecode932(benchmark::State& state)
{
    const std::string& bytes = bench::workingTextShiftJis();
    UConverter* converter = icuConverter932();
    std::u16string text(bytes.size() + 1, u'\0');
    for (auto _ : state) {
        if (icuDecode(converter, bytes, text) != bench::workingTextUtf16().size())
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(text.data());
    }
    ucnv_close(converter);
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_IcuDecode932)->Unit(benchmark::kMillisecond);

static void BM_IcuRoundTrip932(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    UConverter* converter = icuConverter932();
    std::string bytes(text.size() * 2 + 1, '\0');
    std::u16string back(text.size() * 2 + 1, u'\0');
    for (auto _ : state) {
        const std::size_t n = icuEncode(converter, text, bytes);
        if (n != bench::kWorkingTextBytes ||
            icuDecode(converter, std::string_view(bytes.data(), n), back) != text.size())
            state.SkipWithError("round trip failed");
        benchmark::DoNotOptimize(back.data());
    }
    ucnv_close(converter);
    state.SetBytesProcessed(state.iterations() * std::int64_t(bench::kWorkingTextBytes));
}
BENCHMARK(BM_IcuRoundTrip932)->Unit(benchmark::kMillisecond);

static void BM_LoadPath932(benchmark::State& state)
{
    const std::string& bytes = bench::workingTextShiftJis();
    for (auto _ : state) {
        const doc::OpenedText opened =
            doc::decodeOpenedFile(bytes, 932, doc::DetectJapanese::Yes);
        if (opened.text.size() != bench::workingTextUtf16().size() || opened.undecodable.any())
            state.SkipWithError("the working text decodes whole");
        benchmark::DoNotOptimize(opened.text.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_LoadPath932)->Unit(benchmark::kMillisecond);

static void BM_SavePath932(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    for (auto _ : state) {
        const auto saved = doc::encodeForSave(text, 932);
        if (!saved || saved->bytes.size() != bench::kWorkingTextBytes || saved->lost.any())
            state.SkipWithError("the working text is all Shift_JIS");
        benchmark::DoNotOptimize(saved->bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(bench::kWorkingTextBytes));
}
BENCHMARK(BM_SavePath932)->Unit(benchmark::kMillisecond);
