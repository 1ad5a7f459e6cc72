#include "platform/fx/DialogUnits.h"

#include "platform/AverageCharWidth.h"

#include <QFontMetrics>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace platform::fx {

namespace {

// a * b / c rounded to nearest, halves away from zero.
int mulDiv(int a, int b, int c)
{
    const long long p = static_cast<long long>(a) * b;
    return int(p >= 0 ? (p + c / 2) / c : (p - c / 2) / c);
}

// The height of one line of Japanese text in font. A Latin system font draws kana and kanji
// with a fallback font whose lines are taller than its own.
int japaneseLineHeight(const QFont& font)
{
    QTextLayout layout(QStringLiteral("日本語のかなカナ"), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.isValid() ? int(std::ceil(line.height())) : 0;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // The width of the 52 letters, halved and rounded as the original dialog manager does.
    const int letters = qRound(averageCharWidth(font) * 52);
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    // The dialogs' texts are Japanese: a unit is measured on the line that draws them, as
    // it was with the Japanese font the dialogs were laid out for.
    m_baseY = std::max({1, metrics.height(), japaneseLineHeight(font)});
}

int DialogUnits::x(int units) const
{
    return mulDiv(units, m_baseX, 4);
}

int DialogUnits::y(int units) const
{
    return mulDiv(units, m_baseY, 8);
}

} // namespace platform::fx
