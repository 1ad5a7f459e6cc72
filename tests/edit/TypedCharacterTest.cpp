// The character table of the edit view: which keyboard units are recorded, and how.
#include "edit/TypedCharacter.h"

#include <gtest/gtest.h>

using edit::TypedRecording;
using edit::classifyTyped;

TEST(TypedCharacter, EveryUnitIsRecordedAsTheControlTreatsIt)
{
    EXPECT_EQ(classifyTyped(u'\r'), TypedRecording::LineEnd);
    EXPECT_EQ(classifyTyped(u'\n'), TypedRecording::LineEnd);
    EXPECT_EQ(classifyTyped(0x08), TypedRecording::Backspace);
    EXPECT_EQ(classifyTyped(u'\t'), TypedRecording::Separate);
    EXPECT_EQ(classifyTyped(u' '), TypedRecording::Separate);
    EXPECT_EQ(classifyTyped(0x7F), TypedRecording::Separate);

    // The other controls below U+0020 are ignored by the control, so nothing is recorded.
    for (char16_t c = 0; c < 0x20; ++c) {
        if (c == 0x08 || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        EXPECT_EQ(classifyTyped(c), TypedRecording::Nothing) << int(c);
    }
    // The C1 controls are inserted by the control, so they are recorded, each on its own.
    for (char16_t c = 0x80; c <= 0x9F; ++c)
        EXPECT_EQ(classifyTyped(c), TypedRecording::Separate) << int(c);
}

TEST(TypedCharacter, LettersSymbolsAndSurrogateHalvesExtendTheRun)
{
    for (char16_t c : {u'a', u'Z', u'0', u'!', u'~', u'\u00A0', u'\u00E9', u'\u3042', u'\u6F22',
                       u'\u3000', u'\u200D', u'\u0301', u'\uFF21', u'\uE000', u'\uFFFF'})
        EXPECT_EQ(classifyTyped(c), TypedRecording::Typing) << int(c);
    // Both halves of a pair, so that an emoji never splits across records.
    EXPECT_EQ(classifyTyped(0xD83D), TypedRecording::Typing);
    EXPECT_EQ(classifyTyped(0xDE00), TypedRecording::Typing);
}
