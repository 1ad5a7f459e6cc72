// The undo history on a TextBuffer: what each edit records, how records merge, where undo
// and redo leave the caret, and where the text of a change is kept.
#include "UndoHistoryTestSupport.h"

#include <vector>

using quillet_test::RecordingBuffer;

namespace {

using Sel = std::pair<int, int>;

class UndoHistoryTest : public ::testing::Test {
protected:
    RecordingBuffer rb;
    CUndoHistory& history = rb.history;
};

std::vector<int> kinds(const CUndoHistory& history)
{
    std::vector<int> result;
    for (const UndoRecord& r : history.records())
        result.push_back(r.nKind);
    return result;
}

} // namespace

TEST_F(UndoHistoryTest, TypingRunIsOneRecordUndoneAndRedoneInOneStep)
{
    rb.setText(u"xy", 1);
    rb.type(u"abc");
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(rb.record(0).nKind, UNDO_TYPING);
    EXPECT_EQ(rb.record(0).nStart, 1);
    EXPECT_EQ(rb.record(0).nEnd, 4);

    EXPECT_TRUE(history.Undo());
    EXPECT_EQ(rb.text(), u"xy");
    EXPECT_EQ(rb.sel(), Sel(1, 1));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());

    EXPECT_TRUE(history.Redo());
    EXPECT_EQ(rb.text(), u"xabcy");
    EXPECT_EQ(rb.sel(), Sel(4, 4)) << "the caret ends after the re-inserted run";
    EXPECT_TRUE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(UndoHistoryTest, SpaceTabDelAndLineEndStartRecordsOfTheirOwn)
{
    rb.type(u"ab cd");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_TYPING, UNDO_INSERT, UNDO_TYPING}));
    history.Undo();
    EXPECT_EQ(rb.text(), u"ab ");
    history.Undo();
    EXPECT_EQ(rb.text(), u"ab");
    history.Undo();
    EXPECT_EQ(rb.text(), u"");

    // Tab, DEL, a C1 control and both line-end characters: each its own insertion, and the
    // letters around them never merge across.
    rb.setText(u"");
    history.Clear();
    rb.type(u"a\tb\x7F" u"c\u0085d\re\nf");
    EXPECT_EQ(rb.text(), u"a\tb\x7F" u"c\u0085d\r\ne\r\nf");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_TYPING, UNDO_INSERT, UNDO_TYPING, UNDO_INSERT,
                                                UNDO_TYPING, UNDO_INSERT, UNDO_TYPING, UNDO_INSERT,
                                                UNDO_TYPING, UNDO_INSERT, UNDO_TYPING}));
    EXPECT_EQ(rb.record(7).nEnd - rb.record(7).nStart, 2) << "LF records the CR LF the control inserts";

    // Escape and Ctrl+A reach no record and no text.
    rb.type(u"\x1B\x01");
    EXPECT_EQ(history.count(), 11);
}

TEST_F(UndoHistoryTest, TypingMergesOnlyAtTheEndOfTheLatestRun)
{
    rb.type(u"ab");
    rb.select(0, 0);   // a click elsewhere
    rb.type(u"c");
    EXPECT_EQ(rb.text(), u"cab");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_TYPING, UNDO_TYPING}));

    rb.setText(u"");
    history.Clear();
    rb.type(u"ab");
    rb.backspace();
    rb.type(u"c");
    EXPECT_EQ(rb.text(), u"ac");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_TYPING, UNDO_DELETE, UNDO_TYPING}));

    // Typing after an inserted text (paste, input-method commit) starts a new run.
    rb.setText(u"");
    history.Clear();
    rb.replaceSel(u"漢字");
    rb.type(u"xy");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_INSERT, UNDO_TYPING}));

    // A surrogate pair typed as two units stays in the run it was typed in.
    rb.type(u"\U0001F600z");
    EXPECT_EQ(history.count(), 2);
    history.Undo();
    EXPECT_EQ(rb.text(), u"漢字");
}

TEST_F(UndoHistoryTest, TextIsHeldInExactlyOnePlace)
{
    rb.setText(u"hello world", 5);
    rb.replaceSel(u", big");
    const UndoRecord& insertion = rb.record(0);
    EXPECT_TRUE(insertion.strText.empty()) << "an applied insertion's text is in the buffer";
    history.Undo();
    EXPECT_EQ(insertion.strText, u", big");
    history.Redo();
    EXPECT_TRUE(insertion.strText.empty());
    EXPECT_EQ(insertion.strText.capacity(), std::u16string().capacity()) << "its memory went too";

    rb.select(0, 5);
    rb.deleteKey();
    const UndoRecord& deletion = rb.record(1);
    EXPECT_EQ(deletion.strText, u"hello");
    history.Undo();
    EXPECT_TRUE(deletion.strText.empty()) << "an undone deletion's text is back in the buffer";
    EXPECT_EQ(rb.text(), u"hello, big world");
    history.Redo();
    EXPECT_EQ(deletion.strText, u"hello");
    EXPECT_EQ(rb.text(), u", big world");
}

TEST_F(UndoHistoryTest, BackspaceAndDeleteRecordExactlyWhatTheControlRemoves)
{
    struct Case {
        const char* what;
        std::u16string text;
        int caret;
        bool forward;
        int start, end;   // the range recorded, or start == end for none
    };
    const Case cases[] = {
        {"Backspace at the start", u"abc", 0, false, 0, 0},
        {"Delete at the end", u"abc", 3, true, 3, 3},
        {"Backspace after CR LF", u"a\r\nb", 3, false, 1, 3},
        {"Delete in front of CR LF", u"a\r\nb", 1, true, 1, 3},
        {"Backspace after a lone LF", u"a\nb", 2, false, 1, 2},
        {"Backspace after LF of LF LF", u"\n\n", 2, false, 1, 2},
        {"Delete in front of a lone CR", u"a\rb", 1, true, 1, 2},
        {"Delete in front of CR CR LF", u"\r\r\n", 0, true, 0, 1},
        {"Backspace between CR and LF", u"a\r\nb", 2, false, 1, 2},
        {"Backspace after a surrogate pair", u"x\U0001F600", 3, false, 1, 3},
        {"Delete in front of a surrogate pair", u"\U0001F600x", 0, true, 0, 2},
        {"Backspace after a lone high surrogate", u"x\xD83D", 2, false, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rb.setText(c.text, c.caret);
        history.Clear();
        if (c.forward)
            rb.deleteKey();
        else
            rb.backspace();
        const std::u16string after = rb.text();
        if (c.start == c.end) {
            EXPECT_EQ(history.count(), 0);
            EXPECT_EQ(after, c.text);
            continue;
        }
        ASSERT_EQ(history.count(), 1);
        EXPECT_EQ(rb.record(0).nKind, c.forward ? UNDO_DELETE_FORWARD : UNDO_DELETE);
        EXPECT_EQ(rb.record(0).nStart, c.start);
        EXPECT_EQ(rb.record(0).nEnd, c.end);
        EXPECT_EQ(after, c.text.substr(0, size_t(c.start)) + c.text.substr(size_t(c.end)));
        history.Undo();
        EXPECT_EQ(rb.text(), c.text);
        history.Redo();
        EXPECT_EQ(rb.text(), after);
    }

    // With a selection both keys record the selection as a deletion of kind 4.
    rb.setText(u"abcdef");
    history.Clear();
    rb.select(4, 1);
    rb.deleteKey();
    rb.select(0, 2);
    rb.backspace();
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_DELETE, UNDO_DELETE}));
    EXPECT_EQ(rb.record(0).strText, u"bcd");
    EXPECT_EQ(rb.record(1).strText, u"ae");
    EXPECT_EQ(rb.text(), u"f");

    // Keys other than Backspace and Delete record nothing.
    rb.select(0, 1);
    history.RecordKeyDelete(0x41);
    EXPECT_EQ(history.count(), 2);
}

TEST_F(UndoHistoryTest, UndoPlacesTheCaretByKindOfChange)
{
    rb.setText(u"abcd", 1);
    rb.deleteKey();   // removes b; the caret stays at 1
    history.Undo();
    EXPECT_EQ(rb.text(), u"abcd");
    EXPECT_EQ(rb.sel(), Sel(1, 1)) << "in front of a character the Delete key removed";

    rb.select(2, 2);
    rb.backspace();   // removes b
    history.Undo();
    EXPECT_EQ(rb.sel(), Sel(2, 2)) << "after a character Backspace removed";

    rb.select(1, 3);
    rb.deleteKey();
    history.Undo();
    EXPECT_EQ(rb.sel(), Sel(3, 3)) << "after a deleted selection";

    history.Redo();
    EXPECT_EQ(rb.text(), u"ad");
    EXPECT_EQ(rb.sel(), Sel(1, 1)) << "where re-deleted text was";

    rb.select(1, 1);
    rb.replaceSel(u"XYZ");
    history.Undo();
    EXPECT_EQ(rb.sel(), Sel(1, 1)) << "where an undone insertion was";
    history.Redo();
    EXPECT_EQ(rb.sel(), Sel(4, 4)) << "after a re-inserted text";
}

TEST_F(UndoHistoryTest, ReplacedSelectionTakesTwoUndoSteps)
{
    rb.setText(u"one two three");
    rb.select(4, 7);
    rb.type(u"2");
    EXPECT_EQ(rb.text(), u"one 2 three");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_DELETE, UNDO_TYPING}));
    history.Undo();
    EXPECT_EQ(rb.text(), u"one  three");
    history.Undo();
    EXPECT_EQ(rb.text(), u"one two three");

    // An empty replacement records only the deletion; an empty one over no selection nothing.
    history.Clear();
    rb.select(0, 4);
    rb.replaceSel(u"");
    rb.replaceSel(u"");
    EXPECT_EQ(kinds(history), (std::vector<int>{UNDO_DELETE}));
}

TEST_F(UndoHistoryTest, NewChangeAfterUndoDiscardsRedo)
{
    rb.type(u"ab cd");
    history.Undo();
    history.Undo();
    EXPECT_EQ(rb.text(), u"ab");
    EXPECT_EQ(history.count(), 3);
    // Typing at the end of the run that is now on top merges into it and drops the redo.
    rb.type(u"x");
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(rb.record(0).nEnd, 3);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(rb.text(), u"abx");

    history.Undo();
    rb.select(0, 0);
    rb.deleteKey();
    EXPECT_EQ(history.count(), 1) << "nothing to delete: nothing recorded, redo kept";
    EXPECT_EQ(history.top(), 0);
    EXPECT_TRUE(history.CanRedo());
    rb.replaceSel(u"Q");
    EXPECT_EQ(history.count(), 1);
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(UndoHistoryTest, UndoAndRedoAtTheEndsDoNothing)
{
    rb.setText(u"keep", 2);
    EXPECT_FALSE(history.Undo());
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(rb.text(), u"keep");
    EXPECT_EQ(rb.sel(), Sel(2, 2));

    rb.type(u"x");
    EXPECT_FALSE(history.Redo());
    EXPECT_TRUE(history.Undo());
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(rb.text(), u"keep");
}

TEST_F(UndoHistoryTest, ClearForgetsEveryRecordAndItsMemory)
{
    rb.type(u"a b c");
    rb.select(0, 3);
    rb.backspace();
    history.Undo();
    ASSERT_GT(history.memoryBytes(), 0u);
    history.Clear();
    EXPECT_EQ(history.count(), 0);
    EXPECT_EQ(history.top(), 0);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.memoryBytes(), 0u);
    EXPECT_FALSE(history.Redo());
    EXPECT_EQ(rb.text(), u"a b c");
}

TEST_F(UndoHistoryTest, DeletedTextComesBackExactlyWithNulUnitsAndLoneSurrogates)
{
    const std::u16string odd = std::u16string(u"a\0b", 3) + u"\xDC00\r\n\r\xD800z";
    rb.setText(odd);
    rb.select(0, static_cast<int>(odd.size()));
    rb.backspace();
    EXPECT_EQ(rb.record(0).strText, odd) << "copying does not stop at a NUL";
    EXPECT_EQ(rb.text(), u"");
    history.Undo();
    EXPECT_EQ(rb.text(), odd);

    // An inserted text with a NUL is recorded at its full length.
    history.Clear();
    rb.select(1, 1);
    rb.replaceSel(std::u16string(u"\0\0", 2));
    EXPECT_EQ(rb.record(0).nEnd - rb.record(0).nStart, 2);
    history.Undo();
    EXPECT_EQ(rb.text(), odd);
}

TEST_F(UndoHistoryTest, RecordingNothingOrOutOfRangeIsHarmless)
{
    rb.setText(u"abc", 1);
    history.RecordInsert(u"", true);
    history.RecordInsert(u"", false);
    history.RecordDelete(2, 2, false);
    history.RecordDelete(3, 1, false);
    history.RecordDelete(5, 9, true);
    history.RecordDeleteSelection();
    EXPECT_EQ(history.count(), 0);

    // A range reaching past the text is clipped to it.
    history.RecordDelete(-4, 99, false);
    ASSERT_EQ(history.count(), 1);
    EXPECT_EQ(rb.record(0).nStart, 0);
    EXPECT_EQ(rb.record(0).nEnd, 3);
    EXPECT_EQ(rb.record(0).strText, u"abc");

    // A history without a buffer records and changes nothing.
    CUndoHistory detached;
    detached.RecordInsert(u"x", false);
    detached.RecordDelete(0, 1, false);
    detached.RecordKeyDelete(CUndoHistory::kKeyDelete);
    EXPECT_EQ(detached.count(), 0);
    EXPECT_FALSE(detached.Undo());
    EXPECT_EQ(detached.GetRangeText(0, 1), u"");
}

TEST(UndoHistoryLimit, ReachingTheLimitDropsTheOldestTenth)
{
    RecordingBuffer rb(25);
    for (int i = 0; i < 24; ++i)
        rb.type(u' ');
    EXPECT_EQ(rb.history.count(), 24);
    rb.type(u' ');   // the 25th applied record: the oldest 2 go
    EXPECT_EQ(rb.history.count(), 23);
    EXPECT_EQ(rb.history.top(), 23);
    EXPECT_EQ(rb.record(0).nStart, 2) << "the records that are left keep their order";
    EXPECT_EQ(rb.record(22).nStart, 24);

    while (rb.history.Undo()) {
    }
    EXPECT_EQ(rb.text(), u"  ") << "the changes of the dropped records can no longer be undone";
    while (rb.history.Redo()) {
    }
    EXPECT_EQ(rb.text(), std::u16string(25, u' '));

    // A limit too small for a tenth still drops one record, so the limit holds.
    RecordingBuffer tiny(3);
    for (int i = 0; i < 10; ++i)
        tiny.type(u'\t');
    EXPECT_LT(tiny.history.count(), 3);
    EXPECT_TRUE(tiny.history.CanUndo());

    EXPECT_EQ(CUndoHistory().limit(), 2147483647);
}

TEST(UndoHistoryMemory, LongTypingRunIsOneSmallRecord)
{
    RecordingBuffer rb;
    rb.setText(u"start");
    rb.select(5, 5);
    for (int i = 0; i < 10000; ++i)
        rb.type(char16_t(u'a' + i % 26));
    ASSERT_EQ(rb.history.count(), 1);
    EXPECT_EQ(rb.record(0).nEnd - rb.record(0).nStart, 10000);
    EXPECT_LE(rb.history.memoryBytes(), sizeof(UndoRecord)) << "no text is stored for an applied run";
    rb.history.Undo();
    EXPECT_EQ(rb.text(), u"start");
    EXPECT_GE(rb.history.memoryBytes(), 10000 * sizeof(char16_t)) << "the undone run's text is held now";
}
