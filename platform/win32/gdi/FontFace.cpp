#include "platform/win32/gdi/FontFace.h"

#include "platform/win32/gdi/FontCatalog.h"
#include "platform/win32/gdi/Gdi.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace win32::gdi {
namespace {

constexpr int kDefaultCellHeight = 16;
constexpr int kLargestSize = 2048;
// Rendered glyph images kept per font; past this the cache starts again.
constexpr std::size_t kImageCacheBytes = 4 * 1024 * 1024;

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

// Design units to whole pixels at the em, rounded up.
int CeilScale(long units, int ppem, int unitsPerEm) {
    long long product = static_cast<long long>(units) * ppem;
    long long quotient = product / unitsPerEm;
    return static_cast<int>(product % unitsPerEm > 0 ? quotient + 1 : quotient);
}

int RoundScale(long units, int ppem, int unitsPerEm) {
    return static_cast<int>(std::lround(static_cast<double>(units) * ppem / unitsPerEm));
}

int RoundPixels(FT_Pos value26dot6) {
    return static_cast<int>((value26dot6 + 32) >> 6);
}

struct VerticalExtent {
    long ascent = 0;
    long descent = 0;
    long lineGap = 0;
};

// The Windows ascent and descent (OS/2, else hhea, else the face's), and the gap hhea adds beyond them.
VerticalExtent WindowsExtent(FT_Face face) {
    VerticalExtent extent{face->ascender, -face->descender, 0};
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (hhea != nullptr) {
        extent = VerticalExtent{hhea->Ascender, -hhea->Descender, 0};
    }
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        extent.ascent = os2->usWinAscent;
        extent.descent = os2->usWinDescent;
    }
    if (hhea != nullptr) {
        long hheaHeight = hhea->Ascender - hhea->Descender;
        extent.lineGap = std::max(0L, hhea->Line_Gap - ((extent.ascent + extent.descent) - hheaHeight));
    }
    return extent;
}

// The largest em, in whole pixels, whose face fits a cell of that many rows: the Windows extent at that size
// is no taller than the cell, and neither is the extent the glyphs take in pixels, the ascent rounded up (the
// baseline sits there) and the descent rounded to the row where hinting puts the lowest ink. A larger em
// would draw descenders such as the underscore below the cell.
int LargestSizeInCell(const VerticalExtent& extent, int cell, int unitsPerEm) {
    long long cellUnits = std::max(1L, extent.ascent + extent.descent);
    int ppem = static_cast<int>(std::max(1LL, static_cast<long long>(cell) * unitsPerEm / cellUnits));
    while (ppem > 1 &&
           CeilScale(extent.ascent, ppem, unitsPerEm) + RoundScale(extent.descent, ppem, unitsPerEm) > cell) {
        --ppem;
    }
    return ppem;
}

int FaceWeight(FT_Face face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass > 0) {
        return os2->usWeightClass;
    }
    return (face->style_flags & FT_STYLE_FLAG_BOLD) ? FW_BOLD : FW_NORMAL;
}

int RequestedWeight(const LOGFONTA& logFont) {
    return logFont.lfWeight <= 0 ? FW_NORMAL : std::min<int>(logFont.lfWeight, 1000);
}

// One byte of coverage a pixel from whatever FreeType rendered.
std::vector<std::uint8_t> Coverage(const FT_Bitmap& source) {
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    std::vector<std::uint8_t> coverage;
    if (FT_Bitmap_Convert(Library(), &source, &converted, 1) == 0 && converted.num_grays > 1) {
        unsigned top = converted.num_grays - 1;
        coverage.resize(static_cast<std::size_t>(converted.width) * converted.rows);
        for (unsigned row = 0; row < converted.rows; ++row) {
            const unsigned char* line = converted.buffer + static_cast<std::ptrdiff_t>(row) * converted.pitch;
            for (unsigned x = 0; x < converted.width; ++x) {
                coverage[static_cast<std::size_t>(row) * converted.width + x] =
                    static_cast<std::uint8_t>(std::min(255u, line[x] * 255u / top));
            }
        }
    }
    FT_Bitmap_Done(Library(), &converted);
    return coverage;
}

} // namespace

char32_t Windows1252Character(BYTE code) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    if (code >= 0x80 && code < 0xA0) {
        return kHigh[code - 0x80];
    }
    return code;
}

std::shared_ptr<FontFace> FontFace::Open(const LOGFONTA& logFont) {
    if (std::abs(static_cast<long long>(logFont.lfHeight)) > kLargestSize ||
        std::abs(static_cast<long long>(logFont.lfWidth)) > kLargestSize || Library() == nullptr) {
        return nullptr;
    }
    std::optional<MatchedFace> matched = MatchFace(logFont);
    if (!matched) {
        return nullptr;
    }
    std::shared_ptr<FontFace> font(new FontFace);
    if (FT_New_Face(Library(), matched->file.c_str(), matched->index, &font->m_face) != 0) {
        font->m_face = nullptr;
        return nullptr;
    }
    FT_Face face = font->m_face;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps > 0) {
        FT_Set_Charmap(face, face->charmaps[0]);
    }
    font->m_scalable = FT_IS_SCALABLE(face);
    font->m_monochrome = logFont.lfQuality == NONANTIALIASED_QUALITY;
    font->m_embolden = RequestedWeight(logFont) >= FW_SEMIBOLD && FaceWeight(face) < FW_SEMIBOLD;
    font->m_oblique = logFont.lfItalic != 0 && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
    bool sized = font->m_scalable ? font->SetScalableSize(logFont) : font->SetBitmapSize(logFont);
    if (!sized) {
        return nullptr;
    }
    font->MapCodes();
    font->MeasureGlyphs();
    font->FillMetrics(logFont);
    font->PlaceLines();
    return font;
}

FontFace::~FontFace() {
    if (m_face != nullptr) {
        FT_Done_Face(m_face);
    }
}

bool FontFace::SetScalableSize(const LOGFONTA& logFont) {
    FT_Face face = m_face;
    int unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    VerticalExtent extent = WindowsExtent(face);
    int cell = logFont.lfHeight == 0 ? kDefaultCellHeight : static_cast<int>(logFont.lfHeight);
    if (cell > 0) {
        m_ppem = LargestSizeInCell(extent, cell, unitsPerEm);
    } else {
        m_ppem = -cell;
    }
    FT_F26Dot6 width = static_cast<FT_F26Dot6>(m_ppem) * 64;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    int averageUnits = os2 != nullptr && os2->version != 0xFFFF ? os2->xAvgCharWidth : 0;
    if (logFont.lfWidth != 0 && averageUnits > 0) {
        width = std::max<FT_F26Dot6>(1, std::llround(64.0 * std::abs(static_cast<double>(logFont.lfWidth)) *
                                                     unitsPerEm / averageUnits));
    }
    if (FT_Set_Char_Size(face, width, static_cast<FT_F26Dot6>(m_ppem) * 64, 72, 72) != 0) {
        return false;
    }
    int ascent = CeilScale(extent.ascent, m_ppem, unitsPerEm);
    m_height = cell > 0 ? cell : ascent + CeilScale(extent.descent, m_ppem, unitsPerEm);
    m_ascent = std::min(m_height, ascent);
    m_externalLeading = RoundScale(extent.lineGap, m_ppem, unitsPerEm);
    return true;
}

bool FontFace::SetBitmapSize(const LOGFONTA& logFont) {
    FT_Face face = m_face;
    if (face->num_fixed_sizes <= 0) {
        return false;
    }
    int wanted = logFont.lfHeight == 0 ? kDefaultCellHeight : std::abs(static_cast<int>(logFont.lfHeight));
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].height - wanted) <
            std::abs(face->available_sizes[best].height - wanted)) {
            best = i;
        }
    }
    if (FT_Select_Size(face, best) != 0) {
        return false;
    }
    m_ppem = face->size->metrics.y_ppem;
    m_ascent = RoundPixels(face->size->metrics.ascender);
    m_height = m_ascent + RoundPixels(-face->size->metrics.descender);
    m_externalLeading = 0;
    return m_height > 0;
}

void FontFace::MapCodes() {
    bool unicode = m_face->charmap != nullptr && m_face->charmap->encoding == FT_ENCODING_UNICODE;
    for (unsigned code = 0; code < 256; ++code) {
        char32_t character = unicode ? Windows1252Character(static_cast<BYTE>(code)) : code;
        m_glyphs[code] = character == 0 && code != 0 ? 0 : FT_Get_Char_Index(m_face, character);
    }
    auto mapped = [this](unsigned code) { return code >= 0x20 && m_glyphs[code] != 0; };
    unsigned first = 0x20;
    while (first < 256 && !mapped(first)) {
        ++first;
    }
    if (first == 256) {
        return;
    }
    unsigned last = 255;
    while (!mapped(last)) {
        --last;
    }
    m_first = static_cast<BYTE>(first);
    m_last = static_cast<BYTE>(last);
}

void FontFace::MeasureGlyphs() {
    std::unordered_map<unsigned, GlyphBox> measured;
    for (unsigned code = 0; code < 256; ++code) {
        unsigned glyph = m_glyphs[code];
        auto found = measured.find(glyph);
        if (found == measured.end()) {
            std::optional<Rendered> rendered = Render(glyph);
            GlyphBox box = rendered ? rendered->box : GlyphBox{};
            found = measured.emplace(glyph, box).first;
            if (rendered && m_imageBytes + rendered->coverage.size() <= kImageCacheBytes) {
                m_imageBytes += rendered->coverage.size();
                m_images.emplace(glyph, std::move(rendered->coverage));
            }
        }
        m_boxes[code] = found->second;
    }
}

std::optional<FontFace::Rendered> FontFace::Render(unsigned glyph) const {
    FT_Int32 flags = FT_LOAD_DEFAULT | (m_monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(m_face, glyph, flags) != 0) {
        return std::nullopt;
    }
    FT_GlyphSlot slot = m_face->glyph;
    if (m_embolden) {
        FT_GlyphSlot_Embolden(slot);
    }
    if (m_oblique) {
        FT_GlyphSlot_Oblique(slot);
    }
    Rendered rendered;
    rendered.box.advance = std::max(0, RoundPixels(slot->advance.x));
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, m_monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
        return rendered;
    }
    if (slot->bitmap.width == 0 || slot->bitmap.rows == 0) {
        return rendered;
    }
    rendered.coverage = Coverage(slot->bitmap);
    if (rendered.coverage.empty()) {
        return rendered;
    }
    rendered.box.left = slot->bitmap_left;
    rendered.box.top = slot->bitmap_top;
    rendered.box.width = static_cast<int>(slot->bitmap.width);
    rendered.box.rows = static_cast<int>(slot->bitmap.rows);
    return rendered;
}

int FontFace::AverageWidth() const {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
    if (m_scalable && os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0) {
        return RoundPixels(FT_MulFix(os2->xAvgCharWidth, m_face->size->metrics.x_scale));
    }
    long total = 0;
    int count = 0;
    for (unsigned code = m_first; code <= m_last; ++code) {
        if (m_glyphs[code] != 0) {
            total += m_boxes[code].advance;
            ++count;
        }
    }
    return count == 0 ? m_boxes[m_first].advance : static_cast<int>((total + count / 2) / count);
}

void FontFace::FillMetrics(const LOGFONTA& logFont) {
    int widest = 0;
    for (const GlyphBox& box : m_boxes) {
        widest = std::max({widest, box.advance, box.width});
    }
    TEXTMETRICA& metrics = m_metrics;
    metrics.tmHeight = m_height;
    metrics.tmAscent = m_ascent;
    metrics.tmDescent = m_height - m_ascent;
    metrics.tmInternalLeading = std::max(0, m_height - m_ppem);
    metrics.tmExternalLeading = m_externalLeading;
    metrics.tmAveCharWidth = AverageWidth();
    metrics.tmMaxCharWidth = widest;
    metrics.tmWeight = RequestedWeight(logFont);
    metrics.tmOverhang = 0;
    metrics.tmDigitizedAspectX = 96;
    metrics.tmDigitizedAspectY = 96;
    metrics.tmFirstChar = m_first;
    metrics.tmLastChar = m_last;
    metrics.tmDefaultChar = static_cast<BYTE>(m_first > 0 ? m_first - 1 : 0);
    metrics.tmBreakChar = ' ';
    metrics.tmItalic = logFont.lfItalic ? 0xFF : 0;
    metrics.tmUnderlined = logFont.lfUnderline ? 0xFF : 0;
    metrics.tmStruckOut = logFont.lfStrikeOut ? 0xFF : 0;
    BYTE pitch = FT_IS_FIXED_WIDTH(m_face) ? 0 : TMPF_FIXED_PITCH;
    if (m_scalable) {
        pitch |= TMPF_VECTOR | (FT_IS_SFNT(m_face) ? TMPF_TRUETYPE : 0);
    }
    metrics.tmPitchAndFamily = static_cast<BYTE>(pitch | (logFont.lfPitchAndFamily & 0xF0));
    metrics.tmCharSet = ANSI_CHARSET;
}

void FontFace::PlaceLines() {
    int unitsPerEm = m_face->units_per_EM > 0 ? m_face->units_per_EM : 2048;
    TextLine underline{m_ascent + 1, 1};
    TextLine strikeOut{m_ascent - std::max(1, m_ascent / 3), 1};
    if (m_scalable) {
        underline.offset = m_ascent - RoundScale(m_face->underline_position, m_ppem, unitsPerEm);
        underline.thickness = std::max(1, RoundScale(m_face->underline_thickness, m_ppem, unitsPerEm));
        strikeOut.thickness = underline.thickness;
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
            strikeOut.offset = m_ascent - RoundScale(os2->yStrikeoutPosition, m_ppem, unitsPerEm);
            strikeOut.thickness = std::max(1, RoundScale(os2->yStrikeoutSize, m_ppem, unitsPerEm));
        }
    }
    for (TextLine* line : {&underline, &strikeOut}) {
        line->thickness = std::clamp(line->thickness, 1, std::max(1, m_height));
        line->offset = std::clamp(line->offset, 0, std::max(0, m_height - line->thickness));
    }
    m_underline = underline;
    m_strikeOut = strikeOut;
}

GlyphImage FontFace::Image(BYTE code) {
    GlyphImage image{m_boxes[code], nullptr};
    if (image.box.width == 0 || image.box.rows == 0) {
        return image;
    }
    unsigned glyph = m_glyphs[code];
    auto cached = m_images.find(glyph);
    if (cached != m_images.end()) {
        image.coverage = cached->second.data();
        return image;
    }
    std::optional<Rendered> rendered = Render(glyph);
    if (!rendered ||
        rendered->coverage.size() != static_cast<std::size_t>(image.box.width) * image.box.rows) {
        image.box.width = 0;
        image.box.rows = 0;
        return image;
    }
    if (m_imageBytes + rendered->coverage.size() > kImageCacheBytes) {
        m_images.clear();
        m_imageBytes = 0;
    }
    if (rendered->coverage.size() > kImageCacheBytes) {
        m_scratch = std::move(rendered->coverage);
        image.coverage = m_scratch.data();
        return image;
    }
    m_imageBytes += rendered->coverage.size();
    image.coverage = m_images.emplace(glyph, std::move(rendered->coverage)).first->second.data();
    return image;
}

const std::vector<KERNINGPAIR>& FontFace::KerningPairs() {
    if (m_kerning) {
        return *m_kerning;
    }
    m_kerning.emplace();
    if (!FT_HAS_KERNING(m_face)) {
        return *m_kerning;
    }
    for (unsigned first = m_first; first <= m_last; ++first) {
        if (m_glyphs[first] == 0) {
            continue;
        }
        for (unsigned second = m_first; second <= m_last; ++second) {
            FT_Vector delta{0, 0};
            if (m_glyphs[second] == 0 ||
                FT_Get_Kerning(m_face, m_glyphs[first], m_glyphs[second], FT_KERNING_DEFAULT, &delta) != 0) {
                continue;
            }
            int amount = RoundPixels(delta.x);
            if (amount != 0) {
                m_kerning->push_back(
                    KERNINGPAIR{static_cast<WORD>(first), static_cast<WORD>(second), amount});
            }
        }
    }
    return *m_kerning;
}

} // namespace win32::gdi
