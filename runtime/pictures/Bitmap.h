// The drawable image that scripts name: a graphic whose pixels come from an image file, decoded once by the
// application's bitmap cache and shared with every bitmap naming the same file. A script describes it by the
// image name followed by options in any order:
//
//     "TransparentColor"(r, g, b)   the colour drawn as transparent; the first one given wins
//     "Memory"(word)                "Hardware", "Accelerated" or "System"; another word: any memory
//     "Rect"(left, top, right, bottom)  the part of the image the bitmap shows
//
// Any other option word fails the bitmap. Subclasses add option words through ParseOption (before the image
// is loaded) and ApplyOption (after).
//
// Bitmaps of one file share one surface, so the part shown and the transparent colour are kept by each
// bitmap: the clip rectangle a bitmap reports is its own, and drawing sets the surface's colour key from the
// bitmap for the time of the blit.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/Graphic.h"
#include "engines/graphics/PixelFormat.h"
#include "foundation/Rect.h"
#include "runtime/pictures/BitmapCache.h"

#include <cstdint>

class Fragment;
class FragmentStream;

class Bitmap : public Vemo::Graphic {
public:
    struct Options {
        // 0 any, 1 "Hardware", 2 "Accelerated", 3 "System".
        std::uint32_t memoryClass = 0;
        std::uint8_t memoryKind = 0;
        Vemo::Color transparent;
        std::uint8_t hasTransparent = 0;
    };

    // The transparent colour of a script's (r, g, b).
    static Vemo::Color TransparentColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue);

    // For the time of a blit from the bitmap: the shared surface's colour key is the bitmap's transparent
    // colour, switched on, or switched off when the bitmap has none; the key and switch that were there
    // before come back at the end.
    class ColorKeyScope {
    public:
        explicit ColorKeyScope(Bitmap& bitmap);
        ~ColorKeyScope();
        ColorKeyScope(const ColorKeyScope&) = delete;
        ColorKeyScope& operator=(const ColorKeyScope&) = delete;

    private:
        Bitmap& m_bitmap;
        Vemo::Color m_key;
        bool m_enabled;
    };

    Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    // Gives the cached image back to the cache, which keeps it a few seconds when nobody else uses it.
    ~Bitmap() override;

    // Opened on another bitmap it shares that bitmap's cached image, part shown and transparent colour; on
    // any other graphic it shows the whole of it.
    bool OpenOnGraphic(const Vemo::Graphic& other) override;
    // The part of the image this bitmap shows; kept by the bitmap, not by the shared surface.
    bool SetClipRect(const Vemo::Rect& rect) override;
    Vemo::Rect GetClipRect() const override;

    // Loads the image that the value names, through the application's bitmap cache. memoryClass, memoryKind
    // and transparent are the defaults that the value's options may change; format, when given, is the pixel
    // format the image is converted to.
    virtual bool Configure(FragmentStream& value, const Vemo::PixelFormat* format, unsigned memoryClass,
                           const unsigned char* memoryKind, const Vemo::Color* transparent);
    // One option item before the load: "TransparentColor" and "Memory" change the options, "Rect" waits for
    // the load; any other word is refused.
    virtual bool ParseOption(const Fragment& item, Options& options);
    // One option item after the load: "Rect" chooses the part shown; the other words were taken before.
    virtual bool ApplyOption(const Fragment& item);

    // The cache's hold on its image, set by the cache when it hands the image over.
    void SetCacheRecord(BitmapCache* cache, BitmapCache::Record* record);
    BitmapCache* GetCache() const { return m_cache; }
    BitmapCache::Record* GetRecord() const { return m_record; }

    bool HasTransparentColor() const { return m_hasTransparent != 0; }
    // Meaningful only while HasTransparentColor.
    const Vemo::Color& GetTransparentColor() const { return m_transparent; }
    // Also makes it the surface's colour key, switched on.
    void SetTransparentColor(const Vemo::Color& color);

private:
    // Drops the cached image, if any.
    void ReleaseRecord();

    BitmapCache* m_cache = nullptr;
    BitmapCache::Record* m_record = nullptr;
    Vemo::Rect m_clip;
    Vemo::Color m_transparent;
    std::uint8_t m_hasTransparent = 0;
};
