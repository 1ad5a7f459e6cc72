#pragma once
// Long lines of mixed text for tests of the layout and the control, the boundaries the caret
// may stand on in them, and a layout that follows the edits of its text.

#include "platform/editctl/EditLayout.h"
#include "platform/editctl/TextBuffer.h"

#include <QFont>

#include <unicode/utf16.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace quillet_test {

inline QFont cjkFont()
{
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setPointSize(12);
    return font;
}

// Japanese prose with lone LFs, Latin words, tabs, emoji, combining marks and boxes; now and
// then a CR LF, so that long lines sit among short ones.
inline std::u16string longLines(std::mt19937& rng, size_t units, int crLfEvery)
{
    const std::vector<std::u16string> pieces = {
        u"吾輩は", u"猫である。", u"名前はまだ無い", u"\n", u"word ", u"Quillet ", u"\t", u"「東京」",
        u"\U0001F600", u"e\u0301", u"\x01", u"ｶﾀｶﾅ", u"、", u"1,048,575 ",
    };
    std::u16string text;
    while (text.size() < units) {
        text += pieces[rng() % pieces.size()];
        if (crLfEvery > 0 && rng() % static_cast<unsigned>(crLfEvery) == 0)
            text += u"\r\n";
    }
    return text;
}

// Whether the caret may stand at pos: not inside a surrogate pair or a CR LF.
inline bool isBoundary(const platform::TextBuffer& buffer, int pos)
{
    if (pos <= 0 || pos >= buffer.length())
        return pos == 0 || pos == buffer.length();
    const char16_t before = buffer.at(pos - 1);
    const char16_t after = buffer.at(pos);
    return !(U16_IS_LEAD(before) && U16_IS_TRAIL(after)) && !(before == u'\r' && after == u'\n');
}

inline int boundaryNear(const platform::TextBuffer& buffer, int pos)
{
    pos = std::clamp(pos, 0, buffer.length());
    while (!isBoundary(buffer, pos))
        --pos;
    return pos;
}

// An edit layout of `buffer` in cjkFont() with tabs 37 pixels apart, told of every change of
// the buffer as the control tells it.
struct FollowingLayout {
    FollowingLayout(platform::TextBuffer& buffer, int wrapWidth)
        : layout(buffer)
        , lines(buffer.lineCount())
    {
        layout.setFont(cjkFont());
        layout.setTabStopDistance(37);
        layout.setWrapWidth(wrapWidth);
        buffer.addObserver([this, &buffer](const platform::TextBuffer::Change& change) {
            layout.textChanged(change, lines);
            lines = buffer.lineCount();
        });
    }
    FollowingLayout(const FollowingLayout&) = delete;
    FollowingLayout& operator=(const FollowingLayout&) = delete;

    platform::EditLayout layout;
    int lines;
};

} // namespace quillet_test
