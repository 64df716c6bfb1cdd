#include "engines/image/effects/PatternFill.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;

struct FillCase {
    const char* name;
    PatternFill (*fill)();
};

void PrintTo(const FillCase& value, std::ostream* out) {
    *out << value.name;
}

PatternFill Portable() {
    return &FillPatternPortable;
}

PatternFill Fastest() {
    return &FillPattern;
}

class PatternFillTest : public testing::TestWithParam<FillCase> {};

// Every length up to a few vectors from every start within a word, and nothing written outside.
TEST_P(PatternFillTest, RepeatsThePatternLowestByteFirstOverExactlyTheBytes) {
    const PatternFill fill = GetParam().fill();
    if (fill == nullptr) {
        GTEST_SKIP() << "the processor does not run this fill";
    }
    constexpr std::uint32_t kPattern = 0x44332211;
    for (std::size_t start = 0; start < 4; ++start) {
        for (std::size_t bytes = 0; bytes <= 130; ++bytes) {
            std::vector<std::uint8_t> memory(start + bytes + 8, 0xEE);
            fill(memory.data() + start, bytes, kPattern);
            std::vector<std::uint8_t> expected(memory.size(), 0xEE);
            for (std::size_t at = 0; at < bytes; ++at) {
                expected[start + at] = static_cast<std::uint8_t>(kPattern >> 8 * (at % 4));
            }
            ASSERT_EQ(memory, expected) << "start " << start << " bytes " << bytes;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fills, PatternFillTest,
                         testing::Values(FillCase{"Portable", &Portable}, FillCase{"Avx2", &Avx2PatternFill},
                                         FillCase{"Fastest", &Fastest}),
                         [](const testing::TestParamInfo<FillCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
