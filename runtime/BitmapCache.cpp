#include "runtime/BitmapCache.h"

#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorFacilities.h"
#include "runtime/BitmapCacheTimer.h"
#include "script/Messenger.h"

BitmapCache::BitmapCache() = default;

BitmapCache::~BitmapCache() {
    delete m_timer;
}

bool BitmapCache::Initialize() {
    delete m_timer;
    m_timer = new BitmapCacheTimer(this);
    if (!m_timer->Open(Vemo::TimerSystem::Standard, 1, Vemo::TimerSystem::Second, Vemo::kTimerTypeId)) {
        RaiseError(Messenger::kErrorSettings);
        return false;
    }
    return true;
}

void BitmapCache::PurgeIdle() {}

void BitmapCache::Tick(std::int32_t) {
    // No image waits to be forgotten.
    m_timer->Stop();
}
