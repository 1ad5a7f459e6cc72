// Input-method text on the edit view: a commit is one insertion recorded before it enters
// the text; a composition shown in place takes the selection's place when it starts.
#include "EditViewTestSupport.h"

using quillet_test::EditViewTest;
using Sel = std::pair<int, int>;

TEST_F(EditViewTest, CommitOverASelectionIsTwoRecordsAndOneUndoRemovesIt)
{
    open(u"今日は晴れ");
    view->setSel(3, 5);
    ime(QString(), QStringLiteral("雨でした"));
    EXPECT_EQ(text(), u"今日は雨でした");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));
    undo();
    EXPECT_EQ(text(), u"今日は") << "one step removes all four characters";
    undo();
    EXPECT_EQ(text(), u"今日は晴れ");
    redo();
    redo();
    EXPECT_EQ(text(), u"今日は雨でした");
    EXPECT_EQ(sel(), Sel(7, 7));
}

TEST_F(EditViewTest, CommitsNeverMergeWithTypingAndKeepTheirSpaces)
{
    type(QStringLiteral("ab"));
    ime(QString(), QStringLiteral("日本 語"));
    type(QStringLiteral("cd"));
    ime(QString(), QStringLiteral("x"));
    ime(QString(), QStringLiteral("y"));
    EXPECT_EQ(text(), u"ab日本 語cdxy");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_TYPING, UNDO_INSERT, UNDO_TYPING, UNDO_INSERT, UNDO_INSERT}));
    undo();
    undo();
    undo();
    EXPECT_EQ(text(), u"ab日本 語");
    undo();
    EXPECT_EQ(text(), u"ab");
}

TEST_F(EditViewTest, EmptyCommitRecordsNothingAndKeepsTheSelection)
{
    open(u"abc");
    view->setSel(0, 2);
    ime(QString(), QString());
    EXPECT_EQ(records(), 0);
    EXPECT_EQ(sel(), Sel(0, 2));
    EXPECT_EQ(text(), u"abc");
}

TEST_F(EditViewTest, InPlaceCompositionRecordsTheSelectionOnceWhenItStarts)
{
    open(u"[selected]");
    view->setSel(1, 9);
    ime(QStringLiteral("に"), QString());
    EXPECT_EQ(text(), u"[]") << "the composition takes the selection's place";
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE}));
    ime(QStringLiteral("にほ"), QString());
    ime(QStringLiteral("日本"), QString());
    EXPECT_EQ(records(), 1);
    ime(QString(), QStringLiteral("日本"));
    EXPECT_EQ(text(), u"[日本]");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));
    undo();
    EXPECT_EQ(text(), u"[]");
    undo();
    EXPECT_EQ(text(), u"[selected]");

    // A commit that starts the next composition in the same event.
    open(u"ab");
    view->setSel(0, 1);
    ime(QStringLiteral("か"), QStringLiteral("漢"));
    EXPECT_EQ(text(), u"漢b");
    ime(QString(), QStringLiteral("字"));
    EXPECT_EQ(text(), u"漢字b");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT, UNDO_INSERT}));
}

TEST_F(EditViewTest, CancelledCompositionLeavesAnUndoableDeletion)
{
    open(u"abc");
    view->setSel(1, 2);
    ime(QStringLiteral("ka"), QString());
    ime(QString(), QString());   // the user cancels the composition
    EXPECT_EQ(text(), u"ac");
    EXPECT_EQ(records(), 1);
    undo();
    EXPECT_EQ(text(), u"abc");
    EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));

    // Typing ends in-place mode: the next composition over a selection records it afresh.
    open(u"abcd");
    ime(QStringLiteral("ka"), QString());
    type(QStringLiteral("z"));
    view->setSel(2, 4);
    ime(QStringLiteral("ki"), QString());
    EXPECT_EQ(text(), u"zad");
    EXPECT_EQ(kinds(), (std::vector<int>{UNDO_TYPING, UNDO_DELETE}));
}

TEST_F(EditViewTest, ReplacementAroundTheCaretIsRecordedAsTheControlMakesIt)
{
    open(u"abcdef");
    view->setSel(4, 4);
    ime(QString(), QStringLiteral("XYZ"), -2, 2);   // a reconversion of "cd"
    EXPECT_EQ(text(), u"abXYZef");
    ASSERT_EQ(kinds(), (std::vector<int>{UNDO_DELETE, UNDO_INSERT}));
    EXPECT_EQ(history().records()[0].strText, u"cd");

    // An input method that deletes around the caret without committing anything.
    view->setSel(5, 5);
    ime(QString(), QString(), -1, 1);
    EXPECT_EQ(text(), u"abXYef");
    EXPECT_EQ(records(), 3);

    // A replacement that reaches past the text is clipped to it, in the record as well.
    view->setSel(6, 6);
    ime(QString(), QStringLiteral("!"), -1, 40);
    EXPECT_EQ(text(), u"abXYe!");
    ASSERT_EQ(records(), 5);
    EXPECT_EQ(history().records()[3].strText, u"f");

    // An insertion away from the caret, replacing nothing.
    view->setSel(6, 6);
    ime(QString(), QStringLiteral("^"), -6, 0);
    EXPECT_EQ(text(), u"^abXYe!");

    while (enabled(res::ID_EDIT_UNDO))
        undo();
    EXPECT_EQ(text(), u"abcdef");
}

TEST_F(EditViewTest, CommittedTextIsNotRecordedAgainOnItsWayIn)
{
    open(u"");
    ime(QString(), QStringLiteral("a b\tc\r\nd"));
    EXPECT_EQ(text(), u"a b\tc\r\nd");
    ASSERT_EQ(records(), 1) << "not one record per unit, and no line-end records";
    EXPECT_EQ(history().records()[0].nEnd, 8);
    undo();
    EXPECT_EQ(text(), u"");
}
