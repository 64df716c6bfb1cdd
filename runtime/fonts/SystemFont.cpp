#include "runtime/fonts/SystemFont.h"

#include "resources/error/Error.h"
#include "script/FragmentStream.h"
#include "script/Script.h"

namespace {

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

} // namespace

SystemFont::SystemFont(const Vemo::String& name, Messenger* owner, Script* script)
    : MessengerFont(name, owner, script) {}

SystemFont::~SystemFont() = default;

const Vemo::String& SystemFont::GetName() const {
    return m_name;
}

int SystemFont::GetSize() const {
    return m_size;
}

bool SystemFont::IsItalic() const {
    return m_italic != 0;
}

bool SystemFont::IsBold() const {
    return m_bold != 0;
}

const Vemo::Color& SystemFont::GetColor() const {
    return m_color;
}

bool SystemFont::ReadSettings() {
    Script* script = GetScript();
    if (script == nullptr) {
        return Fail();
    }
    const Vemo::String& section = GetSectionName();
    if (!script->GetValueText(section, Vemo::String("Name"), m_name)) {
        return Fail();
    }
    // A key that is present has one value at most; its absence keeps the default.
    auto single = [&](const char* key) -> const Vemo::BasicArray<Fragment>* {
        const Vemo::BasicArray<Fragment>* value = nullptr;
        script->GetFragments(section, Vemo::String(key), value);
        return value;
    };
    if (const auto* value = single("Size")) {
        if (value->Size() > 1) {
            return Fail();
        }
        FragmentStream(*value) >> m_size;
    }
    for (auto [key, flag] : {std::pair{"Italic", &m_italic}, std::pair{"Bold", &m_bold}}) {
        if (const auto* value = single(key)) {
            if (value->Size() > 1) {
                return Fail();
            }
            bool set = *flag != 0;
            FragmentStream(*value) >> set;
            *flag = set ? 1 : 0;
        }
    }
    if (const auto* value = single("Color")) {
        if (value->Size() > 3) {
            return Fail();
        }
        // Each number keeps its low 8 bits (300 is 44); the byte reader would clamp it to 255 instead.
        int channels[3] = {0, 0, 0};
        FragmentStream stream(*value);
        for (int& channel : channels) {
            stream >> channel;
        }
        m_color = Vemo::Color(Vemo::PixelValue(static_cast<std::uint8_t>(channels[0] & 0xFF),
                                               static_cast<std::uint8_t>(channels[1] & 0xFF),
                                               static_cast<std::uint8_t>(channels[2] & 0xFF)),
                              1);
    }
    return true;
}
