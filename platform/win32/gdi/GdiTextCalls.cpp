// Text output: TextOutA and DrawTextA.
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/GdiPixelTarget.h"
#include "platform/win32/gdi/GdiState.h"
#include "platform/win32/gdi/GdiText.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace win32 {

using gdi::GdiCall;

namespace {

bool InRange(long long coordinate) {
    return coordinate >= -gdi::kLargestCoordinate && coordinate <= gdi::kLargestCoordinate;
}

bool InRange(const RECT& rect) {
    return InRange(rect.left) && InRange(rect.top) && InRange(rect.right) && InRange(rect.bottom);
}

// The run's left edge and cell top for the DC's alignment at the reference point.
POINT AlignRun(const gdi::GdiDeviceContext& dc, const TEXTMETRICA& metrics, int x, int y, int width) {
    UINT horizontal = dc.textAlign & TA_CENTER;
    UINT vertical = dc.textAlign & TA_BASELINE;
    int left = horizontal == TA_RIGHT ? x - width : horizontal == TA_CENTER ? x - width / 2 : x;
    int top = vertical == TA_BASELINE ? y - metrics.tmAscent
              : vertical == TA_BOTTOM ? y - metrics.tmHeight
                                      : y;
    return POINT{left, top};
}

int LineLeft(const RECT& rect, int lineWidth, UINT format) {
    if (format & DT_RIGHT) {
        return rect.right - lineWidth;
    }
    if (format & DT_CENTER) {
        return rect.left + (rect.right - rect.left - lineWidth) / 2;
    }
    return rect.left;
}

} // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    GdiCall call("TextOutA");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || !found->font.object || count < 0 || (text == nullptr && count > 0) ||
        !InRange(x) || !InRange(y)) {
        return FALSE;
    }
    gdi::FontFace& face = *found->font.object->face;
    std::vector<gdi::TextCharacter> characters = gdi::ReadCharacters(
        std::string_view(text == nullptr ? "" : text, static_cast<std::size_t>(count)), false);
    std::vector<int> advances = gdi::CharacterAdvances(*found, face, characters, true);
    long long total = std::accumulate(advances.begin(), advances.end(), 0LL);
    int width =
        static_cast<int>(std::clamp<long long>(total, -gdi::kLargestCoordinate, gdi::kLargestCoordinate));
    bool updatePosition = (found->textAlign & TA_UPDATECP) != 0;
    POINT reference = updatePosition ? found->currentPosition : POINT{x, y};
    POINT at = AlignRun(*found, face.Metrics(), reference.x, reference.y, width);
    gdi::DrawRun(*found, face, characters, advances, at.x, at.y, gdi::DrawingClip(*found));
    if (updatePosition) {
        UINT horizontal = found->textAlign & TA_CENTER;
        int moved = horizontal == TA_LEFT ? width : horizontal == TA_RIGHT ? -width : 0;
        found->currentPosition.x = static_cast<LONG>(std::clamp<long long>(
            static_cast<long long>(reference.x) + moved, -gdi::kLargestCoordinate, gdi::kLargestCoordinate));
    }
    return TRUE;
}

int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format) {
    GdiCall call("DrawTextA");
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (call.Failed() || !found || !found->font.object || rect == nullptr || !InRange(*rect) ||
        (text == nullptr && count != 0) || count < -1) {
        return 0;
    }
    std::size_t length = count == -1 ? std::strlen(text) : static_cast<std::size_t>(count);
    if (length == 0) {
        if (format & DT_CALCRECT) {
            *rect = RECT{rect->left, rect->top, rect->left, rect->top};
        }
        return 0;
    }
    gdi::FontFace& face = *found->font.object->face;
    const TEXTMETRICA& metrics = face.Metrics();
    std::vector<gdi::TextCharacter> characters =
        gdi::ReadCharacters(std::string_view(text, length), (format & DT_NOPREFIX) == 0);
    std::vector<int> advances = gdi::CharacterAdvances(*found, face, characters, false);
    std::vector<gdi::TextLineRange> lines =
        gdi::BreakLines(characters, advances, rect->right - rect->left, format);
    int lineHeight = metrics.tmHeight + ((format & DT_EXTERNALLEADING) ? metrics.tmExternalLeading : 0);
    long long height = static_cast<long long>(lines.size()) * lineHeight;
    int answer = static_cast<int>(std::min<long long>(height, gdi::kLargestCoordinate));
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const gdi::TextLineRange& line : lines) {
            widest = std::max(widest, line.width);
        }
        rect->right = rect->left + widest;
        rect->bottom = rect->top + answer;
        return answer;
    }
    RECT clip = gdi::DrawingClip(*found);
    if (!(format & DT_NOCLIP)) {
        clip = IntersectRects(clip, *rect);
    }
    long long top = rect->top;
    for (const gdi::TextLineRange& line : lines) {
        if (top > gdi::kLargestCoordinate || ((format & DT_EDITCONTROL) && top + lineHeight > rect->bottom)) {
            break;
        }
        std::span<const gdi::TextCharacter> run(characters.data() + line.begin, line.end - line.begin);
        std::span<const int> runAdvances(advances.data() + line.begin, line.end - line.begin);
        gdi::DrawRun(*found, face, run, runAdvances, LineLeft(*rect, line.width, format),
                     static_cast<int>(top), clip);
        top += lineHeight;
    }
    return answer;
}

} // namespace win32
