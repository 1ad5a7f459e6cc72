// Long random sequences of edits, undo and redo on a TextBuffer: every undo and redo must
// land on the text that was there at that point of the history, and unwinding everything
// must give back the original text exactly.
#include "HistoryOracle.h"
#include "UndoHistoryTestSupport.h"

#include <random>

using quillet_test::HistoryOracle;
using quillet_test::RecordingBuffer;

namespace {

// Pieces chosen to stress the boundaries the control treats as one character.
const char16_t* const kPieces[] = {
    u"a", u"Z", u"漢", u"か", u"\U0001F600", u"\r\n", u"\r", u"\n", u"\t", u" ", u"e\u0301",
    u"\xD800", u"\xDC00", u"word", u"\r\n\r\n", u"x\r", u"\ny",
};

std::u16string withoutSelection(const RecordingBuffer& rb)
{
    const auto [s, e] = rb.sel();
    std::u16string text = rb.text();
    return text.erase(static_cast<size_t>(s), static_cast<size_t>(e - s));
}

void runRandomSession(unsigned seed, int steps)
{
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 rng(seed);
    const auto pick = [&rng](unsigned n) { return static_cast<int>(rng() % n); };

    RecordingBuffer rb;
    rb.setText(u"Original text\r\nwith 漢字, a pair \U0001F600,\r\na lone\nLF and\rCR.\r\n", 0);
    HistoryOracle oracle(rb.text());

    for (int step = 0; step < steps; ++step) {
        SCOPED_TRACE(testing::Message() << "step " << step);
        const std::u16string intermediate = withoutSelection(rb);
        const int length = rb.buffer.length();
        bool mayMerge = false;
        switch (pick(14)) {
        case 0: case 1: case 2: {   // a typing run
            const std::u16string run = kPieces[pick(std::size(kPieces))];
            mayMerge = true;
            for (char16_t c : run) {
                const std::u16string before = withoutSelection(rb);
                rb.type(c);
                ASSERT_TRUE(oracle.afterEdit(rb.history, before, rb.text(), edit::extendsTypingRun(c)));
            }
            continue;
        }
        case 3:
            rb.type(u"\r \t\x7F"[pick(4)]);
            break;
        case 4:
            rb.backspace();
            break;
        case 5:
            rb.deleteKey();
            break;
        case 6: case 7:
            rb.select(pick(unsigned(length) + 1), pick(unsigned(length) + 1));
            break;
        case 8: {
            std::u16string text;
            for (int n = pick(4); n > 0; --n)
                text += kPieces[pick(std::size(kPieces))];
            rb.replaceSel(text);
            break;
        }
        case 9: case 10: case 11:
            rb.history.Undo();
            ASSERT_TRUE(oracle.afterUndo(rb.history, rb.text()));
            continue;
        default:
            rb.history.Redo();
            ASSERT_TRUE(oracle.afterRedo(rb.history, rb.text()));
            continue;
        }
        ASSERT_TRUE(oracle.afterEdit(rb.history, intermediate, rb.text(), mayMerge));
        // Keep the text small so that the kept states stay cheap.
        if (rb.buffer.length() > 600) {
            const std::u16string before = rb.text();
            rb.select(0, 300);
            const std::u16string cut = withoutSelection(rb);
            rb.deleteKey();
            ASSERT_TRUE(oracle.afterEdit(rb.history, cut, rb.text(), false));
        }
    }

    const std::u16string final = oracle.newest();
    while (rb.history.CanRedo()) {
        rb.history.Redo();
        ASSERT_TRUE(oracle.afterRedo(rb.history, rb.text()));
    }
    EXPECT_EQ(rb.text(), final);
    while (rb.history.CanUndo()) {
        rb.history.Undo();
        ASSERT_TRUE(oracle.afterUndo(rb.history, rb.text()));
    }
    EXPECT_EQ(rb.text(), oracle.original());
    while (rb.history.CanRedo()) {
        rb.history.Redo();
        ASSERT_TRUE(oracle.afterRedo(rb.history, rb.text()));
    }
    EXPECT_EQ(rb.text(), final);
    EXPECT_TRUE(rb.buffer.checkInvariant());
}

} // namespace

TEST(UndoHistoryRandom, TenThousandEditsUndoneAndRedoneExactly)
{
    for (unsigned seed : {20240601u, 1u, 7u, 42u, 977u, 65537u})
        runRandomSession(seed, 10000);
}
