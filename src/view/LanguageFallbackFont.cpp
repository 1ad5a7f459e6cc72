#include "view/LanguageFallbackFont.h"

#include <QFontInfo>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace view {

std::string_view cjkLanguageOfCodePage(unsigned codePage)
{
    switch (codePage) {
    case 932: case 10001: case 20932: case 50220: case 50221: case 50222: case 51932:
        return "ja";
    case 936: case 10008: case 20936: case 50227: case 51936: case 52936: case 54936:
        return "zh-cn";
    case 950: case 10002: case 20000: case 20002: case 51950:
        return "zh-tw";
    case 949: case 1361: case 10003: case 20949: case 50225: case 51949:
        return "ko";
    default:
        return {};
    }
}

QString languageFallbackFamily(unsigned codePage, const QFont& font)
{
    const std::string lang(cjkLanguageOfCodePage(codePage));
    if (lang.empty() || !FcInit())
        return {};
    using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
    Pattern pattern(FcPatternCreate(), &FcPatternDestroy);
    if (!pattern)
        return {};
    const bool fixed = QFontInfo(font).fixedPitch();
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(fixed ? "monospace" : "sans-serif"));
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>(lang.c_str()));
    FcPatternAddLangSet(pattern.get(), FC_LANG, langs);
    FcLangSetDestroy(langs);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result), &FcPatternDestroy);
    if (!match)
        return {};
    // A face that does not write the language is no better than the system's own choice.
    FcLangSet* covered = nullptr;
    FcChar8* family = nullptr;
    if (FcPatternGetLangSet(match.get(), FC_LANG, 0, &covered) != FcResultMatch ||
        FcLangSetHasLang(covered, reinterpret_cast<const FcChar8*>(lang.c_str())) == FcLangDifferentLang ||
        FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

QFont withLanguageFallback(QFont font, unsigned codePage)
{
    const QString fallback = languageFallbackFamily(codePage, font);
    if (fallback.isEmpty())
        return font;
    QStringList families = font.families();
    if (families.isEmpty())
        families << font.family();
    // The face drawn now stays the face for everything it has: a family this system lacks
    // would otherwise hand the whole text, Latin too, to the fallback.
    const QString drawn = QFontInfo(font).family();
    if (!families.contains(drawn))
        families << drawn;
    if (!families.contains(fallback))
        families << fallback;
    font.setFamilies(families);
    return font;
}

} // namespace view
