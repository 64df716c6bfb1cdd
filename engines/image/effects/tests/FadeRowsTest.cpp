#include "engines/image/effects/FadeRows.h"

#include "engines/image/effects/tests/FadeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

// The row of a set that blends a layout.
struct RowLayout {
    const char* name;
    FadeRow BlendRowSet::*row;
    Layout layout;
};

const std::vector<RowLayout>& Layouts() {
    static const std::vector<RowLayout> layouts = {
        {"Rgb555", &BlendRowSet::rgb555, k555},    {"Rgb565", &BlendRowSet::rgb565, k565},
        {"Bytes24", &BlendRowSet::bytes24, k24},   {"Low32", &BlendRowSet::low32, k32Low},
        {"High32", &BlendRowSet::high32, k32High},
    };
    return layouts;
}

std::uint32_t Load(const std::uint8_t* at, std::size_t bytes) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, bytes);
    return value;
}

// The row worked a pixel at a time, left to right, each pixel read from both sources just before it is
// written: the reference for rows that overlap.
void BlendPixelByPixel(const Layout& layout, std::uint8_t* destination, const std::uint8_t* a,
                       const std::uint8_t* b, std::size_t width, std::uint32_t level) {
    const std::size_t bytes = layout.bytesPerPixel;
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t pixel =
            BlendPixel(layout, Load(a + bytes * x, bytes), Load(b + bytes * x, bytes), level);
        std::memcpy(destination + bytes * x, &pixel, bytes);
    }
}

// Pixel i of the first source holds i mod 2^w and of the second i >> w in every channel of width w (w the
// widest channel), so a row of 2^2w pixels meets every pair of channel values; a few random pixels follow,
// so that a row does not end on a whole group of the vector code. Bits outside the channels are random.
struct SourceRows {
    SourceRows(const Layout& layout, std::mt19937& random) {
        int widest = 0;
        for (const auto& channel : layout.channels) {
            widest = std::max(widest, channel.second);
        }
        const std::size_t pairs = std::size_t{1} << (2 * widest);
        width = pairs + 13;
        a.resize(width * layout.bytesPerPixel);
        b.resize(a.size());
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t noiseA = random();
            const std::uint32_t noiseB = random();
            std::uint32_t first = noiseA;
            std::uint32_t second = noiseB;
            if (x < pairs) {
                for (const auto& [shift, channelWidth] : layout.channels) {
                    const std::uint32_t mask = ((1u << channelWidth) - 1) << shift;
                    first = (first & ~mask) | (static_cast<std::uint32_t>(x) << shift & mask);
                    second = (second & ~mask) | (static_cast<std::uint32_t>(x >> widest) << shift & mask);
                }
            }
            std::memcpy(&a[x * layout.bytesPerPixel], &first, layout.bytesPerPixel);
            std::memcpy(&b[x * layout.bytesPerPixel], &second, layout.bytesPerPixel);
        }
    }

    std::size_t width = 0;
    std::vector<std::uint8_t> a;
    std::vector<std::uint8_t> b;
};

struct SetCase {
    const char* name;
    const BlendRowSet* (*set)();
};

void PrintTo(const SetCase& value, std::ostream* out) {
    *out << value.name;
}

const BlendRowSet* Portable() {
    return &PortableBlendRows();
}

class BlendRowSetTest : public testing::TestWithParam<SetCase> {
protected:
    void SetUp() override {
        m_set = GetParam().set();
        if (m_set == nullptr) {
            GTEST_SKIP() << "the processor does not run this set";
        }
    }

    const BlendRowSet* m_set = nullptr;
};

TEST_P(BlendRowSetTest, EveryLevelAndPairOfChannelValuesFollowsTheTable) {
    std::mt19937 random(5);
    for (const RowLayout& entry : Layouts()) {
        SCOPED_TRACE(entry.name);
        const SourceRows sources(entry.layout, random);
        std::vector<std::uint8_t> destination(sources.a.size());
        for (std::uint32_t level = 0; level <= 256; ++level) {
            (m_set->*entry.row)(destination.data(), sources.a.data(), sources.b.data(), sources.width, level);
            const std::size_t bytes = entry.layout.bytesPerPixel;
            for (std::size_t x = 0; x < sources.width; ++x) {
                const std::uint32_t expected = BlendPixel(entry.layout, Load(&sources.a[bytes * x], bytes),
                                                          Load(&sources.b[bytes * x], bytes), level);
                const std::uint32_t actual = Load(&destination[bytes * x], bytes);
                if (actual != expected) {
                    FAIL() << "level " << level << " pixel " << x << " got " << actual << " want "
                           << expected;
                }
            }
        }
    }
}

// A destination one pixel behind or ahead of its source in the same memory, or the source itself.
TEST_P(BlendRowSetTest, ADestinationOverlappingASourceGetsTheLeftToRightResult) {
    std::mt19937 random(9);
    for (const RowLayout& entry : Layouts()) {
        for (const std::ptrdiff_t shift : {-1, 0, 1, 7}) {
            for (const bool overFirst : {true, false}) {
                SCOPED_TRACE(std::string(entry.name) + " shift " + std::to_string(shift) +
                             (overFirst ? " over the first" : " over the second"));
                constexpr std::size_t kWidth = 101;
                const std::size_t bytes = entry.layout.bytesPerPixel;
                std::vector<std::uint8_t> shared((kWidth + 16) * bytes);
                std::vector<std::uint8_t> other(kWidth * bytes);
                for (std::uint8_t& byte : shared) {
                    byte = static_cast<std::uint8_t>(random());
                }
                for (std::uint8_t& byte : other) {
                    byte = static_cast<std::uint8_t>(random());
                }
                std::vector<std::uint8_t> expected = shared;
                const std::size_t source = 8 * bytes;
                const std::size_t target = static_cast<std::size_t>(
                    static_cast<std::ptrdiff_t>(source) + shift * static_cast<std::ptrdiff_t>(bytes));
                const std::uint32_t level = 77 + 100 * (shift & 1);
                const auto run = [&](std::vector<std::uint8_t>& memory, auto row) {
                    const std::uint8_t* inShared = memory.data() + source;
                    row(memory.data() + target, overFirst ? inShared : other.data(),
                        overFirst ? other.data() : inShared, kWidth, level);
                };
                run(expected,
                    [&](std::uint8_t* d, const std::uint8_t* a, const std::uint8_t* b, std::size_t w,
                        std::uint32_t l) { BlendPixelByPixel(entry.layout, d, a, b, w, l); });
                run(shared, m_set->*entry.row);
                EXPECT_EQ(shared, expected);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, BlendRowSetTest,
                         testing::Values(SetCase{"Portable", &Portable}, SetCase{"Avx2", &Avx2BlendRows}),
                         [](const testing::TestParamInfo<SetCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
