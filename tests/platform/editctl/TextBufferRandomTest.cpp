// Thousands of random edits of a TextBuffer against a plain std::u16string model.

#include "platform/editctl/TextBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using platform::TextBuffer;

namespace {

// Pieces that make and break CR LF pairs and surrogate pairs in every combination.
const std::u16string kPieces[] = {
    u"a", u"xyz", u"\r", u"\n", u"\r\n", u"\n\r", u"\u65e5\u672c", u"\U0001F600",
    u"\xD83D", u" ", u"\t", u"\r\r\n\n", u"word ", u"\u3042\u3044\u3046",
};

std::u16string randomText(std::mt19937& random)
{
    std::uniform_int_distribution<int> count(0, 4);
    std::uniform_int_distribution<int> piece(0, std::size(kPieces) - 1);
    std::u16string text;
    for (int n = count(random); n > 0; --n)
        text += kPieces[piece(random)];
    return text;
}

std::vector<int> modelLineStarts(const std::u16string& text)
{
    std::vector<int> starts{0};
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == u'\r' && text[i + 1] == u'\n')
            starts.push_back(static_cast<int>(i) + 2);
    return starts;
}

int modelLineOf(const std::vector<int>& starts, int pos)
{
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin())
         - 1;
}

bool pairAt(const std::u16string& text, size_t i)
{
    return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00
        && text[i + 1] <= 0xDFFF;
}

// Code points the plain way: a walk from the start.
int modelCodePointsBefore(const std::u16string& text, int pos)
{
    int count = 0;
    for (int i = 0; i < pos; ++i) {
        if (pairAt(text, i)) {
            if (i + 1 == pos)
                break;  // pos inside the pair counts as its start
            ++i;
        }
        ++count;
    }
    return count;
}

// Compares every line and code-point query, not only the text, so a stale shift anywhere
// shows up.
void expectSameLines(const TextBuffer& buffer, const std::u16string& model, std::mt19937& random)
{
    const std::vector<int> starts = modelLineStarts(model);
    ASSERT_EQ(buffer.lineCount(), static_cast<int>(starts.size()));
    std::uniform_int_distribution<int> pos(0, static_cast<int>(model.size()));
    for (int probe = 0; probe < 3; ++probe) {
        const int p = pos(random);
        const int line = modelLineOf(starts, p);
        ASSERT_EQ(buffer.lineFromChar(p), line) << "pos " << p;
        ASSERT_EQ(buffer.lineIndex(line), starts[line]);
        const int end = line + 1 < static_cast<int>(starts.size())
                      ? starts[line + 1] - 2 : static_cast<int>(model.size());
        ASSERT_EQ(buffer.lineLength(p), end - starts[line]);
        const int codePoints = modelCodePointsBefore(model, p);
        ASSERT_EQ(buffer.codePointsBefore(p), codePoints) << "pos " << p;
        const bool insidePair = p > 0 && pairAt(model, p - 1);
        ASSERT_EQ(buffer.posOfCodePoint(codePoints), insidePair ? p - 1 : p) << "pos " << p;
    }
    ASSERT_EQ(buffer.codePointCount(), modelCodePointsBefore(model, static_cast<int>(model.size())));
}

void runRandomEdits(unsigned seed, int steps)
{
    std::mt19937 random(seed);
    TextBuffer buffer;
    std::u16string model;
    int changes = 0;
    int lineBalance = 0;
    std::u16string removed;
    buffer.addObserver([&](const TextBuffer::Change& change) {
        ++changes;
        lineBalance += change.linesInserted - change.linesRemoved;
        removed = change.removedText;
    });

    for (int step = 0; step < steps; ++step) {
        const int size = static_cast<int>(model.size());
        std::uniform_int_distribution<int> pos(0, size);
        int start = pos(random);
        int end = pos(random);
        if (random() % 3 == 0)
            end = std::min(size, start + static_cast<int>(random() % 3));  // small deletes
        const std::u16string text = randomText(random);

        const int linesBefore = buffer.lineCount();
        const int changesBefore = changes;
        lineBalance = 0;
        removed.clear();
        buffer.replace(start, end, text);
        if (start > end)
            std::swap(start, end);
        ASSERT_EQ(removed, model.substr(start, end - start)) << "seed " << seed << " step " << step;
        model.replace(start, end - start, text);

        ASSERT_EQ(buffer.text(), model) << "seed " << seed << " step " << step;
        ASSERT_TRUE(buffer.checkInvariant()) << "seed " << seed << " step " << step;
        const bool edited = start != end || !text.empty();
        ASSERT_EQ(changes - changesBefore, edited ? 1 : 0);
        ASSERT_EQ(buffer.lineCount(), linesBefore + lineBalance);
        expectSameLines(buffer, model, random);
        // Keep the text from growing without bound so both ends get exercised.
        if (model.size() > 3000) {
            buffer.replace(0, 1500, u"");
            model.erase(0, 1500);
        }
    }
}

} // namespace

TEST(TextBufferRandom, MatchesAPlainStringModel)
{
    for (unsigned seed : {1u, 2u, 3u, 20240601u})
        runRandomEdits(seed, 3000);
}

TEST(TextBufferRandom, SelectionStaysInsideTheText)
{
    std::mt19937 random(7);
    TextBuffer buffer;
    std::u16string model;
    for (int step = 0; step < 2000; ++step) {
        const int size = static_cast<int>(model.size());
        std::uniform_int_distribution<int> pos(-2, size + 2);
        buffer.setSel(pos(random), pos(random));
        int start = 0;
        int end = 0;
        buffer.getSel(&start, &end);
        ASSERT_TRUE(start >= 0 && start <= end && end <= size);
        const std::u16string text = randomText(random);
        if (step % 2 == 0) {
            buffer.replaceSel(text);
            model.replace(start, end - start, text);
            ASSERT_EQ(buffer.caret(), start + static_cast<int>(text.size()));
            ASSERT_EQ(buffer.anchor(), buffer.caret());
        } else {
            buffer.replace(pos(random), pos(random), text);
            model = buffer.text();
        }
        ASSERT_EQ(buffer.text(), model);
        ASSERT_TRUE(buffer.checkInvariant());
    }
}

TEST(TextBufferRandom, BoundariesNeverSplitPairs)
{
    std::mt19937 random(11);
    TextBuffer buffer;
    std::u16string text;
    for (int i = 0; i < 400; ++i)
        text += randomText(random);
    buffer.setText(text);
    const auto insidePair = [&](int pos) {
        if (pos <= 0 || pos >= buffer.length())
            return false;
        const char16_t before = buffer.at(pos - 1);
        const char16_t after = buffer.at(pos);
        return (before == u'\r' && after == u'\n')
            || (before >= 0xD800 && before <= 0xDBFF && after >= 0xDC00 && after <= 0xDFFF);
    };
    for (int pos = 0; pos <= buffer.length(); pos = buffer.nextCharBoundary(pos)) {
        if (insidePair(pos))
            continue;  // only reachable by setSel; boundaries from here are not asserted
        const int next = buffer.nextCharBoundary(pos);
        const int prev = buffer.prevCharBoundary(pos);
        ASSERT_FALSE(insidePair(next)) << pos;
        ASSERT_FALSE(insidePair(prev)) << pos;
        ASSERT_FALSE(insidePair(buffer.nextWordBoundary(pos))) << pos;
        ASSERT_FALSE(insidePair(buffer.prevWordBoundary(pos))) << pos;
        int sentenceStart = -1;
        int sentenceEnd = -1;
        buffer.sentenceAt(pos, &sentenceStart, &sentenceEnd);
        ASSERT_FALSE(insidePair(sentenceStart) || insidePair(sentenceEnd)) << pos;
        const int line = buffer.lineFromChar(pos);
        ASSERT_TRUE(sentenceStart >= buffer.lineIndex(line) && sentenceEnd <= buffer.lineEnd(line)
                    && (sentenceStart < sentenceEnd || sentenceStart == buffer.lineEnd(line)))
            << pos;
        ASSERT_TRUE(next > pos || pos == buffer.length());
        ASSERT_TRUE(buffer.nextWordBoundary(pos) > pos || pos == buffer.length());
        ASSERT_TRUE(buffer.prevWordBoundary(pos) < pos || pos == 0);
        if (pos == buffer.length())
            break;
    }
}
