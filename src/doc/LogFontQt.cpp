#include "doc/LogFontQt.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace doc {

namespace {

// The largest character or cell height drawn, in pixels. A damaged or hand-edited record
// can ask for millions; such a font would make every line of the control a screen high and
// its glyphs too large to render. The record itself keeps the value it had.
constexpr int kMaxPixelSize = 2048;

struct FamilyHint {
    std::uint8_t family;
    QFont::StyleHint hint;
};

// The record's font families and Qt's style hints, in the order the way back prefers.
constexpr FamilyHint kFamilies[] = {
    {FF_ROMAN, QFont::Serif},
    {FF_SWISS, QFont::SansSerif},
    {FF_MODERN, QFont::TypeWriter},
    {FF_MODERN, QFont::Monospace},
    {FF_SCRIPT, QFont::Cursive},
    {FF_DECORATIVE, QFont::Decorative},
    {FF_DECORATIVE, QFont::Fantasy},
};

std::optional<QFont::StyleHint> hintOfFamily(std::uint8_t family)
{
    for (const FamilyHint& f : kFamilies)
        if (f.family == family)
            return f.hint;
    return std::nullopt;
}

std::uint8_t familyOfHint(QFont::StyleHint hint)
{
    for (const FamilyHint& f : kFamilies)
        if (f.hint == hint)
            return f.family;
    return FF_DONTCARE;
}

bool isFixedSys(const QString& face)
{
    return face.compare(QLatin1String("FixedSys"), Qt::CaseInsensitive) == 0;
}

// The pixel size whose line height (ascent plus descent) comes closest to cellHeight.
int emForCellHeight(const QFont& font, int cellHeight)
{
    QFont probe(font);
    probe.setPixelSize(cellHeight);
    const qreal height = QFontMetricsF(probe).height();
    if (height <= 0)
        return cellHeight;
    return std::max(1, int(std::lround(cellHeight * cellHeight / height)));
}

bool isSet(const QFont& font, QFont::ResolveProperties property)
{
    return (font.resolveMask() & property) != 0;
}

} // namespace

int screenLogPixelsY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}

QFont fontFromLogFont(const LogFont& lf)
{
    QFont font;
    const QString face = QString::fromStdU16String(lf.faceName());
    if (isFixedSys(face) && !QFontDatabase::hasFamily(face)) {
        // The old raster font exists only on Windows; the system's fixed-pitch font draws
        // in its place, while the face stays first so that the record keeps its name.
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setFamilies({face, fixed.family()});
    } else if (!face.isEmpty()) {
        font.setFamilies({face});
    }

    if (lf.lfHeight < 0)
        font.setPixelSize(int(std::min<std::int64_t>(-std::int64_t(lf.lfHeight), kMaxPixelSize)));
    else if (lf.lfHeight > 0)
        font.setPixelSize(emForCellHeight(font, std::min(lf.lfHeight, kMaxPixelSize)));

    if (lf.lfWeight != FW_DONTCARE)
        font.setWeight(QFont::Weight(std::clamp(lf.lfWeight, 1, 1000)));
    if (lf.lfItalic)
        font.setItalic(true);
    if (lf.lfUnderline)
        font.setUnderline(true);
    if (lf.lfStrikeOut)
        font.setStrikeOut(true);

    switch (lf.lfPitchAndFamily & PITCH_MASK) {
    case FIXED_PITCH: font.setFixedPitch(true); break;
    case VARIABLE_PITCH: font.setFixedPitch(false); break;
    default: break;
    }
    if (const auto hint = hintOfFamily(lf.lfPitchAndFamily & FAMILY_MASK))
        font.setStyleHint(*hint);
    return font;
}

LogFont logFontFromFont(const QFont& font, int logPixelsY, const LogFont& keep)
{
    LogFont lf = keep;
    lf.lfWidth = 0;

    if (!isSet(font, QFont::SizeResolved))
        lf.lfHeight = 0;
    else if (font.pixelSize() > 0)
        lf.lfHeight = -font.pixelSize();
    else if (font.pointSizeF() > 0)
        lf.lfHeight = -std::int32_t(std::lround(font.pointSizeF() * logPixelsY / 72.0));
    else
        lf.lfHeight = 0;

    lf.lfWeight = isSet(font, QFont::WeightResolved) ? std::int32_t(font.weight()) : FW_DONTCARE;
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;

    std::uint8_t pitch = DEFAULT_PITCH;
    if (isSet(font, QFont::FixedPitchResolved))
        pitch = font.fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
    lf.lfPitchAndFamily = std::uint8_t(pitch | familyOfHint(font.styleHint()));

    // A font that names no family leaves the face empty: the default face, as before.
    QString face;
    if (isSet(font, QFont::FamilyResolved) || isSet(font, QFont::FamiliesResolved)) {
        const QStringList families = font.families();
        face = families.isEmpty() ? font.family() : families.front();
    }
    lf.setFaceName(face.toStdU16String());
    return lf;
}

} // namespace doc
