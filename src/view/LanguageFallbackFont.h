#pragma once
// The face that draws a code page's own script where the chosen font lacks it. Han
// characters are shared by Chinese, Japanese and Korean but drawn differently in each
// (直, 骨, 说); left to itself the system picks one CJK face for all of them, so Chinese
// text under code page 936 would show Japanese forms. The view puts this face after its
// font, for the glyphs that font does not have.

#include <QFont>
#include <QString>
#include <string_view>

namespace view {

// The language tag (as fontconfig knows it) of the CJK script a code page writes: "ja",
// "zh-cn", "zh-tw", "ko"; empty for any other code page.
std::string_view cjkLanguageOfCodePage(unsigned codePage);

// The family the system prefers for that language, in the font's kind (fixed pitch or
// not); empty when the code page has no such language or no installed face covers it.
QString languageFallbackFamily(unsigned codePage, const QFont& font);

// font with the code page's fallback face after its own families.
QFont withLanguageFallback(QFont font, unsigned codePage);

} // namespace view
