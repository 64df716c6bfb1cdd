#include "runtime/pictures/BitmapCache.h"

#include "engines/image/ImageContainer.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "runtime/ApplicationServices.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/pictures/BitmapCacheTimer.h"
#include "script/Messenger.h"

BitmapCache::Record::Record(const Vemo::String& key) : path(key) {}

BitmapCache::Record::~Record() {
    delete container;
}

bool BitmapCache::RecordLess::operator()(const Record* a, const Record* b) const {
    return Vemo::CompareNoCase(a->path.CStr(), b->path.CStr()) < 0;
}

BitmapCache::BitmapCache() = default;

BitmapCache::~BitmapCache() {
    delete m_timer;
    m_timer = nullptr;
    for (Record* record : m_records) {
        delete record;
    }
    m_records.Clear();
    m_idleRecords.Clear();
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

void BitmapCache::PurgeIdle() {
    while (!m_idleRecords.Empty()) {
        Forget(m_idleRecords.Front());
    }
}

BitmapCache::Record* BitmapCache::FindRecord(const Vemo::String& key, const Vemo::PixelFormat* format,
                                             unsigned memoryClass) {
    Record probe(key);
    auto fits = [&](const Record* record) {
        return (memoryClass == 0 || memoryClass == record->memoryClass) &&
               (format == nullptr || format->extra == record->format.extra);
    };
    auto first = m_records.LowerBound(&probe);
    const auto last = m_records.UpperBound(&probe);
    for (; first != last; ++first) {
        if (fits(*first)) {
            return *first;
        }
    }
    return nullptr;
}

bool BitmapCache::Acquire(const Vemo::Path& path, Bitmap& bitmap, const Vemo::PixelFormat* format,
                          unsigned memoryClass, unsigned char memoryKind, const Vemo::Color* transparent) {
    Vemo::String key;
    path.GetText(key, true, false);
    if (Record* record = FindRecord(key, format, memoryClass)) {
        if (!record->container->GetGraphic(bitmap)) {
            RaiseError(Messenger::kErrorSettings);
            return false;
        }
        bitmap.SetCacheRecord(this, record);
        AddReference(record);
        return true;
    }

    auto* record = new Record(key);
    record->container = new Vemo::ImageContainer;
    const bool opened = format != nullptr
                            ? record->container->Open(path, format, memoryClass, 0, nullptr)
                            : record->container->Open(path, memoryClass, memoryKind, transparent);
    if (!opened) {
        ReportUnreadableFile(path);
    }
    if (!opened || !record->container->GetGraphic(bitmap)) {
        delete record;
        RaiseError(Messenger::kErrorSettings);
        return false;
    }
    record->memoryClass = bitmap.GetPlacement();
    record->format = bitmap.GetPixelFormat();
    if (transparent != nullptr) {
        bitmap.SetTransparentColor(*transparent);
    }
    record->count = 1;
    m_records.Insert(record);
    bitmap.SetCacheRecord(this, record);
    return true;
}

bool BitmapCache::AcquireByName(const Fragment& name, Bitmap& bitmap, const Vemo::PixelFormat* format,
                                unsigned memoryClass, unsigned char memoryKind,
                                const Vemo::Color* transparent) {
    ApplicationServices* application = ApplicationServices::Current();
    Vemo::Path path;
    if (application == nullptr || !application->FindFile(name, path, true)) {
        RaiseError(Messenger::kErrorSettings);
        return false;
    }
    return Acquire(path, bitmap, format, memoryClass, memoryKind, transparent);
}

void BitmapCache::AddReference(Record* record) {
    if (record->count++ == 0) {
        m_idleRecords.Remove(record);
        record->timeToLive = 0;
    }
}

void BitmapCache::Release(Record* record) {
    if (record->count > 0 && --record->count == 0) {
        record->timeToLive = kIdleSeconds;
        m_idleRecords.PushBack(record);
    }
    if (m_timer != nullptr && !m_timer->IsRunning()) {
        m_timer->Start();
    }
}

void BitmapCache::Tick(std::int32_t n) {
    for (auto it = m_idleRecords.begin(); it != m_idleRecords.end();) {
        Record* record = *it++;
        record->timeToLive -= n;
        if (record->timeToLive <= 0) {
            Forget(record);
        }
    }
    if (m_idleRecords.Empty() && m_timer != nullptr) {
        m_timer->Stop();
    }
}

void BitmapCache::Forget(Record* record) {
    auto first = m_records.LowerBound(record);
    const auto last = m_records.UpperBound(record);
    for (; first != last; ++first) {
        if (*first == record) {
            m_records.Erase(first);
            break;
        }
    }
    m_idleRecords.Remove(record);
    delete record;
}
