// What a save or an open would not carry over exactly. A character is held exactly when
// encoding it and decoding the bytes gives it back.

#include "platform/nls/CodePages.h"

#include "NlsFixtures.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>
#include <random>

using namespace platform::nls;
using namespace nlstest;

namespace {

std::optional<EncodingLoss> lostCharacters(CodePage cp, std::u16string_view text)
{
    const auto encoded = encode(cp, text, LostCharacters::Find);
    return encoded ? std::optional(encoded->lost) : std::nullopt;
}

std::optional<DecodingLoss> undecodableBytes(CodePage cp, std::string_view bytes)
{
    const auto decoded = decode(cp, bytes);
    return decoded ? std::optional(decoded->undecodable) : std::nullopt;
}

} // namespace

TEST(ConversionLoss, CountsAndFindsTheFirstLostCharacterInAnyText)
{
    // A random model: texts of held characters, lost ones, pairs and lone surrogates; the
    // expected count and first index follow from where the lost ones were put.
    struct Piece {
        std::u16string units;
        bool lost;
    };
    const std::map<CodePage, std::vector<Piece>> pieces = {
        {932, {{u"a", false}, {u"日本", false}, {u"\r\n", false}, {u"한", true},
               {u"😀", true}, {u"\xD800", true}, {u"é", true}, {u"①", false}}},
        {1252, {{u"A", false}, {u"é€", false}, {u"한", true}, {u"\xDC00", true},
                {u"Ａ", true}, {u"𝄞", true}}},
        {65001, {{u"x", false}, {u"😀", false}, {u"\xD800", true}, {u"\xDFFF", true},
                 {u"한", false}}},
    };
    std::mt19937 random(11);
    for (const auto& [cp, choices] : pieces) {
        for (int trial = 0; trial < 300; ++trial) {
            std::u16string text;
            std::size_t count = 0, first = 0;
            const int length = int(random() % 12);
            for (int i = 0; i < length; ++i) {
                const Piece& p = choices[random() % choices.size()];
                // A lone high surrogate must not pair with a following low one.
                if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF &&
                    p.units[0] >= 0xDC00 && p.units[0] <= 0xDFFF)
                    continue;
                if (p.lost && count++ == 0)
                    first = text.size();
                text += p.units;
            }
            const auto loss = lostCharacters(cp, text);
            ASSERT_TRUE(loss);
            ASSERT_EQ(loss->count, count) << cp << " trial " << trial;
            if (count) {
                ASSERT_EQ(loss->firstIndex, first) << cp << " trial " << trial;
            }
        }
    }
    const auto pair = lostCharacters(932, u"ab😀");
    EXPECT_EQ(pair->firstCodePoint, U'😀');
    EXPECT_EQ(pair->firstLength, 2u);
    EXPECT_FALSE(lostCharacters(4242, u"a"));
    // Characters ICU's tables write without complaint that read back as others.
    EXPECT_EQ(lostCharacters(932, u"x\uF86F")->firstIndex, 1u);  // comes back as U+2116
    EXPECT_EQ(lostCharacters(20932, u"\u2225")->count, 1u);    // comes back as U+2016
    EXPECT_EQ(lostCharacters(932, u"\u2225\uFF5E")->count, 0u);
    // Best fits count as lost: they come back as another character.
    EXPECT_EQ(savedFormOf(1252, u"Ａ"), u"A");
    EXPECT_EQ(savedFormOf(932, u"한"), u"?");
    EXPECT_EQ(savedFormOf(932, u"😀"), u"??");
}

TEST(ConversionLoss, UndecodableBytesAreCountedFromTheirFirstOffset)
{
    struct Case {
        CodePage cp;
        std::string bytes;
        std::size_t count;
        std::size_t first;
    };
    const Case cases[] = {
        {932, "plain \x93\xfa\x96\x7b", 0, 0},
        {932, "ab\x85\x40xy", 2, 2},            // a pair with no character
        {932, "a\x82\ncd", 1, 1},               // a lead byte without its trail
        {932, "abc\x82", 1, 3},                 // cut short at the end
        {932, "\xa0x\xfd\x85\x40", 2, 3},       // A0 and FD are Windows' own
        {65001, "ok\xff\xfe!\xe6\x97", 4, 2},   // malformed and cut-short UTF-8
        {65001, "\xef\xbb\xbf\xe6\x97\xa5", 0, 0},
        {1252, "caf\xe9\x81", 0, 0},           // Windows maps 81 itself
        {1253, "\xaa\xd2 \xff", 2, 1},          // AA is Windows' own
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hexOfBytes(c.bytes));
        const auto loss = undecodableBytes(c.cp, c.bytes);
        ASSERT_TRUE(loss);
        EXPECT_EQ(loss->byteCount, c.count);
        if (c.count) {
            EXPECT_EQ(loss->firstOffset, c.first);
        }
        // The system call's form refuses exactly the bytes the decoder replaces.
        const int units = multiByteToWideChar(c.cp, MB_ERR_INVALID_CHARS, c.bytes.data(),
                                              int(c.bytes.size()), nullptr, 0);
        EXPECT_EQ(units == 0, loss->any());
    }
    EXPECT_FALSE(undecodableBytes(4242, "a"));
}
