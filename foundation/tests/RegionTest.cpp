#include "foundation/Region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Vemo {

void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

} // namespace Vemo

namespace {

using Vemo::Point;
using Vemo::Rect;
using Vemo::Region;
using Vemo::Size;

std::vector<Rect> Members(const Region& region) {
    return std::vector<Rect>(region.Begin(), region.End());
}

Region RegionOf(const std::vector<Rect>& rects) {
    Region region;
    for (const Rect& r : rects) {
        region.AddRect(r);
    }
    return region;
}

// Pixels of a small screen, with room for negative coordinates.
class PixelSet {
public:
    static constexpr int kOrigin = -4;
    static constexpr int kExtent = 36;

    void Add(const Rect& r) { Fill(r, true); }
    void Remove(const Rect& r) { Fill(r, false); }
    bool Has(int x, int y) const { return m_pixels[Index(x, y)]; }
    bool operator==(const PixelSet& other) const { return m_pixels == other.m_pixels; }

    static PixelSet Of(const Region& region) {
        PixelSet pixels;
        for (const Rect& r : region) {
            pixels.Add(r);
        }
        return pixels;
    }

    // Every pixel of this set that the other lacks, as "x,y" texts for the failure message.
    std::vector<std::string> Missing(const PixelSet& other) const {
        std::vector<std::string> missing;
        for (int y = kOrigin; y < kOrigin + kExtent; ++y) {
            for (int x = kOrigin; x < kOrigin + kExtent; ++x) {
                if (Has(x, y) && !other.Has(x, y)) {
                    missing.push_back(std::to_string(x) + "," + std::to_string(y));
                }
            }
        }
        return missing;
    }

private:
    static std::size_t Index(int x, int y) {
        return static_cast<std::size_t>((y - kOrigin) * kExtent + x - kOrigin);
    }

    void Fill(const Rect& r, bool value) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                m_pixels[Index(x, y)] = value;
            }
        }
    }

    std::vector<bool> m_pixels = std::vector<bool>(kExtent * kExtent, false);
};

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ExpectNormalForm(const Region& region) {
    const std::vector<Rect> members = Members(region);
    for (std::size_t i = 0; i < members.size(); ++i) {
        EXPECT_FALSE(members[i].IsEmpty()) << testing::PrintToString(members[i]);
        for (std::size_t j = i + 1; j < members.size(); ++j) {
            EXPECT_FALSE(Overlap(members[i], members[j]))
                << testing::PrintToString(members[i]) << " and " << testing::PrintToString(members[j]);
        }
    }
}

// Two members that together form one rectangle are what Coalesce exists to remove.
void ExpectNoJoinablePair(const Region& region) {
    const std::vector<Rect> members = Members(region);
    for (const Rect& a : members) {
        for (const Rect& b : members) {
            const bool sideBySide = a.right == b.left && a.top == b.top && a.bottom == b.bottom;
            const bool stacked = a.bottom == b.top && a.left == b.left && a.right == b.right;
            EXPECT_FALSE(sideBySide || stacked)
                << testing::PrintToString(a) << " and " << testing::PrintToString(b);
        }
    }
}

// The region's walks as its rules state them, on a tree set: every step starts again from the first member.
// Slow, and the measure of the members the region's own faster walks must end with.
class WalkedRegion {
public:
    explicit WalkedRegion(const Region& region) : m_rects(region.Begin(), region.End()) {}

    void AddRect(const Rect& r) {
        for (auto m = m_rects.begin(); m != m_rects.end();) {
            if (!Overlap(*m, r)) {
                ++m;
                continue;
            }
            if (Contains(r, *m)) {
                m = m_rects.erase(m);
                continue;
            }
            const Rect member = *m;
            const std::int32_t bandTop = std::max(member.top, r.top);
            const std::int32_t bandBottom = std::min(member.bottom, r.bottom);
            AddIfNotEmpty(Rect(r.left, r.top, r.right, bandTop));
            AddIfNotEmpty(Rect(r.left, bandTop, std::max(member.left, r.left), bandBottom));
            AddIfNotEmpty(Rect(std::min(member.right, r.right), bandTop, r.right, bandBottom));
            if (member.bottom < r.bottom) {
                AddIfNotEmpty(Rect(r.left, member.bottom, r.right, r.bottom));
            }
            return;
        }
        m_rects.insert(r);
    }

    void SubtractRect(const Rect& r) {
        for (auto m = m_rects.begin(); m != m_rects.end();) {
            if (!Overlap(*m, r)) {
                ++m;
                continue;
            }
            const Rect member = *m;
            m = m_rects.erase(m);
            const std::int32_t bandTop = std::max(r.top, member.top);
            const std::int32_t bandBottom = std::min(r.bottom, member.bottom);
            InsertIfNotEmpty(Rect(member.left, member.top, member.right, bandTop));
            InsertIfNotEmpty(Rect(member.left, bandTop, std::max(r.left, member.left), bandBottom));
            InsertIfNotEmpty(Rect(std::min(r.right, member.right), bandTop, member.right, bandBottom));
            InsertIfNotEmpty(Rect(member.left, bandBottom, member.right, member.bottom));
        }
    }

    // Returns the number of merges, and through refused the number of pairs passed over because their strip
    // met another member.
    int Coalesce(int& refused) {
        int merges = 0;
        refused = 0;
        while (MergeSideBySide(refused) || MergeStacked()) {
            ++merges;
        }
        return merges;
    }

    std::vector<Rect> Members() const { return std::vector<Rect>(m_rects.begin(), m_rects.end()); }

private:
    static bool Contains(const Rect& outer, const Rect& inner) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }

    void AddIfNotEmpty(const Rect& r) {
        if (!r.IsEmpty()) {
            AddRect(r);
        }
    }

    void InsertIfNotEmpty(const Rect& r) {
        if (!r.IsEmpty()) {
            m_rects.insert(r);
        }
    }

    bool MergeSideBySide(int& refused) {
        for (auto a = m_rects.begin(); a != m_rects.end(); ++a) {
            for (auto b = std::next(a); b != m_rects.end(); ++b) {
                const bool touching = b->left == a->right || b->right == a->left;
                if (!touching || b->top >= a->bottom) {
                    continue;
                }
                const Rect strip(b->left, b->bottom, b->right, a->bottom);
                if (!strip.IsEmpty() && std::any_of(m_rects.begin(), m_rects.end(),
                                                    [&](const Rect& m) { return Overlap(m, strip); })) {
                    ++refused;
                    continue;
                }
                const Rect first = *a;
                const Rect second = *b;
                m_rects.erase(a);
                m_rects.erase(b);
                InsertIfNotEmpty(Rect(first.left, first.top, first.right, second.top));
                InsertIfNotEmpty(Rect(std::min(first.left, second.left), second.top,
                                      std::max(first.right, second.right), first.bottom));
                InsertIfNotEmpty(Rect(second.left, first.bottom, second.right, second.bottom));
                return true;
            }
        }
        return false;
    }

    bool MergeStacked() {
        for (auto a = m_rects.begin(); a != m_rects.end(); ++a) {
            for (auto b = m_rects.begin(); b != m_rects.end(); ++b) {
                if (b->left == a->left && b->right == a->right && b->top == a->bottom) {
                    const Rect merged(a->left, a->top, a->right, b->bottom);
                    m_rects.erase(a);
                    m_rects.erase(b);
                    m_rects.insert(merged);
                    return true;
                }
            }
        }
        return false;
    }

    std::set<Rect, Region::RectLess> m_rects;
};

// The coalesced form of a pixel set: in every row each maximal run of pixels, and consecutive rows with the
// same run as one rectangle; ordered by top, then left.
std::vector<Rect> MaximalRuns(const PixelSet& pixels) {
    constexpr int end = PixelSet::kOrigin + PixelSet::kExtent;
    std::vector<Rect> rects;
    std::map<std::pair<int, int>, std::size_t> above;
    for (int y = PixelSet::kOrigin; y <= end; ++y) {
        std::map<std::pair<int, int>, std::size_t> row;
        for (int x = PixelSet::kOrigin; y < end && x < end; ++x) {
            if (!pixels.Has(x, y)) {
                continue;
            }
            const int left = x;
            while (x < end && pixels.Has(x, y)) {
                ++x;
            }
            const auto same = above.find({left, x});
            if (same != above.end()) {
                row.insert(*same);
                above.erase(same);
            } else {
                row.emplace(std::make_pair(left, x), rects.size());
                rects.push_back(Rect(left, y, x, y));
            }
        }
        for (const auto& ended : above) {
            rects[ended.second].bottom = y;
        }
        above = std::move(row);
    }
    std::sort(rects.begin(), rects.end(), Region::RectLess());
    return rects;
}

Rect RandomSmallRect(std::mt19937& random) {
    auto coordinate = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
    const int left = coordinate(-4, 26);
    const int top = coordinate(-4, 26);
    return Rect(left, top, left + coordinate(1, 6), top + coordinate(1, 6));
}

TEST(RectTest, PlainValueOperations) {
    EXPECT_EQ(Rect(Point(3, 4), Size(10, 20)), Rect(3, 4, 13, 24));
    EXPECT_TRUE(Point(1, 2) == Point(1, 2));
    EXPECT_FALSE(Point(1, 2) == Point(2, 1));

    Rect r;
    r.Set(1, 2, 3, 4);
    EXPECT_EQ(r, Rect(1, 2, 3, 4));
    EXPECT_TRUE(Rect(5, 0, 5, 10).IsEmpty());
    EXPECT_TRUE(Rect(0, 5, 10, 4).IsEmpty());
    EXPECT_FALSE(Rect(0, 0, 1, 1).IsEmpty());
}

TEST(RectTest, IntersectKeepsADisjointResultUnnormalised) {
    Rect out;
    Rect(0, 0, 10, 10).Intersect(out, Rect(5, 5, 15, 15));
    EXPECT_EQ(out, Rect(5, 5, 10, 10));
    Rect(0, 0, 10, 10).Intersect(out, Rect(20, 30, 40, 50));
    EXPECT_EQ(out, Rect(20, 30, 10, 10));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(RectTest, UnionDoesNotSkipAnEmptyOperand) {
    Rect r(10, 10, 20, 20);
    r.Union(Rect(0, 0, 0, 0));
    EXPECT_EQ(r, Rect(0, 0, 20, 20));
}

TEST(RectTest, FarEdgesWrapInsteadOfOverflowing) {
    const Rect r(Point(INT32_MAX, 0), Size(1, 1));
    EXPECT_EQ(r.right, INT32_MIN);
    EXPECT_TRUE(r.IsEmpty());
}

TEST(RegionTest, AddingToAnEmptyRegionKeepsTheRectangle) {
    Region region;
    region.AddRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Members(region), std::vector<Rect>({Rect(0, 0, 10, 10)}));
}

TEST(RegionTest, AddRectSplitsTheNewRectangleAroundMembers) {
    Region region = RegionOf({Rect(0, 0, 10, 10), Rect(5, 5, 15, 15)});
    EXPECT_EQ(Members(region),
              std::vector<Rect>({Rect(0, 0, 10, 10), Rect(10, 5, 15, 10), Rect(5, 10, 15, 15)}));
}

TEST(RegionTest, AddingACoveringRectangleLeavesOnlyIt) {
    Region region = RegionOf({Rect(0, 0, 2, 2), Rect(5, 1, 8, 3), Rect(1, 6, 4, 9)});
    region.AddRect(Rect(-1, -1, 10, 10));
    EXPECT_EQ(Members(region), std::vector<Rect>({Rect(-1, -1, 10, 10)}));
}

TEST(RegionTest, SubtractRectLeavesTheFrameAroundAHole) {
    Region region = RegionOf({Rect(0, 0, 10, 10)});
    region.SubtractRect(Rect(2, 2, 8, 8));
    const std::vector<Rect> frame = {Rect(0, 0, 10, 2), Rect(0, 2, 2, 8), Rect(8, 2, 10, 8),
                                     Rect(0, 8, 10, 10)};
    EXPECT_EQ(Members(region), frame);
    EXPECT_TRUE(region.Coalesce());
    EXPECT_EQ(Members(region), frame);
}

TEST(RegionTest, CoalesceJoinsNeighbours) {
    struct Case {
        Rect first;
        Rect second;
        Rect joined;
    };
    const Case cases[] = {
        {Rect(0, 0, 10, 10), Rect(10, 0, 20, 10), Rect(0, 0, 20, 10)},
        {Rect(10, 0, 20, 10), Rect(0, 0, 10, 10), Rect(0, 0, 20, 10)},
        {Rect(0, 0, 10, 5), Rect(0, 5, 10, 10), Rect(0, 0, 10, 10)},
        // The band reaches a's bottom; the strip of b's columns below b is the accepted growth.
        {Rect(0, 0, 10, 10), Rect(10, 0, 20, 6), Rect(0, 0, 20, 10)},
    };
    for (const Case& c : cases) {
        Region region = RegionOf({c.first, c.second});
        EXPECT_TRUE(region.Coalesce());
        EXPECT_EQ(Members(region), std::vector<Rect>({c.joined})) << testing::PrintToString(c.first);
    }
}

TEST(RegionTest, CoalesceOfAStaircaseKeepsItsArea) {
    Region region = RegionOf({Rect(0, 0, 10, 10), Rect(10, 5, 20, 15)});
    region.Coalesce();
    EXPECT_EQ(Members(region),
              std::vector<Rect>({Rect(0, 0, 10, 5), Rect(0, 5, 20, 10), Rect(10, 10, 20, 15)}));
}

// The grown strip below b would land on c: the pair a, b must wait, and the region still ends as one
// rectangle.
TEST(RegionTest, CoalesceDoesNotGrowOntoAnotherMember) {
    Region region = RegionOf({Rect(0, 0, 10, 10), Rect(10, 0, 20, 5), Rect(10, 5, 20, 10)});
    region.Coalesce();
    EXPECT_EQ(Members(region), std::vector<Rect>({Rect(0, 0, 20, 10)}));
}

TEST(RegionTest, AddKeepsEveryPieceWhereAGrownStripMeetsALaterCorner) {
    const std::vector<Rect> added = {Rect(1, 1, 4, 5), Rect(0, 2, 1, 4), Rect(0, 4, 1, 7), Rect(4, 4, 7, 5)};
    PixelSet expected;
    for (const Rect& r : added) {
        expected.Add(r);
    }

    Region region;
    region.Add(RegionOf(added));
    ExpectNormalForm(region);
    EXPECT_TRUE(expected.Missing(PixelSet::Of(region)).empty()) << testing::PrintToString(Members(region));
}

TEST(RegionTest, EmptyRectanglesChangeNothing) {
    Region region = RegionOf({Rect(-5, -5, 20, 20)});
    const Rect empties[] = {Rect(5, 5, 5, 10), Rect(5, 5, 10, 5), Rect(10, 10, 0, 0)};
    for (const Rect& r : empties) {
        region.AddRect(r);
        region.SubtractRect(r);
        EXPECT_EQ(Members(region), std::vector<Rect>({Rect(-5, -5, 20, 20)})) << testing::PrintToString(r);
    }
}

TEST(RegionTest, AddingOrSubtractingARegionFromItself) {
    Region region = RegionOf({Rect(0, 0, 4, 4), Rect(6, 0, 9, 3), Rect(2, 5, 8, 9)});
    const std::vector<Rect> before = Members(region);
    region.Add(region);
    EXPECT_EQ(Members(region), before);
    region.Subtract(region);
    EXPECT_TRUE(region.Empty());
}

TEST(RegionTest, IntersectClipsAndLeavesTheRegionUnchanged) {
    Region region = RegionOf({Rect(0, 0, 10, 10), Rect(20, 0, 30, 10)});
    const std::vector<Rect> before = Members(region);

    EXPECT_TRUE(region.Intersect(Rect(40, 40, 50, 50)).Empty());
    EXPECT_EQ(Members(region.Intersect(Rect(5, 5, 25, 8))),
              std::vector<Rect>({Rect(5, 5, 10, 8), Rect(20, 5, 25, 8)}));
    EXPECT_EQ(Members(region), before);
}

// Clipping moves a later member's top up to an earlier one's, and the result is ordered again.
TEST(RegionTest, IntersectOrdersTheClippedMembers) {
    Region region = RegionOf({Rect(20, -5, 30, 20), Rect(0, 0, 10, 10)});
    ASSERT_EQ(Members(region), std::vector<Rect>({Rect(20, -5, 30, 20), Rect(0, 0, 10, 10)}));
    EXPECT_EQ(Members(region.Intersect(Rect(0, 0, 40, 5))),
              std::vector<Rect>({Rect(0, 0, 10, 5), Rect(20, 0, 30, 5)}));
}

TEST(RegionTest, MembersByIndexAndBounds) {
    Region region;
    EXPECT_EQ(region.At(0), nullptr);
    EXPECT_EQ(region.Bounds(), Rect(0, 0, 0, 0));

    region = RegionOf({Rect(10, 10, 20, 20), Rect(-5, 30, 0, 40)});
    ASSERT_NE(region.At(1), nullptr);
    EXPECT_EQ(*region.At(1), Rect(-5, 30, 0, 40));
    EXPECT_EQ(region.At(2), nullptr);
    EXPECT_EQ(region.Bounds(), Rect(-5, 10, 20, 40));

    region.EraseAt(2);
    region.EraseAt(0);
    EXPECT_EQ(Members(region), std::vector<Rect>({Rect(-5, 30, 0, 40)}));
}

// Random adds and subtracts checked pixel by pixel. AddRect and SubtractRect alone are exact; Coalesce may
// grow the region, but never past what was added, and never loses a pixel.
TEST(RegionTest, RandomOperationsAgreeWithPixels) {
    std::mt19937 random(20240611);
    auto coordinate = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
    auto randomRect = [&] {
        const int left = coordinate(-4, 18);
        const int top = coordinate(-4, 18);
        return Rect(left, top, left + coordinate(1, 5 + coordinate(0, 1) * 8),
                    top + coordinate(1, 5 + coordinate(0, 1) * 8));
    };

    for (int trial = 0; trial < 300; ++trial) {
        Region region;
        PixelSet wanted;
        Rect addedBounds;
        bool addedAnything = false;

        for (int step = 0; step < 40; ++step) {
            const PixelSet before = PixelSet::Of(region);
            const Rect r = randomRect();
            const int operation = coordinate(0, 9);
            if (operation <= 4) {
                addedBounds = addedAnything ? addedBounds : r;
                addedBounds.Union(r);
                addedAnything = true;
                wanted.Add(r);
            } else if (operation <= 8) {
                wanted.Remove(r);
            }

            PixelSet exact = before;
            if (operation == 0) {
                region.AddRect(r);
                exact.Add(r);
                EXPECT_TRUE(PixelSet::Of(region) == exact) << "AddRect " << testing::PrintToString(r);
            } else if (operation == 5) {
                region.SubtractRect(r);
                exact.Remove(r);
                EXPECT_TRUE(PixelSet::Of(region) == exact) << "SubtractRect " << testing::PrintToString(r);
            } else if (operation <= 4) {
                Region other = RegionOf({r});
                for (int extra = coordinate(0, 3); extra > 0; --extra) {
                    const Rect more = randomRect();
                    addedBounds.Union(more);
                    wanted.Add(more);
                    other.AddRect(more);
                }
                region.Add(other);
                ExpectNoJoinablePair(region);
            } else if (operation <= 8) {
                Region other = RegionOf({r});
                const Rect more = randomRect();
                wanted.Remove(more);
                other.AddRect(more);
                region.Subtract(other);
                ExpectNoJoinablePair(region);
            } else {
                region.Coalesce();
                EXPECT_TRUE(before.Missing(PixelSet::Of(region)).empty());
                ExpectNoJoinablePair(region);
            }

            ExpectNormalForm(region);
            const std::vector<std::string> lost = wanted.Missing(PixelSet::Of(region));
            EXPECT_TRUE(lost.empty()) << "trial " << trial << " step " << step << ": lost " << lost.front();
            if (!region.Empty()) {
                Rect bounds = region.Bounds();
                bounds.Union(addedBounds);
                EXPECT_EQ(bounds, addedBounds) << "trial " << trial << " step " << step;
            }
            if (testing::Test::HasFailure()) {
                return;
            }
        }
    }
}

// The walks skip members that cannot meet the new rectangle (above it by more than the tallest member's
// height, or before the member that split it); coalescing in between changes the heights they rely on.
TEST(RegionTest, AddRectAndSubtractRectLeaveTheMembersOfTheWalkFromTheFirstMember) {
    struct Case {
        const char* name;
        int extent;
        int largest;
        int steps;
    };
    const Case cases[] = {{"small", 26, 6, 30}, {"tall and flat", 60, 40, 60}};
    for (const Case& c : cases) {
        std::mt19937 random(7211);
        for (int trial = 0; trial < 100; ++trial) {
            Region region;
            WalkedRegion walked(region);
            for (int step = 0; step < c.steps; ++step) {
                const int left = static_cast<int>(random() % c.extent) - 4;
                const int top = static_cast<int>(random() % c.extent) - 4;
                const bool flat = random() % 2 == 0;
                const int width = 1 + static_cast<int>(random() % c.largest);
                const int height = 1 + static_cast<int>(random() % (flat ? 3 : c.largest));
                const Rect r(left, top, left + width, top + height);
                if (random() % 3 == 0) {
                    region.SubtractRect(r);
                    walked.SubtractRect(r);
                } else {
                    region.AddRect(r);
                    walked.AddRect(r);
                }
                ASSERT_EQ(Members(region), walked.Members())
                    << c.name << " trial " << trial << " step " << step;
                if (step % 10 == 9) {
                    int refused = 0;
                    walked.Coalesce(refused);
                    region.Coalesce();
                    ASSERT_EQ(Members(region), walked.Members())
                        << c.name << " trial " << trial << " coalesced";
                }
            }
        }
    }
}

// Small regions are walked; large ones that need many merges go through indexes, which must pick the same
// pairs in the same order, refused strips included.
TEST(RegionTest, CoalesceMergesTheSamePairsAsTheWalkFromTheFirstMember) {
    struct Case {
        const char* name;
        int rects;
        int extent;
        int largest;
        int trials;
    };
    const Case cases[] = {{"small", 12, 30, 8, 40}, {"medium", 60, 60, 12, 10}, {"large", 400, 200, 20, 3}};
    int largeRefused = 0;
    for (const Case& c : cases) {
        std::mt19937 random(static_cast<std::uint32_t>(c.rects));
        for (int trial = 0; trial < c.trials; ++trial) {
            Region region;
            for (int i = 0; i < c.rects; ++i) {
                const int left = static_cast<int>(random() % c.extent);
                const int top = static_cast<int>(random() % c.extent);
                region.AddRect(Rect(left, top, left + 1 + static_cast<int>(random() % c.largest),
                                    top + 1 + static_cast<int>(random() % c.largest)));
            }
            WalkedRegion walked(region);
            int refused = 0;
            const int merges = walked.Coalesce(refused);
            if (c.rects == 400) {
                ASSERT_GE(region.Size(), 256u) << "too small to take the indexes";
                ASSERT_GT(merges, 8);
                largeRefused += refused;
            }
            region.Coalesce();
            ASSERT_EQ(Members(region), walked.Members()) << c.name << " trial " << trial;
        }
    }
    EXPECT_GT(largeRefused, 0);
}

// Add and Subtract give exactly the pixels of the union or the difference, never more, as one maximal run per
// row stacked over the rows where it stays the same; Coalesce finds nothing left to merge.
TEST(RegionTest, AddAndSubtractGiveExactlyTheirPixelsInMaximalRuns) {
    std::mt19937 random(5309);
    for (int trial = 0; trial < 200; ++trial) {
        Region first;
        Region second;
        for (int i = static_cast<int>(random() % 8); i > 0; --i) {
            first.AddRect(RandomSmallRect(random));
        }
        for (int i = static_cast<int>(random() % 8); i > 0; --i) {
            second.AddRect(RandomSmallRect(random));
        }
        if (random() % 2 == 0) {
            first.Coalesce();
        }

        PixelSet united = PixelSet::Of(first);
        PixelSet remaining = PixelSet::Of(first);
        for (const Rect& r : second) {
            united.Add(r);
            remaining.Remove(r);
        }
        Region sum = first;
        EXPECT_TRUE(sum.Add(second));
        Region difference = first;
        EXPECT_TRUE(difference.Subtract(second));
        EXPECT_EQ(Members(sum), MaximalRuns(united)) << "trial " << trial;
        EXPECT_EQ(Members(difference), MaximalRuns(remaining)) << "trial " << trial;

        const std::vector<Rect> coalesced = Members(sum);
        sum.Coalesce();
        EXPECT_EQ(Members(sum), coalesced);
        if (testing::Test::HasFailure()) {
            return;
        }
    }
}

// The merges' band may grow a region; Add never does. The same two members end differently.
TEST(RegionTest, AddJoinsRunsWhereCoalesceWouldGrowTheRegion) {
    const std::vector<Rect> members = {Rect(0, 0, 10, 10), Rect(10, 0, 20, 6)};
    Region merged = RegionOf(members);
    merged.Coalesce();
    EXPECT_EQ(Members(merged), std::vector<Rect>({Rect(0, 0, 20, 10)}));

    Region added;
    added.Add(RegionOf(members));
    EXPECT_EQ(Members(added), std::vector<Rect>({Rect(0, 0, 20, 6), Rect(0, 6, 10, 10)}));
}

TEST(RegionTest, EdgesAtTheEndsOfTheCoordinateRange) {
    const Rect whole(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    Region left = RegionOf({Rect(INT32_MIN, INT32_MIN, 0, INT32_MAX)});
    Region right = RegionOf({Rect(0, INT32_MIN, INT32_MAX, INT32_MAX)});

    Region sum = left;
    sum.Add(right);
    EXPECT_EQ(Members(sum), std::vector<Rect>({whole}));

    Region coalesced =
        RegionOf({Rect(INT32_MIN, INT32_MIN, 0, INT32_MAX), Rect(0, INT32_MIN, INT32_MAX, INT32_MAX)});
    coalesced.Coalesce();
    EXPECT_EQ(Members(coalesced), std::vector<Rect>({whole}));

    Region holed = RegionOf({whole});
    holed.Subtract(RegionOf({Rect(-1, -1, 1, 1)}));
    EXPECT_EQ(Members(holed),
              std::vector<Rect>({Rect(INT32_MIN, INT32_MIN, INT32_MAX, -1), Rect(INT32_MIN, -1, -1, 1),
                                 Rect(1, -1, INT32_MAX, 1), Rect(INT32_MIN, 1, INT32_MAX, INT32_MAX)}));
    holed.Subtract(RegionOf({whole}));
    EXPECT_TRUE(holed.Empty());
}

} // namespace
