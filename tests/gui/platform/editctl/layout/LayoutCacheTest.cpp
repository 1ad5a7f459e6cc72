// The cache of shaped layouts against a model of it: a list of what it holds, most recently
// used first.
#include "platform/editctl/layout/LayoutCache.h"

#include <QString>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using Id = platform::LayoutCache::Id;

struct Kept {
    Id id;
    int units;
};

std::list<Kept>::iterator findKept(std::list<Kept>& model, Id id)
{
    return std::find_if(model.begin(), model.end(), [&](const Kept& kept) { return kept.id == id; });
}

} // namespace

// Random keeps (new ids and old ones, small layouts and ones near the cap of units), finds,
// peeks and forgets: after each step the cache holds what the model holds, the least recently
// used dropped first past either cap, the newest kept however long, peeking changing nothing.
TEST(LayoutCache, HoldsTheMostRecentlyUsedWithinItsCaps)
{
    std::mt19937 rng(20261209u);
    platform::LayoutCache cache;
    std::list<Kept> model;
    std::vector<Id> ids;
    std::set<Id> handedOut;
    const auto units = [&] {
        int sum = 0;
        for (const Kept& kept : model)
            sum += kept.units;
        return sum;
    };
    for (int step = 0; step < 30000; ++step) {
        if (step == 15000) {
            cache.clear();
            model.clear();
        }
        const unsigned what = rng() % 8;
        const Id some = ids.empty() ? 0 : ids[rng() % ids.size()];
        if (what < 4 || ids.empty()) {
            Id id = some;
            if (ids.empty() || rng() % 3 != 0) {
                id = cache.newId();
                ASSERT_TRUE(handedOut.insert(id).second) << "ids are never handed out twice";
                ids.push_back(id);
            }
            const int length = rng() % 50 == 0 ? platform::LayoutCache::kMostUnits + 10
                               : rng() % 5 == 0 ? static_cast<int>(rng() % 40000)
                                                : static_cast<int>(rng() % 300);
            const QTextLayout& kept = cache.keep(id, std::make_unique<QTextLayout>(QString::number(id)), length);
            ASSERT_EQ(kept.text(), QString::number(id));
            if (auto it = findKept(model, id); it != model.end())
                model.erase(it);
            model.push_front({id, length});
            while (model.size() > 1
                   && (units() > platform::LayoutCache::kMostUnits || model.size() > platform::LayoutCache::kMostLayouts))
                model.pop_back();
        } else if (what < 6) {
            const QTextLayout* found = cache.find(some);
            const auto it = findKept(model, some);
            ASSERT_EQ(found != nullptr, it != model.end()) << "step " << step;
            if (found) {
                ASSERT_EQ(found->text(), QString::number(some));
                model.splice(model.begin(), model, it);
            }
        } else if (what < 7) {
            ASSERT_EQ(cache.peek(some) != nullptr, findKept(model, some) != model.end()) << "step " << step;
        } else {
            cache.forget(some);
            if (auto it = findKept(model, some); it != model.end())
                model.erase(it);
        }
        ASSERT_EQ(cache.size(), model.size()) << "step " << step;
        ASSERT_EQ(cache.units(), units()) << "step " << step;
    }
}
