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

namespace {

using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;

void addLanguage(FcPattern* pattern, const char* lang)
{
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>(lang));
    FcPatternAddLangSet(pattern, FC_LANG, langs);
    FcLangSetDestroy(langs);
}

// The families the system's configuration lists for the generic family in language lang,
// in its order of preference.
QStringList preferredFamilies(const char* generic, const char* lang)
{
    QStringList families;
    Pattern pattern(FcPatternCreate(), &FcPatternDestroy);
    if (!pattern)
        return families;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
    addLanguage(pattern.get(), lang);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &family) == FcResultMatch; ++i)
        families << QString::fromUtf8(reinterpret_cast<const char*>(family));
    return families;
}

// Whether an installed face of the family writes the language.
bool installedFor(const QString& family, const char* lang)
{
    Pattern pattern(FcPatternCreate(), &FcPatternDestroy);
    if (!pattern)
        return false;
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    addLanguage(pattern.get(), lang);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                                          &FcObjectSetDestroy);
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(FcFontList(nullptr, pattern.get(), objects.get()),
                                                                   &FcFontSetDestroy);
    return fonts && fonts->nfont > 0;
}

} // namespace

QString languageFallbackFamily(unsigned codePage, const QFont& font)
{
    const std::string lang(cjkLanguageOfCodePage(codePage));
    if (lang.empty() || !FcInit())
        return {};
    const char* generic = QFontInfo(font).fixedPitch() ? "monospace" : "sans-serif";
    // The configuration also weighs the languages of the user's locale, and may let them
    // win: on a Chinese desktop it gives the Chinese face even for Japanese. The face named
    // for the language itself is the first one its listing has beyond that of a language
    // without CJK faces.
    const QStringList neutral = preferredFamilies(generic, "en");
    for (const QString& family : preferredFamilies(generic, lang.c_str())) {
        if (!neutral.contains(family) && installedFor(family, lang.c_str()))
            return family;
    }

    // Otherwise the system's own match for the language, when it writes the language (the
    // locale's own language: the configuration's choice needs no correcting).
    Pattern pattern(FcPatternCreate(), &FcPatternDestroy);
    if (!pattern)
        return {};
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(generic));
    addLanguage(pattern.get(), lang.c_str());
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
