#include "runtime/pictures/BitmapCacheTimer.h"

#include "runtime/pictures/BitmapCache.h"

BitmapCacheTimer::BitmapCacheTimer(BitmapCache* cache) : m_cache(cache) {}

std::int32_t BitmapCacheTimer::AddTicks(std::int32_t n) {
    const std::int32_t added = Timer::AddTicks(n);
    m_cache->Tick(n);
    return added;
}
