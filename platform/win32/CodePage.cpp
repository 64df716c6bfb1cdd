#include "platform/win32/CodePage.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace win32 {

namespace {

constexpr UINT kDefaultCodePage = 1252;

struct LeadRange {
    BYTE first;
    BYTE last;
};

struct CodePageRecord {
    UINT number;
    LeadRange leads[2]; // empty ranges (first > last) for a single-byte page
};

constexpr LeadRange kNone{1, 0};

constexpr CodePageRecord kCodePages[] = {
    {874, {kNone, kNone}},
    {1250, {kNone, kNone}},
    {1251, {kNone, kNone}},
    {1252, {kNone, kNone}},
    {1253, {kNone, kNone}},
    {1254, {kNone, kNone}},
    {1255, {kNone, kNone}},
    {1256, {kNone, kNone}},
    {1257, {kNone, kNone}},
    {1258, {kNone, kNone}},
    {932, {{0x81, 0x9F}, {0xE0, 0xFC}}},
    {936, {{0x81, 0xFE}, kNone}},
    {949, {{0x81, 0xFE}, kNone}},
    {950, {{0x81, 0xFE}, kNone}},
};

const CodePageRecord* FindCodePage(UINT number) {
    for (const CodePageRecord& record : kCodePages) {
        if (record.number == number) {
            return &record;
        }
    }
    return nullptr;
}

UINT CodePageFromEnvironment() {
    const char* text = std::getenv("VEMO_CODEPAGE");
    if (text == nullptr || *text == '\0') {
        return kDefaultCodePage;
    }
    char* end = nullptr;
    unsigned long number = std::strtoul(text, &end, 10);
    if (*end != '\0' || number > 0xFFFFFFFFul || !IsSupportedCodePage(static_cast<UINT>(number))) {
        std::fprintf(stderr, "vemo: VEMO_CODEPAGE=%s is not a supported code page; using %u\n", text,
                     kDefaultCodePage);
        return kDefaultCodePage;
    }
    return static_cast<UINT>(number);
}

UINT StartupCodePage() {
    static const UINT codePage = CodePageFromEnvironment();
    return codePage;
}

std::atomic<UINT> overridden{0};

} // namespace

bool IsSupportedCodePage(UINT codePage) {
    return FindCodePage(codePage) != nullptr;
}

UINT GetACP() {
    UINT codePage = overridden.load(std::memory_order_relaxed);
    return codePage != 0 ? codePage : StartupCodePage();
}

BOOL IsDBCSLeadByte(BYTE testChar) {
    const CodePageRecord* record = FindCodePage(GetACP());
    for (const LeadRange& range : record->leads) {
        if (testChar >= range.first && testChar <= range.last) {
            return TRUE;
        }
    }
    return FALSE;
}

void seam::OverrideCodePage(UINT codePage) {
    overridden.store(IsSupportedCodePage(codePage) ? codePage : 0, std::memory_order_relaxed);
}

std::size_t CharacterLength(std::string_view text, std::size_t index) {
    if (index + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[index]))) {
        return 2;
    }
    return 1;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        std::size_t length = CharacterLength(a, i);
        if (length == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
        } else if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace win32
