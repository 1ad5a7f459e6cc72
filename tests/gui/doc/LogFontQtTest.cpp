// The font record and QFont, each into the other: what a QFont can hold survives both
// ways, what it cannot comes back from the kept record, and FixedSys draws with the
// system's fixed-pitch font while keeping its name.

#include "doc/LogFontQt.h"

#include <QFontDatabase>
#include <QStringList>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <limits>

using doc::LogFont;

namespace {

constexpr int kDpi = 96;

LogFont record(std::int32_t height, std::int32_t weight, std::uint8_t pitchAndFamily,
               std::u16string_view face)
{
    LogFont f;
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfPitchAndFamily = pitchAndFamily;
    f.setFaceName(face);
    return f;
}

} // namespace

TEST(LogFontQt, RecordsSurviveTheWayThroughQFont)
{
    std::vector<LogFont> records = {
        doc::defaultLanguageFont(kDpi),
        record(-24, doc::FW_BOLD, doc::FIXED_PITCH | doc::FF_MODERN, u"DejaVu Sans Mono"),
        record(-13, 100, doc::VARIABLE_PITCH | doc::FF_ROMAN, u"DejaVu Serif"),
        record(-40, 900, doc::DEFAULT_PITCH | doc::FF_SWISS, u"Noto Sans CJK JP"),
        record(-16, doc::FW_DONTCARE, doc::FF_SCRIPT, u"Some Face Nobody Has"),
        record(-16, 550, doc::FF_DECORATIVE, u"ＭＳ ゴシック"),
        record(0, doc::FW_NORMAL, 0, u""),
    };
    LogFont decorated = record(-20, doc::FW_NORMAL, doc::FIXED_PITCH, u"DejaVu Sans Mono");
    decorated.lfItalic = 1;
    decorated.lfUnderline = 1;
    decorated.lfStrikeOut = 1;
    // Fields a QFont cannot hold come back from the kept record.
    decorated.lfCharSet = 128;
    decorated.lfEscapement = 450;
    decorated.lfOrientation = 450;
    decorated.lfOutPrecision = 3;
    decorated.lfClipPrecision = 2;
    decorated.lfQuality = 1;
    records.push_back(decorated);

    for (const LogFont& original : records) {
        const QFont font = doc::fontFromLogFont(original);
        const LogFont back = doc::logFontFromFont(font, kDpi, original);
        EXPECT_EQ(back, original) << QString::fromStdU16String(original.faceName()).toStdString()
                                  << " " << original.lfHeight;
    }
}

TEST(LogFontQt, FontsSurviveTheWayThroughTheRecord)
{
    QFont plain(QStringLiteral("DejaVu Sans"));
    plain.setPixelSize(17);

    QFont styled(QStringLiteral("DejaVu Sans Mono"));
    styled.setPixelSize(22);
    styled.setWeight(QFont::DemiBold);
    styled.setItalic(true);
    styled.setUnderline(true);
    styled.setStrikeOut(true);
    styled.setFixedPitch(true);
    styled.setStyleHint(QFont::TypeWriter);

    QFont proportional(QStringLiteral("DejaVu Serif"));
    proportional.setPixelSize(30);
    proportional.setFixedPitch(false);
    proportional.setStyleHint(QFont::Serif);
    proportional.setWeight(QFont::Light);

    for (const QFont& original : {plain, styled, proportional}) {
        const LogFont lf = doc::logFontFromFont(original, kDpi);
        const QFont back = doc::fontFromLogFont(lf);
        EXPECT_EQ(back, original) << original.toString().toStdString() << " came back as "
                                  << back.toString().toStdString();
    }
}

TEST(LogFontQt, PixelHeightIsNegativeAndPointsRoundToTheNearestPixel)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    EXPECT_EQ(doc::logFontFromFont(font, kDpi).lfHeight, -18);

    font.setPointSize(12);  // 16 pixels at 96 per inch, 25 at 150
    EXPECT_EQ(doc::logFontFromFont(font, 96).lfHeight, -16);
    EXPECT_EQ(doc::logFontFromFont(font, 150).lfHeight, -25);
    font.setPointSizeF(13.5);  // 18 pixels exactly
    EXPECT_EQ(doc::logFontFromFont(font, 96).lfHeight, -18);
    font.setPointSizeF(10.6);  // 14.13 pixels
    EXPECT_EQ(doc::logFontFromFont(font, 96).lfHeight, -14);

    const QFont drawn = doc::fontFromLogFont(record(-18, 0, 0, u"DejaVu Sans"));
    EXPECT_EQ(drawn.pixelSize(), 18);
}

TEST(LogFontQt, PositiveHeightAsksForTheCellHeight)
{
    const QFont font = doc::fontFromLogFont(record(30, 0, 0, u"DejaVu Sans"));
    // The em is smaller than the line it sits in.
    EXPECT_LT(font.pixelSize(), 30);
    EXPECT_NEAR(QFontMetricsF(font).height(), 30.0, 1.5);
}

TEST(LogFontQt, FixedSysDrawsWithTheSystemFixedFontButKeepsItsName)
{
    const QFont font = doc::fontFromLogFont(doc::defaultLanguageFont(kDpi));
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    EXPECT_EQ(font.families(), (QStringList{QStringLiteral("FixedSys"), fixed}));
    EXPECT_EQ(font.pixelSize(), 18);
    // Drawn with equal advances for narrow and wide letters.
    const QFontMetrics metrics(font);
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')));
    EXPECT_EQ(QFontInfo(font).family(), QFontInfo(QFont(fixed)).family());
    // Any spelling of the name.
    const QFont lower = doc::fontFromLogFont(record(-18, 0, 0, u"fixedsys"));
    EXPECT_EQ(lower.families().value(1), fixed);
}

TEST(LogFontQt, FieldsAQFontLeavesUnsetAreWrittenAsDefaults)
{
    const LogFont lf = doc::logFontFromFont(QFont(), kDpi);
    EXPECT_EQ(lf.lfHeight, 0);
    EXPECT_EQ(lf.lfWeight, doc::FW_DONTCARE);
    EXPECT_EQ(lf.lfPitchAndFamily, doc::DEFAULT_PITCH | doc::FF_DONTCARE);
    EXPECT_EQ(lf.faceName(), u"");
    EXPECT_EQ(lf.lfItalic, 0);
}

TEST(LogFontQt, WidthIsNeverCarriedOver)
{
    LogFont keep = record(-18, 0, 0, u"DejaVu Sans");
    keep.lfWidth = 9;
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(20);
    const LogFont lf = doc::logFontFromFont(chosen, kDpi, keep);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfHeight, -27);  // 26.67 rounded
    EXPECT_EQ(lf.faceName(), u"DejaVu Sans Mono");
}

TEST(LogFontQt, OutOfRangeWeightsAreLimited)
{
    EXPECT_EQ(doc::fontFromLogFont(record(-18, 5000, 0, u"DejaVu Sans")).weight(), 1000);
    EXPECT_EQ(doc::fontFromLogFont(record(-18, -7, 0, u"DejaVu Sans")).weight(), 1);
    EXPECT_EQ(doc::fontFromLogFont(record(-18, 0, 0, u"DejaVu Sans")).weight(),
              QFont::Normal);
}

TEST(LogFontQt, LongFamilyNamesAreCutToTheField)
{
    QFont font(QStringLiteral("A Family Name Far Longer Than Thirty-One Units"));
    font.setPixelSize(12);
    EXPECT_EQ(doc::logFontFromFont(font, kDpi).faceName(),
              u"A Family Name Far Longer Than T");
}

TEST(LogFontQt, AbsurdHeightsFromADamagedRecordAreDrawnAtAUsableSize)
{
    for (std::int32_t height : {std::numeric_limits<std::int32_t>::min(), -100000}) {
        const QFont font = doc::fontFromLogFont(record(height, 0, 0, u"DejaVu Sans"));
        EXPECT_EQ(font.pixelSize(), 2048) << height;
    }
    const QFont cell = doc::fontFromLogFont(
        record(std::numeric_limits<std::int32_t>::max(), 0, 0, u"DejaVu Sans"));
    EXPECT_GT(cell.pixelSize(), 0);
    EXPECT_LE(cell.pixelSize(), 2048);
}
