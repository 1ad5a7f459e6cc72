// Ten thousand random edits through real key, mouse and input-method events, the view's
// commands, undo and redo: every undo and redo must land on the text that was there at that
// point, Undo and Redo must be enabled exactly when the history allows them, and unwinding
// everything must give back the original text, rewinding it the final one.
#include "EditViewTestSupport.h"

#include "../../edit/HistoryOracle.h"

#include <random>

using quillet_test::EditViewTest;
using quillet_test::HistoryOracle;

namespace {

// What the keyboard and the clipboard bring: letters, kana and kanji, a surrogate pair,
// a combining mark, and line ends of every kind.
const char16_t* const kKeys[] = {u"a", u"q", u"Z", u"7", u"か", u"漢", u"\U0001F600", u"e\u0301", u"é"};
const char16_t* const kPieces[] = {
    u"word", u"\r\n", u"\n", u"\r", u"x\r", u"\ny", u"\t", u" ", u"日本語", u"\U0001F600",
    u"\xD800", u"\xDC00", u"\r\n\r\n",
};

class RandomSession {
public:
    RandomSession(EditViewTest& test, CMyEditView& view, unsigned seed)
        : t(test), v(view), rng(seed)
    {
    }

    void run(int steps)
    {
        v.setText(std::u16string(u"Original\r\ntext with 漢字,\U0001F600 a lone\nLF\r\nand\rCR."));
        v.onInitialUpdate();
        HistoryOracle oracle(v.text());
        this->oracle = &oracle;

        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step);
            ASSERT_EQ(enabled(res::ID_EDIT_UNDO), oracle.canUndo());
            ASSERT_EQ(enabled(res::ID_EDIT_REDO), oracle.canRedo());
            oneStep();
            if (testing::Test::HasFatalFailure())
                return;
            if (v.textLength() > 800) {
                v.setSel(pick(200), 500 + pick(300));
                sendKey(Qt::Key_Delete);
                ASSERT_TRUE(edited(false));
            }
        }

        const std::u16string final = oracle.newest();
        while (enabled(res::ID_EDIT_REDO)) {
            v.onCommand(res::ID_EDIT_REDO);
            ASSERT_TRUE(oracle.afterRedo(v.undoHistory(), v.text()));
        }
        EXPECT_EQ(v.text(), final);
        while (enabled(res::ID_EDIT_UNDO)) {
            v.onCommand(res::ID_EDIT_UNDO);
            ASSERT_TRUE(oracle.afterUndo(v.undoHistory(), v.text()));
        }
        EXPECT_EQ(v.text(), oracle.original());
        EXPECT_FALSE(enabled(res::ID_EDIT_UNDO));
        while (enabled(res::ID_EDIT_REDO)) {
            v.onCommand(res::ID_EDIT_REDO);
            ASSERT_TRUE(oracle.afterRedo(v.undoHistory(), v.text()));
        }
        EXPECT_EQ(v.text(), final);
        EXPECT_TRUE(v.buffer().checkInvariant());
    }

private:
    int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    QString piece() { return QString::fromStdU16String(kPieces[pick(std::size(kPieces))]); }

    bool enabled(unsigned id)
    {
        platform::fx::CmdUI ui(id);
        v.onUpdate(ui);
        return ui.enabled();
    }

    void sendKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&v, key, modifiers);
    }

    // The text as it will be after the selection's deletion alone.
    std::u16string withoutSelection() const
    {
        int s = 0, e = 0;
        v.getSel(&s, &e);
        return withoutRange(s, e);
    }
    std::u16string withoutRange(int s, int e) const
    {
        std::u16string text = v.text();
        return text.erase(static_cast<size_t>(s), static_cast<size_t>(e - s));
    }

    testing::AssertionResult edited(bool mayMerge)
    {
        return oracle->afterEdit(v.undoHistory(), m_intermediate, v.text(), mayMerge);
    }

    void oneStep()
    {
        m_intermediate = withoutSelection();
        switch (pick(20)) {
        case 0: case 1: case 2: case 3:   // a typing run, one key at a time
            for (int n = 1 + pick(6); n > 0; --n) {
                m_intermediate = withoutSelection();
                const QString keys = QString::fromStdU16String(kKeys[pick(std::size(kKeys))]);
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, keys);
                QApplication::sendEvent(&v, &press);
                ASSERT_TRUE(edited(true));
            }
            return;
        case 4:
            sendKey(Qt::Key_Return, pick(2) ? Qt::ControlModifier : Qt::NoModifier);
            break;
        case 5: {
            const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Escape};
            const int which = pick(4);
            sendKey(keys[which], which == 2 ? Qt::ControlModifier : Qt::NoModifier);
            break;
        }
        case 6:
            sendKey(Qt::Key_Backspace);
            break;
        case 7:
            sendKey(Qt::Key_Delete);
            break;
        case 8: {   // a new selection, by any means the user has
            const int length = v.textLength();
            switch (pick(3)) {
            case 0: v.setSel(pick(length + 1), pick(length + 1)); break;
            case 1: sendKey(pick(2) ? Qt::Key_Left : Qt::Key_Right, Qt::ShiftModifier); break;
            default: t.click(pick(length + 1)); break;
            }
            break;
        }
        case 9: {
            QString clip;
            for (int n = pick(3); n >= 0; --n)
                clip += piece();
            if (pick(6) == 0)
                clip.prepend(QChar(u'\0'));   // text on the clipboard, but nothing before its NUL
            QApplication::clipboard()->setText(clip);
            v.onCommand(res::ID_EDIT_PASTE);
            break;
        }
        case 10:
            if (enabled(pick(2) ? res::ID_EDIT_CUT : res::ID_EDIT_CLEAR))
                v.onCommand(pick(2) ? res::ID_EDIT_CUT : res::ID_EDIT_CLEAR);
            break;
        case 11: {
            QString replacement;
            for (int n = pick(3); n > 0; --n)
                replacement += piece();
            v.ReplaceSelWithUndo(replacement);
            break;
        }
        case 12:
            imeStep();
            return;
        case 13: case 14: case 15: case 16:
            v.onCommand(res::ID_EDIT_UNDO);   // also when disabled: it must do nothing
            ASSERT_TRUE(oracle->afterUndo(v.undoHistory(), v.text()));
            return;
        default:
            v.onCommand(res::ID_EDIT_REDO);
            ASSERT_TRUE(oracle->afterRedo(v.undoHistory(), v.text()));
            return;
        }
        ASSERT_TRUE(edited(false));
    }

    void sendIme(const QString& preedit, const QString& commit, int from = 0, int length = 0)
    {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty() || from != 0 || length > 0)
            event.setCommitString(commit, from, length);
        QApplication::sendEvent(&v, &event);
    }

    void imeStep()
    {
        switch (pick(4)) {
        case 0:   // a composition shown in place, then committed or cancelled
            sendIme(QStringLiteral("にほん"), QString());
            ASSERT_TRUE(edited(false));
            m_intermediate = withoutSelection();
            sendIme(pick(3) ? QStringLiteral("日本") : QString(), pick(2) ? QStringLiteral("日本") : QString());
            ASSERT_TRUE(edited(false));
            return;
        case 1: {   // a reconversion of the text around the caret
            const int caret = v.buffer().caret();
            const int from = -pick(4);
            const int length = pick(5);
            const int start = std::clamp(caret + from, 0, v.textLength());
            const int end = std::clamp(start + length, start, v.textLength());
            m_intermediate = withoutRange(start, end);
            sendIme(QString(), pick(4) ? QStringLiteral("変換") : QString(), from, length);
            ASSERT_TRUE(edited(false));
            return;
        }
        default:   // a plain commit, perhaps with a space in it
            sendIme(QString(), pick(2) ? QStringLiteral("漢 字") : QStringLiteral("\U0001F600"));
            ASSERT_TRUE(edited(false));
            return;
        }
    }

    EditViewTest& t;
    CMyEditView& v;
    std::mt19937 rng;
    HistoryOracle* oracle = nullptr;
    std::u16string m_intermediate;
};

} // namespace

TEST_F(EditViewTest, TenThousandRandomEditsUndoAndRedoExactly)
{
    for (unsigned seed : {20240601u, 3u, 11u, 2718u, 31337u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        RandomSession(*this, *view, seed).run(10000);
        if (HasFatalFailure())
            return;
    }
}
