#include "platform/fx/PlacementFit.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <random>
#include <vector>

using platform::fx::fitPlacement;
using platform::fx::PlacementFit;
using platform::fx::ScreenRect;

namespace {

constexpr std::int64_t kTitle = 24;

// A 1280 x 900 screen, a shorter 1024 x 768 one to its right, one to the left of the first.
constexpr ScreenRect kMain{0, 0, 1280, 900};
constexpr ScreenRect kRight{1280, 0, 2304, 768};
constexpr ScreenRect kLeft{-1920, 0, 0, 1080};

} // namespace

namespace platform::fx {

// For failure messages.
std::ostream& operator<<(std::ostream& out, const ScreenRect& r)
{
    return out << '(' << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ')';
}

} // namespace platform::fx

TEST(PlacementFit, LostWindowsComeBackOntoTheNearestScreenAndDamagedOnesGetTheDefault)
{
    const std::vector<ScreenRect> one{kMain};
    const std::vector<ScreenRect> two{kMain, kRight};
    const std::vector<ScreenRect> leftAndMain{kLeft, kMain};
    const std::vector<ScreenRect> none;
    struct Case {
        const char* what;
        const std::vector<ScreenRect>& screens;
        std::size_t primary;
        ScreenRect stored;
        PlacementFit fit;
        ScreenRect expected;  // for Kept the stored rectangle, for Default unused
    };
    const Case cases[] = {
        {"on the screen", one, 0, {100, 120, 740, 600}, PlacementFit::Kept, {100, 120, 740, 600}},
        {"smaller than the usable part", one, 0, {10, 30, 60, 60}, PlacementFit::Kept, {10, 30, 60, 60}},
        {"exactly 100 pixels across the right edge", one, 0, {1180, 100, 1780, 500},
         PlacementFit::Kept, {1180, 100, 1780, 500}},
        {"99 pixels across it", one, 0, {1181, 100, 1781, 500},
         PlacementFit::Moved, {680, 100, 1280, 500}},
        {"title bar above the top", one, 0, {100, 10, 700, 410},
         PlacementFit::Moved, {100, 24, 700, 424}},
        {"only the title bar shows at the bottom", one, 0, {100, 880, 700, 1280},
         PlacementFit::Moved, {100, 500, 700, 900}},
        {"far away: centred on the only screen", one, 0, {5000, 5000, 5800, 5600},
         PlacementFit::Moved, {240, 162, 1040, 762}},
        {"larger than the screen: shrunk, title bar on it", one, 0, {-3000, -3000, 2000, 2000},
         PlacementFit::Moved, {0, 24, 1280, 900}},
        {"100 screens wide is still a window", one, 0, {0, 0, 128000, 500},
         PlacementFit::Moved, {0, 24, 1280, 524}},
        {"more than 100 screens wide", one, 0, {0, 100, 128001, 500}, PlacementFit::Default, {}},
        {"more than 100 screens high", one, 0, {0, 100, 500, 90101}, PlacementFit::Default, {}},
        {"zero width", one, 0, {500, 10, 500, 400}, PlacementFit::Default, {}},
        {"negative height", one, 0, {10, 400, 500, 10}, PlacementFit::Default, {}},
        {"the widest record there is", one, 0, {INT_MIN, 0, INT_MAX, 500}, PlacementFit::Default, {}},
        {"on the second screen", two, 0, {1500, 100, 1900, 400},
         PlacementFit::Kept, {1500, 100, 1900, 400}},
        {"across both, reachable on the first", two, 0, {1000, 100, 1600, 500},
         PlacementFit::Kept, {1000, 100, 1600, 500}},
        {"below the shorter screen: up onto it", two, 0, {1500, 800, 1900, 1100},
         PlacementFit::Moved, {1500, 468, 1900, 768}},
        {"just right of the second: pushed onto it", two, 0, {2500, 100, 2900, 400},
         PlacementFit::Moved, {1904, 100, 2304, 400}},
        {"near no screen: centred on the primary", two, 0, {5000, 100, 5400, 400},
         PlacementFit::Moved, {440, 312, 840, 612}},
        {"near no screen, the second primary", two, 1, {5000, 100, 5400, 400},
         PlacementFit::Moved, {1592, 246, 1992, 546}},
        {"on a screen left of the origin", leftAndMain, 1, {-1500, 100, -1000, 500},
         PlacementFit::Kept, {-1500, 100, -1000, 500}},
        {"that screen unplugged", one, 0, {-1500, 100, -1000, 500},
         PlacementFit::Moved, {0, 100, 500, 500}},
        {"no screens at all", none, 0, {-1500, 100, -1000, 500},
         PlacementFit::Kept, {-1500, 100, -1000, 500}},
    };
    for (const Case& c : cases) {
        const auto result = fitPlacement(c.stored, c.screens, c.primary, kTitle);
        EXPECT_EQ(result.fit, c.fit) << c.what;
        if (c.fit != PlacementFit::Default) {
            EXPECT_EQ(result.rect, c.expected) << c.what;
        }
    }
}

TEST(PlacementFit, WhateverWasStoredTheWindowEndsUpReachableAndNoLarger)
{
    std::mt19937 random(17);
    auto coordinate = [&](int range) {
        return std::int64_t(std::uniform_int_distribution<int>(-range, range)(random));
    };
    for (int round = 0; round < 20000; ++round) {
        std::vector<ScreenRect> screens;
        const int count = 1 + int(random() % 3);
        for (int i = 0; i < count; ++i) {
            const ScreenRect s{coordinate(3000), coordinate(3000), 0, 0};
            const std::int64_t w = 200 + std::int64_t(random() % 2000);
            const std::int64_t h = 150 + std::int64_t(random() % 1500);
            screens.push_back({s.left, s.top, s.left + w, s.top + h});
        }
        const ScreenRect stored{coordinate(7000), coordinate(7000), coordinate(7000),
                                coordinate(7000)};
        const std::size_t primary = random() % screens.size();
        const auto result = fitPlacement(stored, screens, primary, kTitle);
        SCOPED_TRACE(testing::Message() << "round " << round << " stored " << stored);

        if (stored.width() <= 0 || stored.height() <= 0) {
            EXPECT_EQ(result.fit, PlacementFit::Default);
            continue;
        }
        ASSERT_NE(result.fit, PlacementFit::Default);
        const ScreenRect& r = result.rect;
        if (result.fit == PlacementFit::Kept) {
            EXPECT_EQ(r, stored);
        }
        EXPECT_GT(r.width(), 0);
        EXPECT_GT(r.height(), 0);
        EXPECT_LE(r.width(), stored.width());
        EXPECT_LE(r.height(), stored.height());
        // The result is final: fitting it again keeps it.
        EXPECT_EQ(fitPlacement(r, screens, primary, kTitle).fit, PlacementFit::Kept);
        // A moved window lies wholly on one screen, its title bar included.
        if (result.fit == PlacementFit::Moved) {
            bool inside = false;
            for (const ScreenRect& s : screens)
                inside = inside || (r.left >= s.left && r.right <= s.right
                                    && r.top - kTitle >= s.top && r.bottom <= s.bottom);
            EXPECT_TRUE(inside) << r;
        }
    }
}
