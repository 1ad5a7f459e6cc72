// How the edit view records each keyboard unit: the text the control types for it, and
// whether it extends the typing run or starts a record of its own.
#include "edit/TypedCharacter.h"
#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <string>

using edit::extendsTypingRun;
using platform::TextBuffer;

namespace {

std::u16string typed(char16_t c)
{
    return std::u16string(TextBuffer::typedText(c));
}

} // namespace

TEST(TypedCharacter, EveryUnitIsRecordedAsTheControlTreatsIt)
{
    EXPECT_EQ(typed(u'\r'), u"\r\n");
    EXPECT_EQ(typed(u'\n'), u"\r\n");
    EXPECT_EQ(typed(TextBuffer::kBackspace), u"");   // it deletes instead
    for (char16_t c : {u'\r', u'\n', u'\t', u' ', u'\x7F'})
        EXPECT_FALSE(extendsTypingRun(c)) << int(c);
    for (char16_t c : {u'\t', u' ', u'\x7F'})
        EXPECT_EQ(typed(c), std::u16string(1, c)) << int(c);

    // The other controls below U+0020 type nothing, so nothing is recorded.
    for (char16_t c = 0; c < 0x20; ++c) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        EXPECT_EQ(typed(c), u"") << int(c);
    }
    // The C1 controls are typed, so they are recorded, each on its own.
    for (char16_t c = 0x80; c <= 0x9F; ++c) {
        EXPECT_EQ(typed(c), std::u16string(1, c)) << int(c);
        EXPECT_FALSE(extendsTypingRun(c)) << int(c);
    }
}

TEST(TypedCharacter, LettersSymbolsAndSurrogateHalvesExtendTheRun)
{
    // Both halves of a pair among them, so that an emoji never splits across records.
    for (char16_t c : {u'a', u'Z', u'0', u'!', u'~', u'\u00A0', u'\u00E9', u'\u3042', u'\u6F22',
                       u'\u3000', u'\u200D', u'\u0301', u'\uFF21', u'\uE000', u'\uFFFF',
                       char16_t(0xD83D), char16_t(0xDE00)}) {
        EXPECT_TRUE(extendsTypingRun(c)) << int(c);
        EXPECT_EQ(typed(c), std::u16string(1, c)) << int(c);
    }
}
