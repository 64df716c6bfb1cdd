// Support for the text and number display tests: the running title with the system font "Big" (the test font
// "Vemo Block" at 16 pixels, in red: a cell 16 high, A 8 wide, V 9 wide), a locale file "Game.loc", and
// messages handed to controls as a script would send them.
#pragma once

#include "controls/TextControl.h"
#include "runtime/testing/RunningTitle.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace TextTest {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr Vemo::ErrorCode kFailure = Control::kErrorFailure;

inline const char* const kFonts = "[Big]\nClass=SystemFont\nName=Vemo Block\nSize=-16\nColor=255, 0, 0\n";

inline Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

inline std::string Text(const Vemo::String& text) {
    return text.CStr();
}

inline std::string Text(const Vemo::Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// A locale file of the pairs.
inline std::string Locale(std::initializer_list<std::pair<std::string, std::string>> pairs) {
    std::string bytes;
    for (const auto& [key, text] : pairs) {
        bytes += key + '\0' + text + '\0';
    }
    return bytes;
}

// An opaque black control, as a screen's picture stands behind its texts.
class Backdrop : public Control {
public:
    using Control::Control;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script) {
        auto* backdrop = new Backdrop(name, owner, script);
        if (!backdrop->ReadScript()) {
            delete backdrop;
            return nullptr;
        }
        backdrop->SetTransparent(false);
        return backdrop;
    }

    void Draw(const Vemo::Rect& localPart) override {
        FillRect(localPart, Vemo::Color(Vemo::PixelValue(0, 0, 0), 1), true, 3);
    }
};

inline const MessengerFactory::Registrar g_backdropRegistrar(Vemo::String("TestBackdrop"), &Backdrop::Create);

class Fixture : public TitleTest::RunningTitle {
protected:
    void TearDown() override {
        m_watchers.Clear();
        TitleTest::RunningTitle::TearDown();
    }

    // Starts the title with the fonts, "Game.loc" and the controls (their sections) in front of an opaque
    // black background, as a screen's picture would be; the first frame is drawn.
    void StartWith(const std::string& controls, const std::string& sections) {
        Write("Title/Game.loc", Locale({{"TITLE", "AVA"}, {"OTHER", "V"}}));
        ASSERT_TRUE(Start(kFonts, "Control=Back\n" + controls,
                          "[Back]\nClass=TestBackdrop\nSize=" + std::to_string(kWidth) + ", " +
                              std::to_string(kHeight) + "\n" + sections));
        Step();
    }

    template <class T = TextControl>
    T& Get(const std::string& name) {
        auto* control = dynamic_cast<T*>(Find(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    // The message as a script sends it: its references evaluated, each word handled.
    bool Send(Messenger& target, const std::string& text) {
        Vemo::BasicArray<Fragment> message;
        EXPECT_TRUE(Script::TokenizeText(message, text.c_str(), static_cast<std::uint32_t>(text.size())));
        return target.HandleFragment(message, nullptr);
    }

    std::string Dirty() {
        std::string text;
        for (const Vemo::Rect& rect : App().GetViewport()->GetDirtyRegion()) {
            text += (text.empty() ? "" : " ") + std::to_string(rect.left) + "," + std::to_string(rect.top) +
                    "," + std::to_string(rect.right) + "," + std::to_string(rect.bottom);
        }
        return text;
    }

    // A recorder subscribed to the control.
    MessengerTest::Recorder& Watch(Messenger& control) { return m_watchers.Watch(control); }

    MessengerTest::Watchers m_watchers;
};

} // namespace TextTest
