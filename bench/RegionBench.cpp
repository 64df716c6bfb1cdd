// How the cost of a redraw region grows with the number of dirty rectangles on a 640x480 screen.
#include "foundation/Region.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

namespace {

using Vemo::Rect;
using Vemo::Region;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

Rect RandomRect(std::mt19937& random, int maxWidth, int maxHeight) {
    const int width = 1 + static_cast<int>(random() % maxWidth);
    const int height = 1 + static_cast<int>(random() % maxHeight);
    const int left = static_cast<int>(random() % (kScreenWidth - width + 1));
    const int top = static_cast<int>(random() % (kScreenHeight - height + 1));
    return Rect(left, top, left + width, top + height);
}

// A region of count disjoint members, cut from overlapping random rectangles and left uncoalesced. The pieces
// are those of up to 64x48 rectangles: larger ones cover the screen before a thousand pieces exist.
Region DirtyRegion(std::size_t count) {
    std::mt19937 random(static_cast<std::uint32_t>(count));
    Region region;
    while (region.Size() < count) {
        region.AddRect(RandomRect(random, 64, 48));
    }
    while (region.Size() > count) {
        region.EraseAt(region.Size() - 1);
    }
    return region;
}

// count small random rectangles, as many members as they split into where they overlap.
Region SmallRects(std::size_t count) {
    std::mt19937 random(static_cast<std::uint32_t>(count) + 1);
    Region region;
    for (std::size_t i = 0; i < count; ++i) {
        region.AddRect(RandomRect(random, 32, 32));
    }
    return region;
}

void AddIntoEmpty(benchmark::State& state) {
    const Region dirty = DirtyRegion(static_cast<std::size_t>(state.range(0)));
    std::size_t members = 0;
    for (auto _ : state) {
        Region region;
        region.Add(dirty);
        members = region.Size();
        benchmark::DoNotOptimize(members);
    }
    state.counters["members_in"] = static_cast<double>(dirty.Size());
    state.counters["members_out"] = static_cast<double>(members);
}

void SubtractFromFullScreen(benchmark::State& state) {
    const Region holes = SmallRects(static_cast<std::size_t>(state.range(0)));
    Region screen;
    screen.AddRect(Rect(0, 0, kScreenWidth, kScreenHeight));
    std::size_t members = 0;
    for (auto _ : state) {
        Region region = screen;
        region.Subtract(holes);
        members = region.Size();
        benchmark::DoNotOptimize(members);
    }
    state.counters["members_in"] = static_cast<double>(holes.Size());
    state.counters["members_out"] = static_cast<double>(members);
}

BENCHMARK(AddIntoEmpty)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SubtractFromFullScreen)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
