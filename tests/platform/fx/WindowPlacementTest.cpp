#include "platform/fx/WindowPlacement.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using platform::fx::WindowPlacement;

TEST(WindowPlacement, ElevenLittleEndianFieldsInTheirOrder)
{
    WindowPlacement p;
    p.flags = 0x01020304;
    p.showCmd = WindowPlacement::kShowMaximized;
    p.minX = -1;
    p.minY = -2;
    p.maxX = 0x7FFFFFFF;
    p.maxY = INT_MIN;
    p.left = 10;
    p.top = 20;
    p.right = 1034;
    p.bottom = 788;
    const auto bytes = p.toBytes();
    ASSERT_EQ(bytes.size(), 44u);

    const std::uint8_t expected[44] = {
        44, 0, 0, 0,                 // length
        0x04, 0x03, 0x02, 0x01,      // flags
        3, 0, 0, 0,                  // show command
        0xFF, 0xFF, 0xFF, 0xFF,      // minimized x
        0xFE, 0xFF, 0xFF, 0xFF,      // minimized y
        0xFF, 0xFF, 0xFF, 0x7F,      // maximized x
        0x00, 0x00, 0x00, 0x80,      // maximized y
        10, 0, 0, 0,                 // normal left
        20, 0, 0, 0,                 // normal top
        0x0A, 0x04, 0, 0,            // normal right
        0x14, 0x03, 0, 0,            // normal bottom
    };
    for (std::size_t i = 0; i < 44; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
}

TEST(WindowPlacement, ANewRecordSaysItsLengthAndNormalState)
{
    const auto bytes = WindowPlacement{}.toBytes();
    EXPECT_EQ(bytes[0], 44);
    EXPECT_EQ(bytes[8], WindowPlacement::kShowNormal);
}

TEST(WindowPlacement, EveryFieldRoundTripsIncludingNegativeCoordinates)
{
    WindowPlacement p;
    p.flags = 2;
    p.showCmd = WindowPlacement::kShowMinimized;
    p.minX = -32000;
    p.minY = -32000;
    p.maxX = -8;
    p.maxY = -8;
    p.left = -1920;   // a window on a monitor left of the primary one
    p.top = -5;
    p.right = -100;
    p.bottom = 1000;
    const auto bytes = p.toBytes();
    const auto back = WindowPlacement::fromBytes(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->length, 44);
    EXPECT_EQ(back->flags, p.flags);
    EXPECT_EQ(back->showCmd, p.showCmd);
    EXPECT_EQ(back->minX, p.minX);
    EXPECT_EQ(back->minY, p.minY);
    EXPECT_EQ(back->maxX, p.maxX);
    EXPECT_EQ(back->maxY, p.maxY);
    EXPECT_EQ(back->left, p.left);
    EXPECT_EQ(back->top, p.top);
    EXPECT_EQ(back->right, p.right);
    EXPECT_EQ(back->bottom, p.bottom);
}

TEST(WindowPlacement, ShortValuesAreRefusedAndLongerOnesReadTheirFirst44Bytes)
{
    WindowPlacement p;
    p.left = 7;
    p.bottom = 99;
    const auto bytes = p.toBytes();

    EXPECT_FALSE(WindowPlacement::fromBytes(std::span(bytes.data(), 43)));
    EXPECT_FALSE(WindowPlacement::fromBytes(std::span<const std::uint8_t>()));

    std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
    longer.insert(longer.end(), {0xAA, 0xBB, 0xCC, 0xDD});
    const auto back = WindowPlacement::fromBytes(longer);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->left, 7);
    EXPECT_EQ(back->bottom, 99);
}
