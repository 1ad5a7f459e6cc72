// The Japanese converters on the working text: an EUC-JP file detected and rewritten as
// Shift_JIS in place (what opening it with detection on does before decoding), and the
// Macintosh Japanese export and import, each measuring first and then filling.

#include "WorkingText.h"

#include "doc/JapaneseEncoding.h"
#include "doc/MacJapanese.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

namespace {

// Shift_JIS to EUC-JP by the JIS X 0208 row arithmetic; enough for the working text, which
// holds ASCII and JIS X 0208 only (half-width katakana would take 8E and grow the text).
std::string shiftJisToEuc(const std::string& sjis)
{
    std::string euc;
    euc.reserve(sjis.size());
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        const auto s1 = static_cast<unsigned char>(sjis[i]);
        if (s1 < 0x80) {
            euc += static_cast<char>(s1);
            continue;
        }
        if (s1 >= 0xA1 && s1 <= 0xDF) {
            euc += '\x8E';
            euc += static_cast<char>(s1);
            continue;
        }
        const auto s2 = static_cast<unsigned char>(sjis.at(++i));
        unsigned j1 = (s1 - (s1 <= 0x9F ? 0x70u : 0xB0u)) << 1;
        unsigned j2;
        if (s2 < 0x9F) {
            j1 -= 1;
            j2 = s2 - (s2 > 0x7F ? 0x20u : 0x1Fu);
        } else {
            j2 = s2 - 0x7Eu;
        }
        euc += static_cast<char>(j1 | 0x80);
        euc += static_cast<char>(j2 | 0x80);
    }
    return euc;
}

// The working text in EUC-JP, checked to convert back to the original bytes.
const std::string& workingTextEuc()
{
    static const std::string euc = [] {
        std::string bytes = shiftJisToEuc(bench::workingTextShiftJis());
        std::string back = bytes;
        doc::EucToShiftJis(back);
        if (back != bench::workingTextShiftJis())
            throw std::runtime_error("working text: EUC-JP does not convert back");
        return bytes;
    }();
    return euc;
}

void BM_DetectConvertEuc(benchmark::State& state)
{
    const std::string& euc = workingTextEuc();
    std::string buffer;
    buffer.reserve(euc.size());
    for (auto _ : state) {
        buffer.assign(euc); // as read from the file
        if (doc::ConvertJapaneseToShiftJis(buffer) != doc::JapaneseEncoding::EucJp)
            state.SkipWithError("not detected as EUC-JP");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * euc.size()));
    state.counters["bytes"] = static_cast<double>(euc.size());
}
BENCHMARK(BM_DetectConvertEuc)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_MacJapaneseExport(benchmark::State& state)
{
    const std::u16string& text = bench::workingTextUtf16();
    std::string bytes;
    for (auto _ : state) {
        const std::size_t count = doc::UnicodeToMacJapanese(text, nullptr);
        bytes.resize(count);
        doc::UnicodeToMacJapanese(text, bytes.data());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["units"] = static_cast<double>(text.size());
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_MacJapaneseExport)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_MacJapaneseImport(benchmark::State& state)
{
    const std::string bytes = doc::encodeMacJapanese(bench::workingTextUtf16());
    std::u16string text;
    for (auto _ : state) {
        const std::size_t count = doc::MacJapaneseToUnicode(bytes, nullptr);
        text.resize(count);
        doc::MacJapaneseToUnicode(bytes, text.data());
        benchmark::DoNotOptimize(text.data());
    }
    if (text != bench::workingTextUtf16())
        state.SkipWithError("import does not give the working text back");
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.counters["units"] = static_cast<double>(text.size());
}
BENCHMARK(BM_MacJapaneseImport)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
