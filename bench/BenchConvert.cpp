// The conversion commands and regular-expression replace through the view, on the working
// text: the command's whole work, its undo records and the repaint that follows.
#include "WorkingText.h"

#include "platform/regexp/RegExp.h"
#include "view/CMyView.h"
#include "view/RegexReplace.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

// A shown view, created as the frame creates it.
struct ShownView {
    CMyView view;
    ShownView()
    {
        view.OnCreate();
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
    }
    void load(const std::u16string& text)
    {
        view.setText(text);
        view.onInitialUpdate();
        QApplication::processEvents();
    }
};

std::u16string lfOnly(std::u16string text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
            out += text[i];
    return out;
}

// The working text with 20,000 "name@host" words, one at the start of each line; when the
// text has fewer lines, it is taken again.
std::u16string withAddresses()
{
    const std::u16string& base = bench::workingTextUtf16();
    std::u16string out;
    out.reserve(2 * base.size());
    int made = 0;
    auto address = [&] {
        // Appended piece by piece: gcc 12 warns (-Wrestrict) on a chain of string operator+.
        const std::string number = std::to_string(made);
        for (const std::string_view piece : {std::string_view("u"), std::string_view(number),
                                             std::string_view("@h"), std::string_view(number),
                                             std::string_view(" ")})
            out.append(piece.begin(), piece.end());
        ++made;
    };
    address();
    while (made < 20000) {
        for (std::size_t i = 0; i < base.size(); ++i) {
            out += base[i];
            if (base[i] == u'\n' && made < 20000)
                address();
        }
    }
    return out;
}

void BM_NormalizeLineEnds(benchmark::State& state)
{
    ShownView v;
    const std::u16string text = lfOnly(bench::workingTextUtf16());
    for (auto _ : state) {
        state.PauseTiming();
        v.load(text);
        state.ResumeTiming();
        v.view.OnNormalizeLineEnds();
        QApplication::processEvents();  // the repaint
    }
    if (v.view.text().size() != bench::workingTextUtf16().size())
        state.SkipWithError("the line ends were not all normalized");
    state.counters["units"] = double(text.size());
}
BENCHMARK(BM_NormalizeLineEnds)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_NumericRefs(benchmark::State& state)
{
    ShownView v;
    const std::u16string& text = bench::workingTextUtf16();
    for (auto _ : state) {
        state.PauseTiming();
        v.load(text);
        v.view.setSel(0, 100000);
        state.ResumeTiming();
        v.view.OnNumericCharRef();
        QApplication::processEvents();
    }
    if (v.view.text().size() <= text.size() + 300000)
        state.SkipWithError("the selection was not converted");
}
BENCHMARK(BM_NumericRefs)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_RegexReplaceGlobal(benchmark::State& state)
{
    ShownView v;
    const std::u16string text = withAddresses();
    view::RegexReplaceRequest request;
    request.pattern = u"(\\w+)@(\\w+)";
    request.replacement = u"$2 at $1";
    request.global = true;
    request.ignoreCase = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        v.load(text);
        state.ResumeTiming();
        v.view.RegexReplaceWholeText(request);
        QApplication::processEvents();
    }
    const std::u16string after = v.view.text();
    if (after.find(u"h19999 at u19999") == std::u16string::npos || after.find(u'@') != std::u16string::npos)
        state.SkipWithError("not every address was replaced");
    state.counters["units"] = double(text.size());
}
BENCHMARK(BM_RegexReplaceGlobal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)
    ->Repetitions(5)->ReportAggregatesOnly();

void BM_RegexCompile(benchmark::State& state)
{
    // 200 characters of what people write: alternatives, classes, groups and quantifiers.
    std::u16string pattern = u"^(?:From|To|Cc):\\s+([\\w.+-]+)@([\\w-]+\\.)+[a-z]{2,}\\s*$|"
                             u"(\\d{4})[-/](\\d\\d)[-/](\\d\\d)|\\b(?:https?|ftp)://[^\\s/]+(?:/[^\\s]*)?|"
                             u"[\\u3040-\\u309F]+|[\\u30A0-\\u30FF]{2,8}|(?<=\\$)\\d+(?:\\.\\d\\d)?";
    pattern.resize(200, u'x');
    const bool ignoreCase = state.range(0) != 0;
    for (auto _ : state) {
        platform::regexp::RegExp re;
        re.setPattern(pattern);
        re.setIgnoreCase(ignoreCase);
        if (re.compile())
            state.SkipWithError("the pattern did not compile");
    }
}
BENCHMARK(BM_RegexCompile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
