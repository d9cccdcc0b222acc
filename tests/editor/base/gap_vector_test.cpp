// The gap vector against std::vector under long random sequences of inserts
// and erases, the cost of moving its gap, and TIntList's index rules on top
// of it.
#include "editor/base/gap_vector.h"
#include "editor/base/int_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace tarnwick;

namespace {

class Random {
public:
    explicit Random(uint32_t seed) : rng_(seed) {}
    // 0..n inclusive.
    size_t Upto(size_t n) { return std::uniform_int_distribution<size_t>(0, n)(rng_); }
    bool Chance(int percent) { return Upto(99) < static_cast<size_t>(percent); }

private:
    std::mt19937 rng_;
};

std::vector<std::string> Contents(const GapVector<std::string> &v) { return {v.begin(), v.end()}; }

} // namespace

TEST(GapVectorOracle, RandomEditsKeepTheSameElementsAsAVector)
{
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        Random random(seed);
        GapVector<std::string> gap;
        std::vector<std::string> model;
        int serial = 0;
        // Long strings, so a slot that kept a stale element would show.
        const auto fresh = [&] { return "element number " + std::to_string(serial++) + " with a long tail"; };
        for (int step = 0; step < 600; ++step) {
            const size_t pos = random.Upto(model.size());
            const size_t roomAfter = model.size() - pos;
            switch (random.Upto(7)) {
            case 0:
            case 1: {
                const std::string s = fresh();
                gap.insert(pos, s);
                model.insert(model.begin() + pos, s);
                break;
            }
            case 2: {
                std::vector<std::string> block(random.Upto(40));
                std::generate(block.begin(), block.end(), fresh);
                std::vector<std::string> moved = block;
                gap.insert(pos, std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
                model.insert(model.begin() + pos, block.begin(), block.end());
                break;
            }
            case 3:
                if (roomAfter > 0) {
                    gap.erase(pos);
                    model.erase(model.begin() + pos);
                }
                break;
            case 4: {
                const size_t count = random.Upto(std::min<size_t>(roomAfter, 50));
                gap.erase(pos, count);
                model.erase(model.begin() + pos, model.begin() + pos + count);
                break;
            }
            case 5: {
                const std::string s = fresh();
                gap.push_back(s);
                model.push_back(s);
                break;
            }
            case 6:
                if (!model.empty()) {
                    const size_t i = random.Upto(model.size() - 1);
                    gap[i] = fresh();
                    model[i] = gap[i];
                }
                break;
            default:
                // Whole-vector views close the gap; later edits open it again.
                if (random.Chance(50))
                    ASSERT_EQ(gap.Contiguous(), model);
                else if (random.Chance(20))
                    gap = GapVector<std::string>(gap.Release());
                else if (random.Chance(10)) {
                    gap.clear();
                    model.clear();
                }
                break;
            }
            ASSERT_TRUE(gap.Check()) << "seed " << seed << " step " << step;
            ASSERT_EQ(gap.size(), model.size()) << "seed " << seed << " step " << step;
            ASSERT_EQ(Contents(gap), model) << "seed " << seed << " step " << step;
        }
        const auto runs = gap.Runs();
        std::vector<std::string> joined(runs[0].begin(), runs[0].end());
        joined.insert(joined.end(), runs[1].begin(), runs[1].end());
        EXPECT_EQ(joined, model) << "seed " << seed;
    }
}

TEST(GapVectorOracle, IteratorsWorkWithSortedSearchesWhereverTheGapIs)
{
    GapVector<int> gap;
    std::vector<int> model;
    for (int i = 0; i < 200; ++i) {
        gap.push_back(3 * i);
        model.push_back(3 * i);
    }
    gap.insert(70, 209);
    gap.erase(70);
    for (int key = -1; key < 610; key += 7) {
        const auto found = std::lower_bound(gap.begin(), gap.end(), key) - gap.begin();
        EXPECT_EQ(found, std::lower_bound(model.begin(), model.end(), key) - model.begin()) << key;
    }
    const GapVector<int> &view = gap;
    EXPECT_EQ(std::ranges::distance(view), 200);
    EXPECT_TRUE(std::equal(view.begin(), view.end(), model.begin(), model.end()));
}

TEST(GapVectorOwnership, ErasedElementsReleaseWhatTheyHoldAtOnce)
{
    auto shared = std::make_shared<int>(7);
    GapVector<std::shared_ptr<int>> gap;
    for (int i = 0; i < 10; ++i)
        gap.push_back(shared);
    gap.erase(2, 3);
    gap.erase(gap.size() - 1);
    gap.insert(1, nullptr);
    gap.erase(0);
    EXPECT_EQ(shared.use_count(), 1 + 5);
    gap.clear();
    EXPECT_EQ(shared.use_count(), 1);
}

TEST(GapVectorOwnership, MoveOnlyElementsAreMovedNeverCopied)
{
    GapVector<std::unique_ptr<int>> gap;
    for (int i = 0; i < 50; ++i)
        gap.insert(gap.size() / 2, std::make_unique<int>(i));
    std::vector<std::unique_ptr<int>> block;
    block.push_back(std::make_unique<int>(100));
    gap.insert(3, std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
    EXPECT_EQ(*gap[3], 100);
    std::vector<std::unique_ptr<int>> out = gap.Release();
    EXPECT_EQ(out.size(), 51u);
    EXPECT_TRUE(gap.empty());
    EXPECT_TRUE(std::ranges::all_of(out, [](const auto &p) { return p != nullptr; }));
}

namespace {

// Counts the moves made of any element, to measure what an edit costs.
struct Counted {
    static inline long moves = 0;
    int value = 0;
    Counted() = default;
    explicit Counted(int v) : value(v) {}
    Counted(Counted &&o) noexcept : value(o.value) { ++moves; }
    Counted &operator=(Counted &&o) noexcept
    {
        value = o.value;
        ++moves;
        return *this;
    }
};

} // namespace

TEST(GapVectorCost, EditsNearThePreviousOneMoveOnlyTheElementsBetween)
{
    constexpr int kSize = 100000;
    GapVector<Counted> gap;
    gap.reserve(kSize * 2);
    for (int i = 0; i < kSize; ++i)
        gap.push_back(Counted(i));
    const size_t middle = kSize / 2;
    gap.insert(middle, Counted(-1));

    // Enter pressed again and again just below the last new line.
    Counted::moves = 0;
    for (size_t k = 1; k <= 1000; ++k)
        gap.insert(middle + k, Counted(-1));
    EXPECT_LE(Counted::moves, 2 * 1000);

    // Lines removed where the edits happened, then one edit far away.
    Counted::moves = 0;
    gap.erase(middle, 500);
    // The 501 elements between the gap and the range, then the 500 released.
    EXPECT_LE(Counted::moves, 501 + 500);
    Counted::moves = 0;
    gap.insert(middle + 40000, Counted(-2));
    EXPECT_LE(Counted::moves, 40000 + 1);
    EXPECT_EQ(gap[middle + 40000].value, -2);
    EXPECT_TRUE(gap.Check());
}

// TIntList keeps its forgiving index rules on top of the gap vector.
TEST(IntListOnGapVector, RandomEditsFollowTheClampingRules)
{
    Random random(5);
    TIntList list;
    std::vector<int32_t> model;
    const auto clamp = [&](int i) { return std::clamp(i, 0, static_cast<int>(model.size())); };
    for (int step = 0; step < 3000; ++step) {
        // Indexes reach past both ends on purpose.
        const int i = static_cast<int>(random.Upto(model.size() + 6)) - 3;
        const auto v = static_cast<int32_t>(random.Upto(1000));
        const bool inside = i >= 0 && i < static_cast<int>(model.size());
        switch (random.Upto(5)) {
        case 0:
            list.Insert(i, v);
            model.insert(model.begin() + clamp(i), v);
            break;
        case 1: {
            const std::vector<int32_t> values(random.Upto(5), v);
            list.InsertRange(i, values);
            model.insert(model.begin() + clamp(i), values.begin(), values.end());
            break;
        }
        case 2:
            list.Delete(i);
            if (inside)
                model.erase(model.begin() + i);
            break;
        case 3: {
            const int count = static_cast<int>(random.Upto(8)) - 1;
            list.DeleteRange(i, count);
            if (inside && count > 0)
                model.erase(model.begin() + i, model.begin() + std::min<int>(i + count, model.size()));
            break;
        }
        case 4:
            list.Set(i, v);
            if (inside)
                model[i] = v;
            break;
        default:
            list.Add(v);
            model.push_back(v);
            break;
        }
        ASSERT_EQ(list.Count(), static_cast<int>(model.size())) << step;
        ASSERT_EQ(list.Get(i), i >= 0 && i < list.Count() ? model[i] : 0) << step;
        if (step % 50 == 0) {
            ASSERT_EQ(list.Items(), model) << step;
        }
    }
    EXPECT_EQ(std::vector<int32_t>(list.begin(), list.end()), model);
    TIntList copy;
    for (int32_t v : model)
        copy.Add(v);
    EXPECT_EQ(copy, list);
}
