#include "platform/win32/gdi/GdiText.h"

#include "platform/win32/gdi/GdiPixelTarget.h"

#include <algorithm>
#include <numeric>

namespace win32::gdi {
namespace {

// Positions past this lie far outside any target; keeping them there keeps the arithmetic in range.
int ClampCoordinate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -0x40000000LL, 0x40000000LL));
}

bool IsBreakSpace(BYTE code) {
    return code == ' ' || code == '\t';
}
bool IsLineEnd(BYTE code) {
    return code == '\r' || code == '\n';
}

void FillClipped(GdiPixelTarget& pixels, const RECT& area, const RECT& clip, COLORREF color) {
    RECT inside = IntersectRects(area, clip);
    if (!IsEmptyRect(inside)) {
        pixels.Fill(inside, color);
    }
}

void BlendImage(GdiPixelTarget& pixels, const GlyphImage& image, int left, int top, const RECT& clip,
                COLORREF color) {
    for (int row = 0; row < image.box.rows; ++row) {
        long long y = static_cast<long long>(top) + row;
        if (y < clip.top || y >= clip.bottom) {
            continue;
        }
        const std::uint8_t* coverage = image.coverage + static_cast<std::size_t>(row) * image.box.width;
        for (int column = 0; column < image.box.width; ++column) {
            long long x = static_cast<long long>(left) + column;
            if (x >= clip.left && x < clip.right) {
                pixels.Blend(static_cast<int>(x), static_cast<int>(y), coverage[column], color);
            }
        }
    }
}

// A line across [left, right) at the offset below the cell's top.
RECT LineArea(int left, int right, int top, const TextLine& line) {
    return RECT{left, top + line.offset, right, top + line.offset + line.thickness};
}

struct ParagraphBreaker {
    std::span<const TextCharacter> text;
    std::vector<long long> prefix; // prefix[i]: the advances of the characters before i
    long long maxWidth;
    UINT format;
    std::vector<TextLineRange>& lines;

    long long Width(std::size_t begin, std::size_t end) const { return prefix[end] - prefix[begin]; }

    void Add(std::size_t begin, std::size_t end) {
        long long width = Width(begin, end);
        lines.push_back(TextLineRange{begin, end, ClampCoordinate(width)});
    }

    std::size_t SkipSpaces(std::size_t at, std::size_t end) const {
        while (at < end && IsBreakSpace(text[at].code)) {
            ++at;
        }
        return at;
    }

    // The last word end found, and where its search began: every character between them is a word's. A word
    // cut over many lines is asked for again from each cut, and answered without a second walk over it.
    std::size_t foundFrom = 0;
    std::size_t foundEnd = 0;

    std::size_t WordEnd(std::size_t at, std::size_t end) {
        if (at >= foundFrom && at <= foundEnd && foundEnd <= end &&
            (foundEnd == end || IsBreakSpace(text[foundEnd].code))) {
            return foundEnd;
        }
        foundFrom = at;
        while (at < end && !IsBreakSpace(text[at].code)) {
            ++at;
        }
        foundEnd = at;
        return at;
    }

    // Where an edit control cuts a word wider than the line: after as many characters as fit, at least one.
    std::size_t Cut(std::size_t lineStart, std::size_t wordStart, std::size_t wordEnd) const {
        std::size_t cut = wordStart + 1;
        while (cut < wordEnd && Width(lineStart, cut + 1) <= maxWidth) {
            ++cut;
        }
        return cut;
    }

    // Lays out one line from lineStart; answers where the next one starts (end when none does).
    std::size_t Line(std::size_t lineStart, std::size_t end) {
        std::size_t lineEnd = lineStart;
        std::size_t scan = lineStart;
        while (true) {
            std::size_t wordStart = SkipSpaces(scan, end);
            if (wordStart == end) {
                Add(lineStart, lineEnd);
                return end;
            }
            std::size_t wordEnd = WordEnd(wordStart, end);
            if (Width(lineStart, wordEnd) <= maxWidth) {
                lineEnd = wordEnd;
            } else if (lineEnd > lineStart) {
                Add(lineStart, lineEnd);
                return wordStart;
            } else if (format & DT_EDITCONTROL) {
                std::size_t cut = Cut(lineStart, wordStart, wordEnd);
                Add(lineStart, cut);
                return cut;
            } else {
                lineEnd = wordEnd; // a word wider than the line stands alone on it
            }
            scan = wordEnd;
        }
    }

    void Paragraph(std::size_t begin, std::size_t end) {
        if (!(format & DT_WORDBREAK)) {
            Add(begin, end);
            return;
        }
        std::size_t start = begin;
        do {
            start = Line(start, end);
        } while (start < end);
    }
};

} // namespace

std::vector<TextCharacter> ReadCharacters(std::string_view text, bool prefixes) {
    std::vector<TextCharacter> characters;
    characters.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto code = static_cast<BYTE>(text[i]);
        if (prefixes && code == '&') {
            if (i + 1 == text.size()) {
                break;
            }
            ++i;
            auto next = static_cast<BYTE>(text[i]);
            characters.push_back(TextCharacter{next, next != '&'});
            continue;
        }
        characters.push_back(TextCharacter{code, false});
    }
    return characters;
}

std::vector<int> CharacterAdvances(const GdiDeviceContext& dc, FontFace& face,
                                   std::span<const TextCharacter> text, bool justify) {
    std::vector<int> advances;
    advances.reserve(text.size());
    BYTE breakCharacter = face.Metrics().tmBreakChar;
    long long breaks = 0;
    for (const TextCharacter& character : text) {
        long long advance = static_cast<long long>(face.Box(character.code).advance) + dc.characterExtra;
        if (justify && dc.breakCount > 0 && character.code == breakCharacter && breaks < dc.breakCount) {
            advance += dc.breakExtra * (breaks + 1) / dc.breakCount - dc.breakExtra * breaks / dc.breakCount;
            ++breaks;
        }
        advances.push_back(ClampCoordinate(advance));
    }
    return advances;
}

RECT DrawingClip(const GdiDeviceContext& dc) {
    std::optional<GdiBitmapTarget> target = dc.DrawingTarget();
    if (!target) {
        return RECT{0, 0, 0, 0};
    }
    RECT bounds = GdiPixelTarget(*target).Bounds();
    return dc.clip ? IntersectRects(bounds, *dc.clip) : bounds;
}

void DrawRun(GdiDeviceContext& dc, FontFace& face, std::span<const TextCharacter> text,
             std::span<const int> advances, int x, int top, const RECT& clip) {
    std::optional<GdiBitmapTarget> target = dc.DrawingTarget();
    if (!target || IsEmptyRect(clip) || text.empty()) {
        return;
    }
    GdiPixelTarget pixels(*target);
    const TEXTMETRICA& metrics = face.Metrics();
    long long width = std::accumulate(advances.begin(), advances.end(), 0LL);
    int right = ClampCoordinate(x + width);
    if (dc.backgroundMode == OPAQUE) {
        FillClipped(pixels, RECT{x, top, right, top + metrics.tmHeight}, clip, dc.backgroundColor);
    }
    int baseline = top + metrics.tmAscent;
    long long pen = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        GlyphImage image = face.Image(text[i].code);
        if (image.coverage != nullptr) {
            BlendImage(pixels, image, ClampCoordinate(pen + image.box.left), baseline - image.box.top, clip,
                       dc.textColor);
        }
        if (text[i].underlined && !metrics.tmUnderlined) {
            RECT area =
                LineArea(ClampCoordinate(pen), ClampCoordinate(pen + advances[i]), top, face.Underline());
            FillClipped(pixels, area, clip, dc.textColor);
        }
        pen += advances[i];
    }
    if (metrics.tmUnderlined) {
        FillClipped(pixels, LineArea(x, right, top, face.Underline()), clip, dc.textColor);
    }
    if (metrics.tmStruckOut) {
        FillClipped(pixels, LineArea(x, right, top, face.StrikeOut()), clip, dc.textColor);
    }
}

std::vector<TextLineRange> BreakLines(std::span<const TextCharacter> text, std::span<const int> advances,
                                      int maxWidth, UINT format) {
    std::vector<TextLineRange> lines;
    ParagraphBreaker breaker{text, std::vector<long long>(text.size() + 1, 0), maxWidth, format, lines};
    for (std::size_t i = 0; i < text.size(); ++i) {
        breaker.prefix[i + 1] = breaker.prefix[i] + advances[i];
    }
    std::size_t begin = 0;
    while (true) {
        std::size_t end = begin;
        while (end < text.size() && !IsLineEnd(text[end].code)) {
            ++end;
        }
        breaker.Paragraph(begin, end);
        if (end == text.size()) {
            break;
        }
        bool crlf = text[end].code == '\r' && end + 1 < text.size() && text[end + 1].code == '\n';
        begin = end + (crlf ? 2 : 1);
    }
    return lines;
}

} // namespace win32::gdi
