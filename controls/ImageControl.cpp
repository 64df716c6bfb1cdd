#include "controls/ImageControl.h"

#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/screen/ControlManager.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum MessageWord : unsigned { kBitmap, kClear, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words =
        new KeywordIds<unsigned>({{"Bitmap", kBitmap}, {"Clear", kClear}}, kOther);
    return *words;
}

constexpr int kPointerCursor = 1;
constexpr int kCopyMode = 3;
const Vemo::Size kSizeFromBitmap(-1, -1);

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

const Vemo::String& PositionKey() {
    static const Vemo::String* const key = new Vemo::String("Position");
    return *key;
}

Vemo::Size SourceSize(const Bitmap& bitmap) {
    const Vemo::Rect source = bitmap.GetClipRect();
    return Vemo::Size(source.right - source.left, source.bottom - source.top);
}

// The coordinate of the picture under a coordinate of the control that the picture is stretched over.
std::int32_t Scaled(std::int32_t at, std::int32_t sourceExtent, std::int32_t controlExtent) {
    if (controlExtent == 0) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<std::int64_t>(at) * sourceExtent / controlExtent);
}

const MessengerFactory::Registrar g_registrar(ImageControl::ClassWord(), &ImageControl::Create);

} // namespace

ImageControl::ImageControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

ImageControl::~ImageControl() {
    delete m_bitmap;
    m_bitmap = nullptr;
    m_bitmapSpec.Clear();
    InvalidateWhenShown(nullptr);
}

const Vemo::String& ImageControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ImageControl");
    return *word;
}

Vemo::String ImageControl::GetClassName() const {
    return ClassWord();
}

Messenger* ImageControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<ImageControl>(name, owner, script);
}

bool ImageControl::ReadScript() {
    return Control::ReadScript() || Fail();
}

void ImageControl::InvalidateWhenShown(const Vemo::Rect* part) {
    if (GetManager() != nullptr && IsShown()) {
        GetManager()->InvalidateControl(this, part);
    }
}

bool ImageControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return Fail();
    }
    const Vemo::BasicArray<Fragment>* bitmap = nullptr;
    if (GetScript() == nullptr ||
        !GetScript()->GetFragments(GetSectionName(), Vemo::String("Bitmap"), bitmap)) {
        return true;
    }
    const Vemo::Point position = GetPosition();
    const Vemo::Size size = GetSize();
    const bool sized = size.width != 0 || size.height != 0;
    return SetBitmap(FragmentStream(*bitmap), &position, sized ? &size : nullptr) || Fail();
}

bool ImageControl::HandleMessage(const Fragment& message, Messenger* sender) {
    switch (MessageWords()[message.GetText()]) {
    case kBitmap: {
        const Vemo::Point position = GetPosition();
        const Vemo::Size size = GetSize();
        return SetBitmap(FragmentStream(message.GetChildren()), &position, &size);
    }
    case kClear:
        return Clear();
    default:
        return Control::HandleMessage(message, sender);
    }
}

bool ImageControl::Clear() {
    delete m_bitmap;
    m_bitmap = nullptr;
    m_bitmapSpec.Clear();
    InvalidateWhenShown(nullptr);
    return true;
}

bool ImageControl::SetBitmap(const FragmentStream& spec, const Vemo::Point* position,
                             const Vemo::Size* size) {
    m_bitmapSpec.Clear();
    FragmentStream(spec) >> m_bitmapSpec;
    Vemo::Size extent = size != nullptr ? *size : kSizeFromBitmap;
    if (IsEffectivelyActive()) {
        if (!LoadBitmap(FragmentStream(m_bitmapSpec))) {
            return Fail();
        }
        InvalidateWhenShown(nullptr);
        if (size == nullptr) {
            extent = SourceSize(*m_bitmap);
        }
    }
    const Vemo::Point at = position != nullptr ? *position : GetPosition();
    Vemo::Rect rectangle;
    if (!RectFromExtents(at.x, at.y, extent.width, extent.height, rectangle)) {
        return RefuseKeyValue(GetScript(), GetSectionName(), PositionKey());
    }
    return SetRectangle(rectangle);
}

bool ImageControl::LoadBitmap(const FragmentStream& spec) {
    ReleaseBitmap();
    auto* bitmap = new Bitmap();
    FragmentStream value(spec);
    const Vemo::PixelFormat* format =
        GetManager() != nullptr ? &GetManager()->GetDisplayPixelFormat() : nullptr;
    if (!bitmap->Configure(value, format, 0, nullptr, nullptr)) {
        delete bitmap;
        return Fail();
    }
    m_bitmap = bitmap;
    m_transparentPixel =
        bitmap->HasTransparentColor() ? bitmap->ColorToPixel(bitmap->GetTransparentColor()) : 0;
    SetTransparent(bitmap->HasTransparentColor());
    return true;
}

bool ImageControl::LoadFromSpec() {
    if (m_bitmap != nullptr || m_bitmapSpec.Empty()) {
        return true;
    }
    if (!LoadBitmap(FragmentStream(m_bitmapSpec))) {
        return Fail();
    }
    const Vemo::Size size = GetSize();
    if (size.width == kSizeFromBitmap.width && size.height == kSizeFromBitmap.height) {
        const Vemo::Point at = GetPosition();
        const Vemo::Size source = SourceSize(*m_bitmap);
        Vemo::Rect rectangle;
        if (!RectFromExtents(at.x, at.y, source.width, source.height, rectangle)) {
            ReleaseBitmap();
            return RefuseKeyValue(GetScript(), GetSectionName(), PositionKey());
        }
        SetSize(source);
    }
    return true;
}

void ImageControl::ReleaseBitmap() {
    delete m_bitmap;
    m_bitmap = nullptr;
}

void ImageControl::Draw(const Vemo::Rect& localPart) {
    if (m_bitmap == nullptr) {
        FillRect(localPart, std::uint32_t{0}, true, kCopyMode);
        return;
    }
    const Vemo::Size size = GetSize();
    const Vemo::Size source = SourceSize(*m_bitmap);
    DrawGraphicInRect(Vemo::Rect(0, 0, size.width, size.height), *m_bitmap,
                      Vemo::Rect(0, 0, source.width, source.height), kCopyMode);
}

bool ImageControl::ContainsPoint(const Vemo::Point& local) {
    if (m_bitmap == nullptr || !IsTransparent()) {
        return true;
    }
    const Vemo::Rect source = m_bitmap->GetClipRect();
    const Vemo::Size size = GetSize();
    const Vemo::Point at(source.left + Scaled(local.x, source.right - source.left, size.width),
                         source.top + Scaled(local.y, source.bottom - source.top, size.height));
    return m_bitmap->GetPixel(at) != m_transparentPixel;
}

bool ImageControl::OnActivated() {
    return LoadFromSpec();
}

void ImageControl::OnDeactivated() {
    ReleaseBitmap();
}

bool ImageControl::Prepare() {
    if (GetManager() == nullptr) {
        ReleaseBitmap();
        return true;
    }
    if (!IsEffectivelyActive()) {
        return true;
    }
    ReleaseBitmap();
    return LoadFromSpec();
}

void ImageControl::PointerIfInside() {
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, true);
    }
}

void ImageControl::OnEnabled() {
    Control::OnEnabled();
    PointerIfInside();
}

void ImageControl::OnDisabled() {
    Control::OnDisabled();
    PointerIfInside();
}

void ImageControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    QueueCursorState(kPointerCursor, true);
}

void ImageControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    QueueCursorState(kPointerCursor, true);
}
