#include "runtime/fonts/MessengerBitmapFont.h"

#include "engines/graphics/Viewport.h"
#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "runtime/pictures/Bitmap.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <utility>

namespace {

const MessengerFactory::Registrar g_bitmapFontRegistrar(MessengerBitmapFont::ClassWord(),
                                                        &MessengerBitmapFont::Create);

constexpr int kBlitMode = 3;

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

// Hands every "Char" value to the font; the first refusal ends the walk.
class CharEnumerator : public Script::KeyEnumerator {
public:
    explicit CharEnumerator(std::function<bool(const Vemo::BasicArray<Fragment>&)> add)
        : m_add(std::move(add)) {}

    bool EnumerateKey(Script::Key&, const Vemo::String&,
                      const Vemo::BasicArray<Fragment>& fragments) override {
        if (!m_add(fragments)) {
            m_failed = true;
            return false;
        }
        return true;
    }

    bool Failed() const { return m_failed; }

private:
    std::function<bool(const Vemo::BasicArray<Fragment>&)> m_add;
    bool m_failed = false;
};

} // namespace

MessengerBitmapFont::MessengerBitmapFont(const Vemo::String& name, Messenger* owner, Script* script)
    : MessengerFont(name, owner, script) {}

MessengerBitmapFont::~MessengerBitmapFont() {
    Unload();
}

const Vemo::String& MessengerBitmapFont::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("BitmapFont");
    return *word;
}

Vemo::String MessengerBitmapFont::GetClassName() const {
    return ClassWord();
}

Messenger* MessengerBitmapFont::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<MessengerBitmapFont>(name, owner, script);
}

bool MessengerBitmapFont::ReadScript() {
    if (!Messenger::ReadScript()) {
        return Fail();
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    const Vemo::String& section = GetSectionName();
    const Vemo::BasicArray<Fragment>* bitmap = nullptr;
    if (!script->GetFragments(section, Vemo::String("Bitmap"), bitmap)) {
        return Fail();
    }
    m_bitmapItems = *bitmap;
    CharEnumerator characters(
        [this](const Vemo::BasicArray<Fragment>& value) { return AddCharacter(value); });
    if (!script->EnumerateKey(section, Vemo::String("Char"), characters) || characters.Failed()) {
        return Fail();
    }
    return true;
}

bool MessengerBitmapFont::AddCharacter(const Vemo::BasicArray<Fragment>& value) {
    long code = 0;
    CharDescriptor descriptor;
    FragmentStream(value) >> code >> descriptor.source >> descriptor.width;
    if (code < 0 || descriptor.width < 1) {
        return false;
    }
    const Vemo::Rect& source = descriptor.source;
    if (!FitsInt32(std::int64_t{source.right} - source.left) ||
        !FitsInt32(std::int64_t{source.bottom} - source.top)) {
        return RefuseKeyValue(GetScript(), GetSectionName(), Vemo::String("Char"));
    }
    descriptor.code = static_cast<std::uint8_t>(code & 0xFF);
    return m_characters.Insert(descriptor).second;
}

const MessengerBitmapFont::CharDescriptor* MessengerBitmapFont::Find(char character) const {
    CharDescriptor probe;
    probe.code = static_cast<std::uint8_t>(character);
    const auto found = m_characters.Find(probe);
    return found != m_characters.End() ? &*found : nullptr;
}

bool MessengerBitmapFont::Load(const Vemo::PixelFormat* format, void* extra) {
    if (m_bitmap != nullptr) {
        return true;
    }
    m_extra = extra;
    auto* bitmap = new Bitmap;
    FragmentStream value(m_bitmapItems);
    if (!bitmap->Configure(value, format, 0, nullptr, nullptr)) {
        delete bitmap;
        return Fail();
    }
    m_bitmap = bitmap;
    return true;
}

void MessengerBitmapFont::Unload() {
    delete m_bitmap;
    m_bitmap = nullptr;
}

bool MessengerBitmapFont::Reload(const Vemo::PixelFormat* format) {
    if (m_bitmap == nullptr) {
        return true;
    }
    Unload();
    return Load(format, m_extra);
}

Vemo::Size& MessengerBitmapFont::MeasureText(Vemo::Size& out, const Vemo::Size&, const Vemo::String& text,
                                             std::uint32_t first, std::uint32_t count) {
    out = Vemo::Size(0, 0);
    if (first >= text.Length()) {
        return out;
    }
    // A text wider than 32 bits measures the largest width.
    std::int64_t width = 0;
    const std::uint32_t end = first + std::min(count, text.Length() - first);
    for (std::uint32_t i = first; i < end; ++i) {
        if (const CharDescriptor* glyph = Find(text.CStr()[i])) {
            width = std::min<std::int64_t>(width + glyph->width, std::numeric_limits<std::int32_t>::max());
            out.height = std::max(out.height, glyph->source.bottom - glyph->source.top);
        }
    }
    out.width = static_cast<std::int32_t>(width);
    return out;
}

bool MessengerBitmapFont::DrawText(Vemo::Viewport& target, const Vemo::Rect& area, VerticalAlignment,
                                   HorizontalAlignment, const Vemo::String& text, std::uint32_t first,
                                   std::uint32_t count) {
    return DrawTextRange(target, Vemo::Point(area.left, area.top), text, first,
                         std::min(count, text.Length()));
}

bool MessengerBitmapFont::DrawTextRange(Vemo::Viewport& target, const Vemo::Point& at,
                                        const Vemo::String& text, std::uint32_t first, std::uint32_t count) {
    if (first >= text.Length()) {
        return true;
    }
    if (m_bitmap == nullptr) {
        return Fail();
    }
    const std::uint32_t end = first + std::min(count, text.Length() - first);
    const Bitmap::ColorKeyScope key(*m_bitmap);
    // Advances are positive: once the pen is past the 32-bit range nothing further can show.
    std::int64_t penX = at.x;
    for (std::uint32_t i = first; i < end && FitsInt32(penX); ++i) {
        const CharDescriptor* glyph = Find(text.CStr()[i]);
        if (glyph == nullptr) {
            continue;
        }
        const Vemo::Rect& source = glyph->source;
        if (source.left != source.right && source.top != source.bottom) {
            target.Blit(Vemo::Point(static_cast<std::int32_t>(penX), at.y), *m_bitmap, source, kBlitMode);
        }
        penX += glyph->width;
    }
    return true;
}
