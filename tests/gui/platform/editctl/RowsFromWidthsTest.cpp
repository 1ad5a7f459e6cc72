// Rows found from advances against the rows of a QTextLayout wrapped the same way.
#include "platform/editctl/RowsFromWidths.h"

#include <QFont>
#include <QTextLayout>
#include <QTextOption>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<int> shapedBreaks(const std::u16string& text, const QFont& font, int tab, int width)
{
    QTextLayout layout(QString::fromStdU16String(text), font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(tab);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(width);
    layout.endLayout();
    std::vector<int> breaks;
    for (int i = 1; i < layout.lineCount(); ++i)
        breaks.push_back(layout.lineAt(i).textStart());
    return breaks;
}

} // namespace

// Whenever rows are found without shaping, they are the shaped rows, in monospaced and
// proportional faces (ligatures), bold and italic (ink past the advance), at many sizes:
// words wider than a row, runs of spaces wider than a row, tabs at the wrap width, kinsoku
// punctuation, digits and punctuation among kana (drawn from the kana's font). A face the
// machine lacks is drawn from fallbacks, its italic slanted by the font engine, whose digits
// among kana reach far past their advances.
TEST(RowsFromWidths, RowsFoundWithoutShapingAreTheShapedRows)
{
    const std::vector<std::u16string> words = {
        u"吾輩", u"は", u"である", u"ニャーニャー", u"「", u"」", u"。", u"、", u"っ", u"ー", u"々", u"・",
        u"ＵＴＦ－８", u"ｶﾀｶﾅ", u"漢字漢字漢字漢字漢字漢字漢字漢字", u"　", u" ", u"        ", u"\t", u"\t\t",
        u"Shift_JIS", u"1,048,575", u"v1.0", u"a-b", u"x/y", u"(x)", u"\"q\"", u"it's", u"fi", u"ffl", u"AV",
        u"MMMMMMMMMMMMMMMMMMMMMMMM", u"932", u"?!",
    };
    std::mt19937 rng(20261209u);
    for (const char* family :
         {"DejaVu Sans Mono", "Noto Sans Mono CJK JP", "Nimbus Mono PS", "DejaVu Sans", "C059", "Quillet No Such Face"}) {
        const bool monospaced = std::string(family).find("Mono") != std::string::npos;
        for (int variant = 0; variant < 4; ++variant) {
            QFont font{QString::fromLatin1(family)};
            font.setPixelSize(9 + static_cast<int>(rng() % 24));
            font.setBold(variant & 1);
            font.setItalic(variant & 2);
            font.setKerning(false);
            const int tab = 13 + static_cast<int>(rng() % 80);
            platform::RowsFromWidths rows(font, tab);
            int found = 0;
            for (int round = 0; round < 300; ++round) {
                std::u16string text;
                for (int i = static_cast<int>(rng() % 30); i > 0; --i)
                    text += words[rng() % words.size()];
                const int width = 20 + static_cast<int>(rng() % 400);
                std::vector<int> breaks;
                if (!rows.rowBreaks(text, width, breaks))
                    continue;
                ++found;
                ASSERT_EQ(breaks, shapedBreaks(text, font, tab, width))
                    << family << " " << font.pixelSize() << "px variant " << variant << " width " << width
                    << " tab " << tab << " text " << QString::fromStdU16String(text).toStdString();
            }
            if (monospaced && !font.italic()) {
                EXPECT_GT(found, 270) << family << ": a monospaced face leaves few lines to shaping";
            }
        }
    }
}
