// A font realised: a FreeType face at the size, weight, slant and quality a LOGFONTA asks for, with the
// metrics GDI reports and its glyphs' images. Internal to the platform layer; used with the GDI lock held.
#pragma once

#include "platform/win32/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

namespace win32::gdi {

// A glyph as drawn with the pen at the origin of the baseline: its black box (left and top from the pen, y
// up; width or rows 0 for a glyph without ink) and its advance in whole pixels.
struct GlyphBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;
};

// The box's coverage, one byte a pixel (0 none, 255 full), rows of width bytes.
struct GlyphImage {
    GlyphBox box;
    const std::uint8_t* coverage = nullptr;
};

// A line drawn across text (underline, strike-out): its top below the cell's top, and its thickness.
struct TextLine {
    int offset = 0;
    int thickness = 1;
};

class FontFace {
public:
    // Null when no face can be matched or opened at that size.
    static std::shared_ptr<FontFace> Open(const LOGFONTA& logFont);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const TEXTMETRICA& Metrics() const { return m_metrics; }
    bool HasOutlines() const { return m_scalable; }
    const GlyphBox& Box(BYTE code) const { return m_boxes[code]; }
    // The code's image; its coverage stays valid until the next call.
    GlyphImage Image(BYTE code);
    const std::vector<KERNINGPAIR>& KerningPairs();
    TextLine Underline() const { return m_underline; }
    TextLine StrikeOut() const { return m_strikeOut; }

private:
    struct Rendered {
        GlyphBox box;
        std::vector<std::uint8_t> coverage;
    };

    FontFace() = default;
    bool SetScalableSize(const LOGFONTA& logFont);
    bool SetBitmapSize(const LOGFONTA& logFont);
    void MapCodes();
    void MeasureGlyphs();
    void FillMetrics(const LOGFONTA& logFont);
    void PlaceLines();
    int AverageWidth() const;
    std::optional<Rendered> Render(unsigned glyph) const;

    FT_FaceRec_* m_face = nullptr;
    bool m_scalable = false;
    bool m_monochrome = false;
    bool m_embolden = false;
    bool m_oblique = false;
    int m_ppem = 0;
    int m_height = 0;
    int m_ascent = 0;
    int m_externalLeading = 0;
    std::array<unsigned, 256> m_glyphs{};
    std::array<GlyphBox, 256> m_boxes{};
    BYTE m_first = 0x20;
    BYTE m_last = 0x20;
    TEXTMETRICA m_metrics{};
    TextLine m_underline;
    TextLine m_strikeOut;

    std::unordered_map<unsigned, std::vector<std::uint8_t>> m_images;
    std::size_t m_imageBytes = 0;
    std::vector<std::uint8_t> m_scratch;
    std::optional<std::vector<KERNINGPAIR>> m_kerning;
};

// The Unicode character of a Windows-1252 byte; 0 for the five codes the page leaves undefined.
char32_t Windows1252Character(BYTE code);

} // namespace win32::gdi
