// The application's cache of decoded images, shared by every bitmap that names the same file. An image that
// no bitmap uses any more stays for a few seconds, counted down by the cache's eviction timer, so that a
// screen left and entered again does not decode its pictures anew. The timer runs while an idle image waits.
//
// Images join the cache with the bitmaps that use them; here is the cache's life: made and initialised by the
// application at start-up, deleted at shut-down.
#pragma once

#include <cstdint>

class BitmapCacheTimer;

class BitmapCache {
public:
    BitmapCache();
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;
    // Deletes the timer.
    virtual ~BitmapCache();

    // Opens the eviction timer: standard precision, a period of one second. False (reported) when it cannot
    // be opened.
    virtual bool Initialize();
    // Forgets every idle image at once.
    virtual void PurgeIdle();

    // n seconds have passed: idle images count down; the timer stops once none waits.
    void Tick(std::int32_t n);

    BitmapCacheTimer* GetTimer() const { return m_timer; }

private:
    BitmapCacheTimer* m_timer = nullptr;
};
