#include "engines/graphics/GraphicHandle.h"

#include "engines/graphics/Clipping.h"
#include "engines/graphics/FrontEndList.h"
#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/BlitEffect.h"
#include "engines/image/effects/BresenhamCircleEffect.h"
#include "engines/image/effects/BresenhamLineEffect.h"
#include "engines/image/effects/HorizontalLineEffect.h"
#include "engines/image/effects/VerticalLineEffect.h"
#include "resources/error/Error.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace Vemo {

namespace {

constexpr std::uint32_t kReplaceMode = 3;

// The coordinates of the axis lines are signed numbers carried in unsigned words.
std::int32_t Signed(std::uint32_t coordinate) {
    return static_cast<std::int32_t>(coordinate);
}

// A record's shift is below 32 whenever it came from a mask; any other count gives 0 rather than undefined
// behaviour.
std::uint32_t ShiftedLeft(std::uint32_t value, std::uint32_t shift) {
    return shift < 32 ? value << shift : 0;
}

std::uint32_t ShiftedRight(std::uint32_t value, std::uint32_t shift) {
    return shift < 32 ? value >> shift : 0;
}

std::uint32_t Unsigned(std::int64_t coordinate) {
    return static_cast<std::uint32_t>(coordinate);
}

std::int64_t Extent(std::int32_t low, std::int32_t high) {
    return std::int64_t{high} - low;
}

// The span [low, high] of a line, ends ordered and cut to the clip rectangle's [first, end - 1]; false when
// nothing is left.
bool ClipSpan(std::uint32_t& low, std::uint32_t& high, std::int32_t first, std::int32_t end) {
    std::int64_t from = Signed(low);
    std::int64_t to = Signed(high);
    if (from > to) {
        std::swap(from, to);
    }
    from = std::max<std::int64_t>(from, first);
    to = std::min<std::int64_t>(to, std::int64_t{end} - 1);
    low = Unsigned(from);
    high = Unsigned(to);
    return from <= to;
}

} // namespace

GraphicHandle::GraphicHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

GraphicHandle::~GraphicHandle() = default;

bool GraphicHandle::IsAvailable() {
    return false;
}

bool GraphicHandle::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    return true;
}

bool GraphicHandle::SetClipRect(const Rect& rect) {
    m_clipRect.Set(std::max(0, rect.left), std::max(0, rect.top), std::min(rect.right, m_width),
                   std::min(rect.bottom, m_height));
    return !m_clipRect.IsEmpty();
}

bool GraphicHandle::SetForegroundColor(const Color& color) {
    return SetForegroundPixel(PixelFromColor(color));
}

Color GraphicHandle::GetForegroundColor() {
    return ColorFromPixel(m_foregroundPixel);
}

bool GraphicHandle::SetForegroundPixel(std::uint32_t pixel) {
    m_foregroundPixel = pixel;
    return true;
}

bool GraphicHandle::SetFilled(bool filled) {
    m_filled = filled;
    return true;
}

bool GraphicHandle::SetColorKeyEnabled(bool enabled) {
    m_colorKeyEnabled = enabled;
    return true;
}

bool GraphicHandle::SetColorKey(const Color& color) {
    return SetColorKeyPixel(PixelFromColor(color));
}

Color GraphicHandle::GetColorKey() {
    return ColorFromPixel(m_colorKeyPixel);
}

bool GraphicHandle::SetColorKeyPixel(std::uint32_t pixel) {
    m_colorKeyPixel = pixel;
    return true;
}

bool GraphicHandle::SetBlitMode(std::uint32_t mode) {
    m_blitMode = mode;
    return true;
}

bool GraphicHandle::SetDrawMode(std::uint32_t mode) {
    m_drawMode = mode;
    return true;
}

bool GraphicHandle::HasBlitter() {
    return false;
}

bool GraphicHandle::HasAlphaBlitter() {
    return false;
}

bool GraphicHandle::BlitScaled(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                               std::uint32_t mode) {
    if (Extent(destination.left, destination.right) == Extent(sourceRect.left, sourceRect.right) &&
        Extent(destination.top, destination.bottom) == Extent(sourceRect.top, sourceRect.bottom)) {
        return Blit(Point(destination.left, destination.top), source, sourceRect, mode);
    }
    if (m_readOnly || source == nullptr) {
        return false;
    }
    Rect clippedDestination = destination;
    Rect clippedSource = sourceRect;
    if (!ClipScaledBlitToSize(clippedDestination, clippedSource, source->GetSize()) ||
        !ClipScaledBlitToRect(clippedDestination, clippedSource, m_clipRect)) {
        return true;
    }
    return BlitImpl(clippedDestination, source, clippedSource, mode);
}

bool GraphicHandle::BlitScaled(const Rect& destination, GraphicHandle* source, std::uint32_t mode) {
    if (source == nullptr) {
        return false;
    }
    if (source->m_width < 1 || source->m_height < 1) {
        return true;
    }
    return BlitScaled(destination, source, Rect(Point(0, 0), source->GetSize()), mode);
}

bool GraphicHandle::Blit(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                         std::uint32_t mode) {
    if (m_readOnly || source == nullptr) {
        return false;
    }
    Point clippedDestination = destination;
    Rect clippedSource = sourceRect;
    if (!ClipBlitToSize(clippedDestination, clippedSource, source->GetSize()) ||
        !ClipBlitToRect(clippedDestination, clippedSource, m_clipRect)) {
        return true;
    }
    return BlitRectImpl(clippedDestination, source, clippedSource, mode);
}

bool GraphicHandle::Blit(const Point& destination, GraphicHandle* source, std::uint32_t mode) {
    if (source == nullptr) {
        return false;
    }
    if (source->m_width < 1 || source->m_height < 1) {
        return true;
    }
    return Blit(destination, source, Rect(Point(0, 0), source->GetSize()), mode);
}

bool GraphicHandle::Clear() {
    if (m_readOnly) {
        return false;
    }
    m_clipRect.Set(0, 0, m_width, m_height);
    return ClearImpl();
}

bool GraphicHandle::DrawLine(const Point& from, const Point& to, std::uint32_t pixel, std::uint32_t mode) {
    if (from.y == to.y) {
        return DrawHorizontalLine(Unsigned(from.x), Unsigned(to.x), Unsigned(from.y), pixel, mode);
    }
    if (from.x == to.x) {
        return DrawVerticalLine(Unsigned(from.x), Unsigned(from.y), Unsigned(to.y), pixel, mode);
    }
    if (m_readOnly) {
        return false;
    }
    Point clippedFrom = from;
    Point clippedTo = to;
    if (!ClipLineToBox(clippedFrom, clippedTo, m_clipRect)) {
        return true;
    }
    return DrawLineImpl(clippedFrom, clippedTo, pixel, mode);
}

bool GraphicHandle::DrawLine(const Point& from, const Point& to, const Color& color, std::uint32_t mode) {
    return DrawLine(from, to, PixelFromColor(color), mode);
}

bool GraphicHandle::DrawLine(const Point& from, const Point& to) {
    return DrawLine(from, to, m_foregroundPixel, m_drawMode);
}

bool GraphicHandle::DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y,
                                       std::uint32_t pixel, std::uint32_t mode) {
    if (m_readOnly) {
        return false;
    }
    if (Signed(y) < m_clipRect.top || Signed(y) >= m_clipRect.bottom ||
        !ClipSpan(x1, x2, m_clipRect.left, m_clipRect.right)) {
        return true;
    }
    return DrawHorizontalLineImpl(x1, x2, y, pixel, mode);
}

bool GraphicHandle::DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y,
                                       const Color& color, std::uint32_t mode) {
    return DrawHorizontalLine(x1, x2, y, PixelFromColor(color), mode);
}

bool GraphicHandle::DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y) {
    return DrawHorizontalLine(x1, x2, y, m_foregroundPixel, m_drawMode);
}

bool GraphicHandle::DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, std::uint32_t pixel,
                                     std::uint32_t mode) {
    if (m_readOnly) {
        return false;
    }
    if (Signed(x) < m_clipRect.left || Signed(x) >= m_clipRect.right ||
        !ClipSpan(y1, y2, m_clipRect.top, m_clipRect.bottom)) {
        return true;
    }
    return DrawVerticalLineImpl(x, y1, y2, pixel, mode);
}

bool GraphicHandle::DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, const Color& color,
                                     std::uint32_t mode) {
    return DrawVerticalLine(x, y1, y2, PixelFromColor(color), mode);
}

bool GraphicHandle::DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2) {
    return DrawVerticalLine(x, y1, y2, m_foregroundPixel, m_drawMode);
}

bool GraphicHandle::FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) {
    if (m_readOnly) {
        return false;
    }
    return FillRectImpl(rect, pixel, filled, mode);
}

bool GraphicHandle::FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) {
    return FillRect(rect, PixelFromColor(color), filled, mode);
}

bool GraphicHandle::FillRect(const Rect& rect) {
    return FillRect(rect, m_foregroundPixel, m_filled, m_drawMode);
}

bool GraphicHandle::DrawCircle(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                               std::uint32_t mode) {
    if (m_readOnly) {
        return false;
    }
    return DrawCircleImpl(centre, radius, pixel, filled, mode);
}

bool GraphicHandle::DrawCircle(const Point& centre, std::int32_t radius, const Color& color, bool filled,
                               std::uint32_t mode) {
    return DrawCircle(centre, radius, PixelFromColor(color), filled, mode);
}

bool GraphicHandle::DrawCircle(const Point& centre, std::int32_t radius) {
    return DrawCircle(centre, radius, m_foregroundPixel, m_filled, m_drawMode);
}

bool GraphicHandle::ReservedRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) {
    if (m_readOnly) {
        return false;
    }
    return ReservedRectImpl(rect, pixel, filled, mode);
}

bool GraphicHandle::ReservedRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) {
    return ReservedRect(rect, PixelFromColor(color), filled, mode);
}

bool GraphicHandle::ReservedRect(const Rect& rect) {
    return ReservedRect(rect, m_foregroundPixel, m_filled, m_drawMode);
}

std::uint32_t GraphicHandle::ColorToPixel(const Color& color) {
    return ColorToPixelImpl(color.ConvertTo(m_colorTag));
}

std::uint32_t GraphicHandle::ColorToPixelImpl(PixelValue color) {
    if (!IsPalettized()) {
        return m_pixelFormat.PackColor(color);
    }
    std::uint32_t nearest = 0;
    std::uint32_t nearestDistance = 0xFFFFFFFF;
    for (std::uint32_t index = 0; index < m_pixelFormat.colorCount; ++index) {
        const PixelValue entry = GetPaletteEntryImpl(index);
        if (entry.Rgb() == color.Rgb()) {
            return index;
        }
        const int red = entry.Red() - color.Red();
        const int green = entry.Green() - color.Green();
        const int blue = entry.Blue() - color.Blue();
        const auto distance = static_cast<std::uint32_t>(red * red + green * green + blue * blue);
        if (distance < nearestDistance) {
            nearest = index;
            nearestDistance = distance;
        }
    }
    return nearest;
}

Color GraphicHandle::NearestColor(const Color& color) {
    return ColorFromPixel(ColorToPixel(color));
}

bool GraphicHandle::SetPaletteEntry(const Color& color, std::uint32_t index) {
    return SetPaletteEntryImpl(color.ConvertTo(m_colorTag), index);
}

Color GraphicHandle::GetPaletteEntry(std::uint32_t index) {
    return Color(GetPaletteEntryImpl(index), m_colorTag);
}

bool GraphicHandle::SetPaletteEntryImpl(PixelValue, std::uint32_t) {
    return false;
}

PixelValue GraphicHandle::GetPaletteEntryImpl(std::uint32_t) {
    return PixelValue();
}

bool GraphicHandle::SetPixel(const Color& color, const Point& point) {
    return SetPixel(PixelFromColor(color), point);
}

Color GraphicHandle::GetPixelColor(const Point& point) {
    return ColorFromPixel(GetPixel(point));
}

bool GraphicHandle::SetPixel(std::uint32_t pixel, const Point& point) {
    if (m_readOnly) {
        return false;
    }
    if (!IsInClipRect(point)) {
        return true;
    }
    return SetPixelImpl(pixel, point);
}

std::uint32_t GraphicHandle::GetPixel(const Point& point) {
    if (!IsInClipRect(point)) {
        return 0;
    }
    return GetPixelImpl(point);
}

bool GraphicHandle::PlotPixel(std::uint32_t pixel, const Point& point, std::uint32_t mode) {
    if (m_readOnly) {
        return false;
    }
    if (!IsInClipRect(point)) {
        return true;
    }
    return PlotPixelImpl(pixel, point, mode);
}

bool GraphicHandle::SetAlpha(std::uint32_t alpha, const Point& point) {
    if (m_alphaGraphic != nullptr) {
        return m_alphaGraphic->SetPixel(alpha, point);
    }
    if (IsPalettized() || m_pixelFormat.extra.IsEmpty() || m_readOnly) {
        return false;
    }
    const bool locked = Lock();
    const std::uint32_t mask = m_pixelFormat.alphaMask;
    const std::uint32_t pixel =
        (GetPixel(point) & ~mask) | (ShiftedLeft(alpha, m_pixelFormat.alphaShift) & mask);
    const bool written = SetPixel(pixel, point);
    if (locked) {
        Unlock();
    }
    return written;
}

std::uint32_t GraphicHandle::GetAlpha(const Point& point) {
    if (m_alphaGraphic != nullptr) {
        return m_alphaGraphic->GetPixel(point);
    }
    if (IsPalettized() || m_pixelFormat.extra.IsEmpty()) {
        return 0;
    }
    return ShiftedRight(GetPixel(point) & m_pixelFormat.alphaMask, m_pixelFormat.alphaShift);
}

bool GraphicHandle::SetAlphaGraphic(Graphic*, std::uint32_t) {
    return false;
}

bool GraphicHandle::ClearAlphaGraphic(Graphic*) {
    return false;
}

Graphic* GraphicHandle::GetAlphaGraphic(std::uint32_t* info) {
    if (info != nullptr) {
        *info = m_alphaGraphicInfo;
    }
    return m_alphaGraphic;
}

bool GraphicHandle::Lock() {
    return false;
}

bool GraphicHandle::Unlock() {
    return false;
}

bool GraphicHandle::IsLocked() {
    return m_lockCount != 0;
}

bool GraphicHandle::IsLost() {
    return false;
}

bool GraphicHandle::Restore() {
    return false;
}

void GraphicHandle::NotifyGraphics(GraphicEvent& event) {
    VisitAttached(m_graphics, [&event](Graphic& graphic) { graphic.HandleEvent(event); });
}

bool GraphicHandle::ClearImpl() {
    return FillRect(Rect(0, 0, m_width, m_height), Color(PixelValue(), 1), true, kReplaceMode);
}

bool GraphicHandle::FillRectImpl(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) {
    if (!Lock()) {
        return false;
    }
    bool drawn = true;
    if (filled) {
        Rect cut;
        rect.Intersect(cut, m_clipRect);
        drawn = !cut.IsEmpty();
        for (std::int32_t y = cut.top; drawn && y < cut.bottom; ++y) {
            drawn = DrawHorizontalLineImpl(Unsigned(cut.left), Unsigned(std::int64_t{cut.right} - 1),
                                           Unsigned(y), pixel, mode);
        }
    } else {
        const std::int64_t height = Extent(rect.top, rect.bottom);
        const std::uint32_t left = Unsigned(rect.left);
        const std::uint32_t right = Unsigned(rect.right);
        if (height != 0) {
            if (height != 1) {
                const std::uint32_t top = Unsigned(std::int64_t{rect.top} + 1);
                const std::uint32_t bottom = Unsigned(std::int64_t{rect.bottom} - 1);
                drawn = DrawVerticalLine(left, top, bottom, pixel, mode);
                if (drawn && Extent(rect.left, rect.right) > 1) {
                    drawn = DrawVerticalLine(right, top, bottom, pixel, mode);
                }
            }
            drawn = drawn && DrawHorizontalLine(left, right, Unsigned(rect.bottom), pixel, mode);
        }
        drawn = drawn && DrawHorizontalLine(left, right, Unsigned(rect.top), pixel, mode);
    }
    Unlock();
    return drawn;
}

bool GraphicHandle::ReservedRectImpl(const Rect&, std::uint32_t, bool, std::uint32_t) {
    return false;
}

bool GraphicHandle::SetPixelImpl(std::uint32_t pixel, const Point& point) {
    if (m_lost != 0 || !Lock()) {
        return false;
    }
    std::uint8_t* pixels = GetLockedPixels();
    const std::int32_t pitch = pixels != nullptr ? GetLockedPitch() : 0;
    if (pitch != 0) {
        WritePixel(pixels + static_cast<std::ptrdiff_t>(pitch) * point.y, Unsigned(point.x),
                   m_pixelFormat.depth, pixel);
    }
    Unlock();
    return pitch != 0;
}

std::uint32_t GraphicHandle::GetPixelImpl(const Point& point) {
    if (m_lost != 0 || !Lock()) {
        return 0;
    }
    const std::uint8_t* pixels = GetLockedPixels();
    const std::int32_t pitch = pixels != nullptr ? GetLockedPitch() : 0;
    const std::uint32_t pixel = pitch != 0 ? ReadPixel(pixels + static_cast<std::ptrdiff_t>(pitch) * point.y,
                                                       Unsigned(point.x), m_pixelFormat.depth)
                                           : 0;
    Unlock();
    return pixel;
}

bool GraphicHandle::PlotPixelImpl(std::uint32_t pixel, const Point& point, std::uint32_t mode) {
    if (!Lock()) {
        return false;
    }
    SetPixelImpl(mode == kReplaceMode ? pixel : GetPixelImpl(point), point);
    Unlock();
    return true;
}

std::int32_t GraphicHandle::GetLockedPitch() const {
    if (m_pitch == 0) {
        RaiseError(GraphicSystemErrNoPixelMemory);
    }
    return m_pitch;
}

std::uint8_t* GraphicHandle::GetLockedPixels() const {
    if (m_pixels == nullptr) {
        RaiseError(GraphicSystemErrNoPixelMemory);
    }
    return m_pixels;
}

std::uint32_t GraphicHandle::PixelFromColor(const Color& color) {
    if (IsPalettized()) {
        return ColorToPixel(color);
    }
    return m_pixelFormat.PackColor(color.ConvertTo(m_colorTag));
}

Color GraphicHandle::ColorFromPixel(std::uint32_t pixel) {
    if (IsPalettized()) {
        return GetPaletteEntry(pixel);
    }
    return Color(m_pixelFormat.UnpackPixel(pixel), m_colorTag);
}

bool GraphicHandle::IsInClipRect(const Point& point) const {
    return point.x >= m_clipRect.left && point.x < m_clipRect.right && point.y >= m_clipRect.top &&
           point.y < m_clipRect.bottom;
}

// The pixel work that the effects do: each builds its effect, which chooses the routine, and runs it (see
// RoutineEffect::RunIfSet).

bool GraphicHandle::BlitImpl(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                             std::uint32_t mode) {
    BlitEffect effect(this, source);
    return effect.RunIfSet(effect.SetRectToRect(destination, sourceRect, static_cast<RasterOp>(mode)));
}

bool GraphicHandle::BlitRectImpl(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                                 std::uint32_t mode) {
    BlitEffect effect(this, source);
    return effect.RunIfSet(effect.Set(destination, sourceRect, static_cast<RasterOp>(mode)));
}

bool GraphicHandle::DrawLineImpl(const Point& from, const Point& to, std::uint32_t pixel,
                                 std::uint32_t mode) {
    BresenhamLineEffect effect(this);
    return effect.RunIfSet(effect.Set(from, to, pixel, static_cast<RasterOp>(mode)));
}

bool GraphicHandle::DrawHorizontalLineImpl(std::uint32_t x1, std::uint32_t x2, std::uint32_t y,
                                           std::uint32_t pixel, std::uint32_t mode) {
    HorizontalLineEffect effect(this);
    return effect.RunIfSet(effect.Set(Signed(x1), Signed(x2), Signed(y), pixel, static_cast<RasterOp>(mode)));
}

bool GraphicHandle::DrawVerticalLineImpl(std::uint32_t x, std::uint32_t y1, std::uint32_t y2,
                                         std::uint32_t pixel, std::uint32_t mode) {
    VerticalLineEffect effect(this);
    return effect.RunIfSet(effect.Set(Signed(x), Signed(y1), Signed(y2), pixel, static_cast<RasterOp>(mode)));
}

bool GraphicHandle::DrawCircleImpl(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                                   std::uint32_t mode) {
    BresenhamCircleEffect effect(this);
    return effect.RunIfSet(effect.Set(centre, radius, pixel, filled, static_cast<RasterOp>(mode)));
}

} // namespace Vemo
