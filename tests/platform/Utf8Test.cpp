#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace {

// Byte strings and what they are as UTF-16: strictly (nothing when ill-formed) and leniently
// (each ill-formed sequence one U+FFFD, as ICU and the WHATWG decoder count them).
TEST(Utf8, DecodesStrictlyOrWithReplacementsAndEncodesBack)
{
    struct Case {
        std::string_view bytes;
        bool wellFormed;
        std::u16string lenient;
    };
    const Case cases[] = {
        {"", true, u""},
        {"memo", true, u"memo"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", true, u"日本"},
        {"\xF0\x9F\x98\x80!", true, u"\U0001F600!"},
        {"\xEF\xBF\xBD", true, u"\uFFFD"},              // a replacement character of its own
        {"a\x80" "b", false, u"a\uFFFDb"},              // a lone continuation byte
        {"\xC0\x80", false, u"\uFFFD\uFFFD"},          // an overlong NUL
        {"\xED\xA0\x80", false, u"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
        {"\xE6\x97", false, u"\uFFFD"},                // cut short at the end
        {"\xF4\x90\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
        EXPECT_EQ(platform::isWellFormedUtf8(c.bytes), c.wellFormed);
        EXPECT_EQ(platform::fromUtf8Lenient(c.bytes), c.lenient);
        std::u16string strict = u"untouched";
        EXPECT_EQ(platform::fromUtf8(c.bytes, &strict), c.wellFormed);
        EXPECT_EQ(strict, c.wellFormed ? c.lenient : u"untouched");
        if (c.wellFormed) {
            EXPECT_EQ(platform::toUtf8(c.lenient), c.bytes);
        }
    }
    // An unpaired surrogate has no UTF-8 form: it is written as U+FFFD.
    EXPECT_EQ(platform::toUtf8(u"a\xD800" "b"), "a\xEF\xBF\xBD" "b");
    // Longer than any first guess of the room needed.
    const std::u16string han(5000, u'\u65E5');
    std::u16string back;
    ASSERT_TRUE(platform::fromUtf8(platform::toUtf8(han), &back));
    EXPECT_EQ(back, han);
}

} // namespace
