#pragma once
// The text the benchmarks work on: Japanese prose in Shift_JIS (kanji, kana, ASCII words and
// punctuation, CR LF line ends), exactly the largest file the program opens (1,048,575
// bytes), about 20,000 lines. Generated from a fixed seed so every run and every machine
// measures the same bytes. Built once per process and kept.

#include <cstddef>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/nls/CodePages.h"

namespace bench {

inline constexpr std::size_t kWorkingTextBytes = 1048575;

namespace detail {

// Every character below is ASCII (one byte) or in JIS X 0208 (two bytes in Shift_JIS), so
// the byte length of a piece is known without encoding it.
inline std::size_t shiftJisLength(std::u16string_view s)
{
    std::size_t n = 0;
    for (char16_t c : s)
        n += c < 0x80 ? 1 : 2;
    return n;
}

inline std::u16string makeWorkingTextUtf16()
{
    static const char16_t* const kWords[] = {
        u"吾輩", u"は", u"猫", u"である", u"名前", u"はまだ", u"無い", u"どこで", u"生れた",
        u"か", u"とんと", u"見当", u"が", u"つかぬ", u"何でも", u"薄暗い", u"じめじめ",
        u"した", u"所", u"で", u"ニャーニャー", u"泣いて", u"いた", u"事", u"だけ", u"は",
        u"記憶", u"している", u"ここで", u"始めて", u"人間", u"という", u"もの", u"を",
        u"見た", u"しかも", u"あとで", u"聞く", u"と", u"それ", u"書生", u"という",
        u"一番", u"獰悪", u"な", u"種族", u"であった", u"そう", u"だ", u"この", u"我々",
        u"捕えて", u"煮て", u"食う", u"話", u"である", u"当時", u"何", u"という", u"考",
        u"なかった", u"から", u"別段", u"恐しい", u"とも", u"思わなかった", u"ただ", u"彼",
        u"掌", u"に", u"載せられて", u"スーと", u"持ち上げられた", u"時", u"何だか",
        u"フワフワ", u"した", u"感じ", u"が", u"あった", u"ばかり", u"東京", u"電車",
        u"新聞", u"文字コード", u"変換", u"表示", u"編集", u"保存", u"検索", u"置換",
        u"行", u"列", u"日本語", u"漢字", u"片仮名", u"平仮名", u"ＵＴＦ－８", u"１２３",
    };
    static const char16_t* const kAscii[] = {
        u"Quillet", u"Shift_JIS", u"text", u"file", u"line", u"code page", u"932",
        u"Unicode", u"ICU", u"1,048,575", u"bytes", u"OK", u"version 1.0",
    };
    static const char16_t* const kPunctuation[] = {u"、", u"、", u"。", u"「", u"」", u"（", u"）"};

    // mt19937's output sequence is fixed by the standard; distributions are not, so only
    // raw output and modulo are used.
    std::mt19937 rng(20240229u);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };

    const std::size_t target = kWorkingTextBytes;
    std::u16string text;
    text.reserve(target);
    std::size_t bytes = 0;
    while (true) {
        // A line of at least 10 to 86 bytes of prose, then CR LF.
        const std::size_t lineBytes = 10 + pick(77);
        std::u16string line;
        std::size_t lineLen = 0;
        while (lineLen < lineBytes) {
            const std::size_t kind = pick(20);
            std::u16string_view piece;
            if (kind < 15)
                piece = kWords[pick(std::size(kWords))];
            else if (kind < 17)
                piece = kAscii[pick(std::size(kAscii))];
            else
                piece = kPunctuation[pick(std::size(kPunctuation))];
            if (kind >= 15 && kind < 17)
                line += u' ', ++lineLen;
            line += piece;
            lineLen += shiftJisLength(piece);
        }
        if (bytes + lineLen + 2 > target)
            break;
        text += line;
        text += u"\r\n";
        bytes += lineLen + 2;
    }
    // Fill the rest with an ASCII line so the length is exact.
    while (bytes < target) {
        text += static_cast<char16_t>(u'a' + bytes % 26);
        ++bytes;
    }
    return text;
}

} // namespace detail

// The 1,048,575 bytes of Shift_JIS (code page 932).
inline const std::string& workingTextShiftJis()
{
    static const std::string bytes = [] {
        auto encoded = platform::nls::encode(932, detail::makeWorkingTextUtf16());
        if (!encoded || encoded->bytes.size() != kWorkingTextBytes)
            throw std::runtime_error("working text: Shift_JIS encoding failed");
        return encoded->bytes;
    }();
    return bytes;
}

// The same text decoded to UTF-16 (with the program's own decoder).
inline const std::u16string& workingTextUtf16()
{
    static const std::u16string text = [] {
        auto decoded = platform::nls::decode(932, workingTextShiftJis());
        if (!decoded)
            throw std::runtime_error("working text: Shift_JIS decoding failed");
        return decoded->text;
    }();
    return text;
}

} // namespace bench
