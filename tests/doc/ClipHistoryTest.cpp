#include "doc/ClipHistory.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(ClipHistory, FollowsAModelOfNewestFirstCappedAtAHundred)
{
    // The model: a vector with the newest at the front, trimmed at the back.
    std::mt19937 rng(14);
    doc::ClipHistory history;
    std::vector<std::u16string> model;
    const std::u16string pool[] = {u"", u"a", u"a", u"x\r\ny", u"\t", u"long text"};
    for (int step = 0; step < 1000; ++step) {
        std::u16string text = pool[rng() % std::size(pool)];
        if (rng() % 3 == 0)
            text += char16_t(u'0' + step % 10);
        history.add(text);
        model.insert(model.begin(), text);
        if (model.size() > 100)
            model.pop_back();
        ASSERT_EQ(history.size(), model.size());
        for (std::size_t i = 0; i < model.size(); ++i)
            ASSERT_EQ(history.at(i), model[i]) << "step " << step << " entry " << i;
    }
    EXPECT_EQ(history.size(), 100u);
}

TEST(ClipHistory, DisplayLines)
{
    const std::u16string pair = u"\U0001F600";  // one code point, two units
    struct Case {
        long index;
        std::u16string text;
        std::u16string line;
    };
    const Case cases[] = {
        {0, u"a\r\nb", u"  0: a..b"},
        {7, u"", u"  7: "},
        {42, u"\tx\n", u" 42: .x."},
        {99, u"日本語", u" 99: 日本語"},
        {1234, u"z", u"1234: z"},
        // 300 characters: cut to 256 with the prefix counted.
        {3, std::u16string(300, u'x'), u"  3: " + std::u16string(251, u'x')},
        // A pair that would straddle the cut is dropped whole.
        {3, std::u16string(250, u'x') + pair + u"y", u"  3: " + std::u16string(250, u'x')},
        {3, std::u16string(249, u'x') + pair + u"y",
         u"  3: " + std::u16string(249, u'x') + pair},
    };
    for (const Case& c : cases) {
        const std::u16string line = doc::clipHistoryLine(c.index, c.text);
        EXPECT_EQ(line, c.line) << "index " << c.index << " length " << c.text.size();
        EXPECT_LE(line.size(), 256u);
    }
    // A 10 MB entry is shown cut like any other.
    const std::u16string huge(5'000'000, u'\n');
    EXPECT_EQ(doc::clipHistoryLine(0, huge), u"  0: " + std::u16string(251, u'.'));
}
