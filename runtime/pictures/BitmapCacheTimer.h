// The bitmap cache's eviction timer: every whole second it counts goes to the cache as it comes.
#pragma once

#include "engines/timing/Timer.h"

class BitmapCache;

class BitmapCacheTimer : public Vemo::Timer {
public:
    explicit BitmapCacheTimer(BitmapCache* cache);

    // Counts the ticks, then hands them to the cache.
    std::int32_t AddTicks(std::int32_t n) override;

private:
    BitmapCache* m_cache;
};
