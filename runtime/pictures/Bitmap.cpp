#include "runtime/pictures/Bitmap.h"

#include "resources/error/Error.h"
#include "runtime/ApplicationServices.h"
#include "script/Fragment.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/Messenger.h"

namespace {

enum OptionWord : unsigned { kOptionUnknown, kOptionTransparentColor, kOptionMemory, kOptionRect };

const KeywordIds<unsigned>& OptionWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {{"TransparentColor", kOptionTransparentColor}, {"Memory", kOptionMemory}, {"Rect", kOptionRect}},
        kOptionUnknown);
    return *words;
}

const KeywordIds<std::uint32_t>& MemoryWords() {
    static const KeywordIds<std::uint32_t>* const words =
        new KeywordIds<std::uint32_t>({{"Hardware", 1}, {"Accelerated", 2}, {"System", 3}}, 0);
    return *words;
}

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

} // namespace

Vemo::Color Bitmap::TransparentColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return Vemo::Color(Vemo::PixelValue((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16), 1);
}

Bitmap::ColorKeyScope::ColorKeyScope(Bitmap& bitmap)
    : m_bitmap(bitmap), m_key(bitmap.GetColorKey()), m_enabled(bitmap.IsColorKeyEnabled()) {
    if (bitmap.HasTransparentColor()) {
        bitmap.SetColorKey(bitmap.m_transparent);
    }
    bitmap.SetColorKeyEnabled(bitmap.HasTransparentColor());
}

Bitmap::ColorKeyScope::~ColorKeyScope() {
    m_bitmap.SetColorKey(m_key);
    m_bitmap.SetColorKeyEnabled(m_enabled);
}

Bitmap::Bitmap() = default;

Bitmap::~Bitmap() {
    ReleaseRecord();
}

void Bitmap::ReleaseRecord() {
    if (m_cache != nullptr && m_record != nullptr) {
        m_cache->Release(m_record);
    }
    m_cache = nullptr;
    m_record = nullptr;
}

void Bitmap::SetCacheRecord(BitmapCache* cache, BitmapCache::Record* record) {
    ReleaseRecord();
    m_cache = cache;
    m_record = record;
}

bool Bitmap::OpenOnGraphic(const Vemo::Graphic& other) {
    if (!Graphic::OpenOnGraphic(other)) {
        return false;
    }
    const auto* bitmap = dynamic_cast<const Bitmap*>(&other);
    if (bitmap == nullptr) {
        m_clip = Vemo::Rect(0, 0, GetWidth(), GetHeight());
        return true;
    }
    if (bitmap->m_cache != nullptr && bitmap->m_record != nullptr) {
        SetCacheRecord(bitmap->m_cache, bitmap->m_record);
        m_cache->AddReference(m_record);
    }
    m_clip = bitmap->m_clip;
    m_transparent = bitmap->m_transparent;
    m_hasTransparent = bitmap->m_hasTransparent;
    return true;
}

bool Bitmap::SetClipRect(const Vemo::Rect& rect) {
    if (!IsOpen()) {
        return Graphic::SetClipRect(rect);
    }
    m_clip = rect;
    return true;
}

Vemo::Rect Bitmap::GetClipRect() const {
    return m_clip;
}

void Bitmap::SetTransparentColor(const Vemo::Color& color) {
    m_transparent = color;
    m_hasTransparent = 1;
    SetColorKey(color);
    SetColorKeyEnabled(true);
}

bool Bitmap::Configure(FragmentStream& value, const Vemo::PixelFormat* format, unsigned memoryClass,
                       const unsigned char* memoryKind, const Vemo::Color* transparent) {
    const Fragment* name = nullptr;
    value >> name;
    if (name == nullptr) {
        return Fail();
    }
    Options options;
    options.memoryClass = memoryClass;
    options.memoryKind = memoryKind != nullptr ? *memoryKind : 0;
    if (transparent != nullptr) {
        options.transparent = *transparent;
        options.hasTransparent = 1;
    }
    const FragmentStream items = value;
    FragmentStream before = items;
    for (const Fragment* item = nullptr; before >> item, item != nullptr; item = nullptr) {
        if (!ParseOption(*item, options)) {
            return false;
        }
    }
    ApplicationServices* application = ApplicationServices::Current();
    BitmapCache* cache = application != nullptr ? application->GetBitmapCache() : nullptr;
    if (cache == nullptr) {
        return Fail();
    }
    if (!cache->AcquireByName(*name, *this, format, options.memoryClass, options.memoryKind,
                              options.hasTransparent != 0 ? &options.transparent : nullptr)) {
        return false;
    }
    m_clip = Vemo::Rect(0, 0, GetWidth(), GetHeight());
    if (options.hasTransparent != 0) {
        SetTransparentColor(options.transparent);
    }
    FragmentStream after = items;
    for (const Fragment* item = nullptr; after >> item, item != nullptr; item = nullptr) {
        if (!ApplyOption(*item)) {
            return false;
        }
    }
    return true;
}

bool Bitmap::ParseOption(const Fragment& item, Options& options) {
    FragmentStream arguments(item.GetChildren());
    switch (OptionWords()[item.GetText()]) {
    case kOptionTransparentColor:
        if (options.hasTransparent == 0) {
            std::uint32_t packed = 0;
            std::uint32_t flag = 0;
            arguments.ReadPackedBytes(packed, flag);
            if (flag != 0) {
                options.transparent = TransparentColor(packed, packed >> 8, packed >> 16);
                options.hasTransparent = 1;
            }
        }
        return true;
    case kOptionMemory:
        if (!arguments.AtEnd()) {
            SubString word;
            arguments >> word;
            options.memoryClass = MemoryWords()[word];
        }
        return true;
    case kOptionRect:
        return true;
    default:
        return Fail();
    }
}

bool Bitmap::ApplyOption(const Fragment& item) {
    switch (OptionWords()[item.GetText()]) {
    case kOptionTransparentColor:
    case kOptionMemory:
        return true;
    case kOptionRect: {
        Vemo::Rect requested;
        FragmentStream(item.GetChildren()) >> requested;
        const Vemo::Rect whole(0, 0, GetWidth(), GetHeight());
        if (requested.left == requested.right || requested.top == requested.bottom) {
            m_clip = whole;
            return true;
        }
        if (requested.left > requested.right || requested.top > requested.bottom) {
            return Fail();
        }
        requested.Intersect(m_clip, whole);
        return m_clip == requested || Fail();
    }
    default:
        return Fail();
    }
}
