// The application's cache of decoded images, shared by every bitmap that names the same file. An image that
// no bitmap uses any more stays for five seconds, counted down by the cache's eviction timer, so that a
// screen left and entered again does not decode its pictures anew. The timer runs while an idle image waits.
//
// Images are found by their resolved path; one file may be cached more than once, for different memory
// classes or palettes. Made and initialised by the application at start-up, deleted at shut-down, after
// every bitmap. Main thread only: the timer's ticks come through the timer system's update.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/PixelFormat.h"
#include "foundation/BasicList.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"

#include <cstdint>

class Bitmap;
class BitmapCacheTimer;
class Fragment;

namespace Vemo {
class ImageContainer;
class Path;
} // namespace Vemo

class BitmapCache {
public:
    // Seconds an image nobody uses is kept.
    static constexpr std::int32_t kIdleSeconds = 5;

    struct Record {
        explicit Record(const Vemo::String& key);
        ~Record();
        Record(const Record&) = delete;
        Record& operator=(const Record&) = delete;

        std::uint32_t count = 0;
        Vemo::String path;
        Vemo::ImageContainer* container = nullptr;
        // As the loaded graphic reports them.
        std::uint32_t memoryClass = 0;
        Vemo::PixelFormat format;
        // Seconds left while idle.
        std::int32_t timeToLive = 0;
    };

    // By resolved path, without regard to case.
    struct RecordLess {
        bool operator()(const Record* a, const Record* b) const;
    };

    BitmapCache();
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;
    // Deletes the timer, then every image.
    virtual ~BitmapCache();

    // Opens the eviction timer: standard precision, a period of one second. False (reported) when it cannot
    // be opened.
    virtual bool Initialize();
    // Forgets every idle image at once.
    virtual void PurgeIdle();
    // Opens the bitmap on the image of the file, decoding it only when no cached image fits: memoryClass 0
    // takes any memory, format (when given) must have the cached image's palette. A new image is decoded
    // for format when given, else in memoryClass with memoryKind and transparent. Reported and false when
    // the file does not decode; nothing is cached then.
    virtual bool Acquire(const Vemo::Path& path, Bitmap& bitmap, const Vemo::PixelFormat* format,
                         unsigned memoryClass, unsigned char memoryKind, const Vemo::Color* transparent);
    // The same for a name found along the application's search order (a missing file is reported).
    virtual bool AcquireByName(const Fragment& name, Bitmap& bitmap, const Vemo::PixelFormat* format,
                               unsigned memoryClass, unsigned char memoryKind,
                               const Vemo::Color* transparent);

    // n seconds have passed: idle images count down and the expired ones go; the timer stops once none waits.
    void Tick(std::int32_t n);
    // One more bitmap holds the record.
    void AddReference(Record* record);
    // A bitmap lets go of the record; at no holder left it turns idle. The timer is started either way.
    void Release(Record* record);

    BitmapCacheTimer* GetTimer() const { return m_timer; }
    const Vemo::BasicMultiset<Record*, RecordLess>& GetRecords() const { return m_records; }
    const Vemo::BasicList<Record*>& GetIdleRecords() const { return m_idleRecords; }

private:
    // The cached record that fits, or null.
    Record* FindRecord(const Vemo::String& key, const Vemo::PixelFormat* format, unsigned memoryClass);
    // Takes the record out of both containers and destroys it.
    void Forget(Record* record);

    Vemo::BasicMultiset<Record*, RecordLess> m_records;
    Vemo::BasicList<Record*> m_idleRecords;
    BitmapCacheTimer* m_timer = nullptr;
};
