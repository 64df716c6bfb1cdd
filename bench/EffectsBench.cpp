// The pixel effects on a 640x480 frame beside memcpy of the frame they write: point blits of the common
// format pairs (a masked word copy for 32 to 32 bits, row copies for 16 to 16 bits, a palette table for 8 to
// 32 bits, each also with a colour key) and the cross-fade at 16 and 32 bits. The cross-fade runs the fastest
// rows the processor has; its portable rows, which a processor without AVX2 runs, are timed beside it. The
// goal: copies and fades within twice memcpy's time; the ratios are printed after the table.
#include "engines/graphics/testing/MemoryGraphicHandle.h"
#include "engines/image/effects/CrossFadeEffect.h"
#include "engines/image/effects/FadeRows.h"
#include "engines/image/effects/RasterOp.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Vemo::PixelFormat;
using Vemo::Point;
using Vemo::StandardPixelFormat;
using VemoTest::MemoryGraphicHandle;

constexpr std::int32_t kWidth = 640;
constexpr std::int32_t kHeight = 480;
constexpr double kGoalRatio = 2.0;
constexpr auto kCopy = static_cast<std::uint32_t>(Vemo::RasterOp::Copy);

std::unique_ptr<MemoryGraphicHandle> RandomFrame(StandardPixelFormat format, std::uint32_t seed) {
    auto frame = std::make_unique<MemoryGraphicHandle>(kWidth, kHeight, PixelFormat(format));
    std::mt19937 random(seed);
    for (std::uint8_t& byte : frame->Memory()) {
        byte = static_cast<std::uint8_t>(random());
    }
    for (std::uint32_t index = 0; index < frame->GetPixelFormat().colorCount; ++index) {
        frame->SetPaletteEntryImpl(Vemo::PixelValue(static_cast<std::uint32_t>(random())), index);
    }
    return frame;
}

void Memcpy(benchmark::State& state, std::size_t bytesPerPixel) {
    const std::size_t size = kWidth * kHeight * bytesPerPixel;
    std::vector<std::uint8_t> from(size, 1);
    std::vector<std::uint8_t> to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void BM_Memcpy16(benchmark::State& state) {
    Memcpy(state, 2);
}
void BM_Memcpy32(benchmark::State& state) {
    Memcpy(state, 4);
}

// A point blit of the whole frame; with the key, the key is a colour the source holds.
void Blit(benchmark::State& state, StandardPixelFormat from, StandardPixelFormat to, bool keyed) {
    const auto source = RandomFrame(from, 1);
    const auto destination = RandomFrame(to, 2);
    source->SetColorKeyEnabled(keyed);
    source->SetColorKeyPixel(source->PixelAt(10, 10));
    bool drawn = true;
    for (auto _ : state) {
        drawn = destination->Blit(Point(0, 0), source.get(), kCopy) && drawn;
        benchmark::ClobberMemory();
    }
    if (!drawn) {
        state.SkipWithError("the blit failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * destination->Memory().size()));
}

void BM_Blit32To32(benchmark::State& state) {
    Blit(state, StandardPixelFormat::Xrgb32, StandardPixelFormat::Xrgb32, false);
}
void BM_Blit32To32Keyed(benchmark::State& state) {
    Blit(state, StandardPixelFormat::Xrgb32, StandardPixelFormat::Xrgb32, true);
}
void BM_Blit16To16(benchmark::State& state) {
    Blit(state, StandardPixelFormat::Rgb565, StandardPixelFormat::Rgb565, false);
}
void BM_Blit16To16Keyed(benchmark::State& state) {
    Blit(state, StandardPixelFormat::Rgb565, StandardPixelFormat::Rgb565, true);
}
void BM_Blit8To32(benchmark::State& state) {
    Blit(state, StandardPixelFormat::Indexed8, StandardPixelFormat::Xrgb32, false);
}
void BM_Blit8To32Keyed(benchmark::State& state) {
    Blit(state, StandardPixelFormat::Indexed8, StandardPixelFormat::Xrgb32, true);
}

// The whole frame faded between two others at a level that takes the blending rows.
void CrossFade(benchmark::State& state, StandardPixelFormat format) {
    const auto destination = RandomFrame(format, 3);
    const auto first = RandomFrame(format, 4);
    const auto second = RandomFrame(format, 5);
    bool drawn = true;
    std::uint32_t level = 0;
    for (auto _ : state) {
        Vemo::CrossFadeEffect effect(destination.get(), first.get(), second.get());
        drawn = effect.Set(level++ % 256, Point(0, 0), Point(0, 0), Point(0, 0), Vemo::Size(kWidth, kHeight),
                           255) &&
                effect.Run() && drawn;
        benchmark::ClobberMemory();
    }
    if (!drawn) {
        state.SkipWithError("the fade failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * destination->Memory().size()));
}

void BM_CrossFade16(benchmark::State& state) {
    CrossFade(state, StandardPixelFormat::Rgb565);
}
void BM_CrossFade32(benchmark::State& state) {
    CrossFade(state, StandardPixelFormat::Xrgb32);
}

// The portable blending rows over the same frames, row by row as the effect runs them.
void PortableFade(benchmark::State& state, StandardPixelFormat format,
                  Vemo::FadeRow Vemo::BlendRowSet::*row) {
    const auto destination = RandomFrame(format, 3);
    const auto first = RandomFrame(format, 4);
    const auto second = RandomFrame(format, 5);
    const Vemo::FadeRow blend = Vemo::PortableBlendRows().*row;
    const std::size_t pitch = destination->Memory().size() / kHeight;
    std::uint32_t level = 0;
    for (auto _ : state) {
        for (std::size_t y = 0; y < kHeight; ++y) {
            blend(destination->Memory().data() + y * pitch, first->Memory().data() + y * pitch,
                  second->Memory().data() + y * pitch, kWidth, level % 257);
        }
        ++level;
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * destination->Memory().size()));
}

void BM_CrossFade16Portable(benchmark::State& state) {
    PortableFade(state, StandardPixelFormat::Rgb565, &Vemo::BlendRowSet::rgb565);
}
void BM_CrossFade32Portable(benchmark::State& state) {
    PortableFade(state, StandardPixelFormat::Xrgb32, &Vemo::BlendRowSet::low32);
}

// Each benchmark repeated, its fastest repetition kept: other work on the machine only ever slows a run down.
void Repeated(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMicrosecond)
        ->Repetitions(7)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
}

BENCHMARK(BM_Memcpy16)->Apply(Repeated);
BENCHMARK(BM_Memcpy32)->Apply(Repeated);
BENCHMARK(BM_Blit32To32)->Apply(Repeated);
BENCHMARK(BM_Blit32To32Keyed)->Apply(Repeated);
BENCHMARK(BM_Blit16To16)->Apply(Repeated);
BENCHMARK(BM_Blit16To16Keyed)->Apply(Repeated);
BENCHMARK(BM_Blit8To32)->Apply(Repeated);
BENCHMARK(BM_Blit8To32Keyed)->Apply(Repeated);
BENCHMARK(BM_CrossFade16)->Apply(Repeated);
BENCHMARK(BM_CrossFade32)->Apply(Repeated);
BENCHMARK(BM_CrossFade16Portable)->Apply(Repeated);
BENCHMARK(BM_CrossFade32Portable)->Apply(Repeated);

// Prints, after the table, each effect's time per frame over memcpy's for a frame of its destination's size,
// both measured in this run: the fastest repetitions, or the single runs when repetitions are turned off.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.repetitions <= 1) {
                m_cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                m_cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [effect, yardstick] : kPairs) {
            PrintRatio(effect, yardstick);
        }
    }

private:
    static constexpr std::pair<const char*, const char*> kPairs[] = {
        {"BM_Blit32To32", "BM_Memcpy32"},          {"BM_Blit32To32Keyed", "BM_Memcpy32"},
        {"BM_Blit16To16", "BM_Memcpy16"},          {"BM_Blit16To16Keyed", "BM_Memcpy16"},
        {"BM_Blit8To32", "BM_Memcpy32"},           {"BM_Blit8To32Keyed", "BM_Memcpy32"},
        {"BM_CrossFade16", "BM_Memcpy16"},         {"BM_CrossFade32", "BM_Memcpy32"},
        {"BM_CrossFade16Portable", "BM_Memcpy16"}, {"BM_CrossFade32Portable", "BM_Memcpy32"},
    };

    void PrintRatio(const std::string& effect, const std::string& yardstick) const {
        const auto effectTime = m_cpuTime.find(effect);
        const auto memcpyTime = m_cpuTime.find(yardstick);
        if (effectTime == m_cpuTime.end() || memcpyTime == m_cpuTime.end() || memcpyTime->second <= 0) {
            return;
        }
        const double ratio = effectTime->second / memcpyTime->second;
        std::printf("%-24s %6.2fx memcpy of its frame (goal: at most %.1fx)%s\n", effect.c_str() + 3, ratio,
                    kGoalRatio, ratio <= kGoalRatio ? "" : "  <- over the goal");
    }

    std::map<std::string, double> m_cpuTime;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
