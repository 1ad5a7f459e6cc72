// In a build with assertions the history compares each change of its buffer with the records
// made just before it; a prediction that drifted from what the buffer did ends the run loudly.
#include "UndoHistoryTestSupport.h"

#include <gtest/gtest.h>

TEST(UndoRecordCheckDeathTest, AChangeThatDiffersFromItsRecordAborts)
{
#ifdef NDEBUG
    GTEST_SKIP() << "the records are checked in builds with assertions";
#endif
    const auto recordOneInsertTwo = [] {
        quillet_test::RecordingBuffer rb;
        rb.setText(u"abc", 1);
        rb.history.RecordInsert(u"x", false);
        rb.buffer.replaceSel(u"xy");
    };
    EXPECT_DEATH(recordOneInsertTwo(), "undo record mismatch: the buffer replaced 0 units at 1 by 2");
    const auto unrecorded = [] {
        quillet_test::RecordingBuffer rb;
        rb.setText(u"abc", 1);
        rb.buffer.replace(0, 1, u"");
    };
    EXPECT_DEATH(unrecorded(), "say nothing");
    const auto twoDeletions = [] {
        quillet_test::RecordingBuffer rb;
        rb.setText(u"abcdef", 0);
        rb.history.RecordDelete(0, 1, false);
        rb.history.RecordDelete(2, 3, false);
        rb.buffer.replace(0, 1, u"");
    };
    EXPECT_DEATH(twoDeletions(), "not one replacement");

    // What the records predicted, the buffer did: a replaced selection, typing, undo and redo.
    quillet_test::RecordingBuffer rb;
    rb.setText(u"abc", 0);
    rb.select(0, 2);
    rb.replaceSel(u"xyz");
    rb.type(u"qq\r");
    rb.backspace();
    EXPECT_TRUE(rb.history.Undo());
    EXPECT_TRUE(rb.history.Redo());
    EXPECT_EQ(rb.text(), u"xyzqqc");
}
