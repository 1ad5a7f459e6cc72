#include "platform/profile/ValueForms.h"

#include <gtest/gtest.h>

#include <climits>

using namespace platform::profile;

TEST(ProfileValueForms, IntegersRoundTripIncludingTheExtremes)
{
    for (int value : {0, 1, 932, -1, -932, INT_MAX, INT_MIN})
        EXPECT_EQ(leadingIntOf(intToValueText(value)), value) << value;
    EXPECT_EQ(intToValueText(-2147483647 - 1), u"-2147483648");
}

TEST(ProfileValueForms, LeadingNumberIsReadLikeTheWindowsProfileFunctions)
{
    EXPECT_EQ(leadingIntOf(u"12abc"), 12);
    EXPECT_EQ(leadingIntOf(u" \t7"), 7);
    EXPECT_EQ(leadingIntOf(u"007"), 7);
    EXPECT_EQ(leadingIntOf(u"-5x"), -5);     // a minus sign is accepted
    EXPECT_EQ(leadingIntOf(u"+5"), 0);       // a plus sign is not
    EXPECT_EQ(leadingIntOf(u"-"), 0);
    EXPECT_EQ(leadingIntOf(u"abc"), 0);
    EXPECT_EQ(leadingIntOf(u""), 0);
    EXPECT_EQ(leadingIntOf(u"0x1F"), 0);     // decimal only
    EXPECT_EQ(leadingIntOf(u"１２"), 0);     // full-width digits are not digits here
}

TEST(ProfileValueForms, OutOfRangeNumbersSaturateInsteadOfWrapping)
{
    EXPECT_EQ(leadingIntOf(u"2147483648"), INT_MAX);
    EXPECT_EQ(leadingIntOf(u"99999999999999999999999"), INT_MAX);
    EXPECT_EQ(leadingIntOf(u"-2147483649"), INT_MIN);
    EXPECT_EQ(leadingIntOf(u"-99999999999999999999999"), INT_MIN);
}

TEST(ProfileValueForms, BinaryLettersPutTheLowNibbleFirst)
{
    const std::uint8_t comma[] = {0x2C};
    EXPECT_EQ(binaryToLetters(comma), u"MC");
    const std::uint8_t edges[] = {0x00, 0xFF, 0x0F, 0xF0};
    EXPECT_EQ(binaryToLetters(edges), u"AAPPPAAP");
    EXPECT_EQ(binaryToLetters({}), u"");
}

TEST(ProfileValueForms, EveryByteValueAndRecordSizeRoundTrips)
{
    std::vector<std::uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(lettersToBinary(binaryToLetters(all)), all);

    // The window placement and font records are 44 and 92 bytes long.
    for (std::size_t size : {std::size_t(44), std::size_t(92)}) {
        std::vector<std::uint8_t> record(all.begin() + 7, all.begin() + 7 + static_cast<long>(size));
        const std::u16string letters = binaryToLetters(record);
        EXPECT_EQ(letters.size(), 2 * size);
        EXPECT_EQ(lettersToBinary(letters), record);
    }
    EXPECT_EQ(lettersToBinary(u""), std::vector<std::uint8_t>{});
}

TEST(ProfileValueForms, DamagedBinaryTextIsTreatedAsMissing)
{
    EXPECT_FALSE(lettersToBinary(u"MCA"));  // odd count: no half bytes
    EXPECT_FALSE(lettersToBinary(u"mc"));   // lower case
    EXPECT_FALSE(lettersToBinary(u"QA"));   // beyond 'P'
    EXPECT_FALSE(lettersToBinary(u"M@"));   // below 'A'
    EXPECT_FALSE(lettersToBinary(u"MC MC"));
}
