// Names for the cases of a parameterized test, made from a text of each case. Without a name generator gtest
// numbers the cases, and ctest's listing shows the cases' raw bytes beside the numbers.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::testing {

// The case's index, then the letters and digits of the text with every other run of characters as one '_', at
// most 48 of them: "4_REM_a_comment_REMARK_1". The index keeps two cases with like texts apart.
inline std::string CaseName(std::size_t index, std::string_view text) {
    constexpr std::size_t kLongest = 48;
    std::string name = std::to_string(index);
    std::string words;
    bool gap = true;
    for (const char c : text) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (kept) {
            if (gap && !words.empty()) {
                words += '_';
            }
            words += c;
        }
        gap = !kept;
        if (words.size() >= kLongest) {
            break;
        }
    }
    return words.empty() ? name : name + "_" + words.substr(0, kLongest);
}

// A name generator that names each case after one of its texts:
//     INSTANTIATE_TEST_SUITE_P(Files, ScriptFileTest, testing::Values(...), NameFromText<&FileCase::file>());
template <auto member>
struct NameFromText {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return CaseName(info.index, info.param.*member);
    }
};

// A name generator for cases that are texts themselves.
struct NameFromParam {
    std::string operator()(const ::testing::TestParamInfo<const char*>& info) const {
        return CaseName(info.index, info.param);
    }
};

} // namespace platform::testing
