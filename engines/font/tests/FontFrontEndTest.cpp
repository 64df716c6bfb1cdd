// The Font and FontContainer front-ends: opening, the reports of a front-end without a handle, and linking a
// font to a container both ways.
#include "engines/font/tests/FontTestFixture.h"

#include <gtest/gtest.h>

namespace VemoTest {
namespace {

using Vemo::Font;
using Vemo::FontContainer;
using Vemo::Graphic;
using Vemo::Point;
using Vemo::Rect;
using Vemo::String;

class FontFrontEndTest : public FontFamilyFixture {};

TEST_F(FontFrontEndTest, OpeningTwiceKeepsTheFirstFont) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    Vemo::FontHandle* first = font.GetFontHandle();
    EXPECT_FALSE(OpenFont(font, {.name = "DejaVu Sans Mono"}));
    EXPECT_EQ(Taken(), Reports{Vemo::ResourceSystemErrAlreadyOpen});
    EXPECT_EQ(font.GetFontHandle(), first);
    FontContainer container;
    ASSERT_TRUE(container.OpenForFont(&font, 0));
    EXPECT_FALSE(container.Create(300, 200, 5, 3, 1));
    EXPECT_FALSE(container.OpenForFont(nullptr, 0));
    EXPECT_EQ(Taken(), (Reports{Vemo::ResourceSystemErrAlreadyOpen, Vemo::ResourceSystemErrAlreadyOpen}));
}

TEST_F(FontFrontEndTest, WithoutAFontSystemNothingOpens) {
    m_application.m_fontSystem = nullptr;
    Font font;
    FontContainer container;
    EXPECT_FALSE(OpenFont(font, {}));
    EXPECT_FALSE(container.Create(300, 200, 5, 3, 1));
    m_application.m_fontSystem = m_fontSystem;
    EXPECT_EQ(Taken(), (Reports{Vemo::ResourceSystemErrNoSystem, Vemo::ResourceSystemErrNoSystem}));
}

TEST_F(FontFrontEndTest, AFontWithoutAHandleReportsAndAnswersItsDefaults) {
    const Font font;
    const Reported noHandle(Vemo::ResourceSystemErrNoHandle, "Font");
    EXPECT_EQ(font.GetCharacterSet(), Vemo::FontCharacterSet::Ansi);
    EXPECT_EQ(Taken(), Reports{noHandle});
    EXPECT_EQ(font.GetGlyphBox('A'), Rect());
    EXPECT_EQ(Taken(), Reports{noHandle});
    String name;
    Vemo::Path path;
    EXPECT_EQ(font.GetDescription(), nullptr);
    EXPECT_EQ(font.GetStyle(), nullptr);
    EXPECT_EQ(font.GetLineHeight(), 0);
    EXPECT_EQ(font.GetContainerSize(0, 0).width, 0);
    EXPECT_FALSE(font.IsFixedPitch());
    EXPECT_FALSE(font.GetName(name));
    EXPECT_FALSE(font.GetPath(path));
    EXPECT_EQ(font.GetGlyphAdvance('A'), Point());
    EXPECT_EQ(Taken(), Reports(8, noHandle));
}

TEST_F(FontFrontEndTest, AContainerWithoutAHandleReportsAndAnswersItsDefaults) {
    FontContainer container;
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    Graphic target;
    ASSERT_TRUE(OpenTarget(target, 20, 20));
    Taken();
    const String text("Ab");
    const Point at(0, 0);
    const Rect box(0, 0, 20, 20);
    EXPECT_EQ(container.MeasureText(text, nullptr).width, 0);
    EXPECT_EQ(container.FitText(text, 1, 100, nullptr), 0u);
    EXPECT_FALSE(container.DrawTextLine(text, &target, &at, nullptr, nullptr));
    EXPECT_FALSE(container.DrawTextBox(text, 0, 2, &target, &box, nullptr, nullptr));
    EXPECT_FALSE(container.ReservedOperation(1, 2));
    // Linking needs the container's handle as much as the text operations do.
    EXPECT_FALSE(container.AttachFont(&font));
    EXPECT_EQ(Taken(), Reports(6, Reported(Vemo::ResourceSystemErrNoHandle, "Font Container")));
    EXPECT_EQ(font.GetLinkedContainer(), nullptr);
}

TEST_F(FontFrontEndTest, CreateAsksForExactlyTheSizeGiven) {
    FontContainer container;
    ASSERT_TRUE(container.Create(300, 200, 5, 3, 1));
    const Vemo::Size size = container.GetContainerHandle()->GetGraphic()->GetSize();
    EXPECT_EQ(size.width, 300);
    EXPECT_EQ(size.height, 200);
}

TEST_F(FontFrontEndTest, OpenLikeTakesTheGraphicsSizeDepthFlagsAndTag) {
    Graphic model;
    const Vemo::PixelFormat format(Vemo::StandardPixelFormat::Indexed8);
    ASSERT_TRUE(model.Open(120, 50, &format, Vemo::GraphicSystem::Memory::System, 1));
    FontContainer container;
    ASSERT_TRUE(container.OpenLike(model));
    const Graphic& graphic = *container.GetContainerHandle()->GetGraphic();
    EXPECT_EQ(graphic.GetWidth(), 120);
    EXPECT_EQ(graphic.GetHeight(), 50);
    EXPECT_EQ(graphic.GetDepth(), 4u);
    EXPECT_EQ(graphic.GetPlacement(), 3u);
    EXPECT_EQ(graphic.GetColorTag(), 1u);

    const Graphic closed;
    FontContainer other;
    EXPECT_FALSE(other.OpenLike(closed));
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::ResourceSystemErrNoHandle, Vemo::ResourceSystemErrNoHandle,
                                  Vemo::ResourceSystemErrNoHandle, Vemo::ResourceSystemErrOpenFailed}));
}

TEST_F(FontFrontEndTest, OpenForFontTakesTheFontsContainerValues) {
    FontContainer container;
    EXPECT_FALSE(container.OpenForFont(nullptr, 0));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrNoFontHandle});
    const Font closed;
    EXPECT_FALSE(container.OpenForFont(&closed, 0));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrNoFontHandle});

    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    ASSERT_TRUE(container.OpenForFont(&font, 0));
    const Graphic& graphic = *container.GetContainerHandle()->GetGraphic();
    const Vemo::Size wanted = font.GetContainerSize(0, 0);
    EXPECT_EQ(graphic.GetWidth(), wanted.width);
    EXPECT_EQ(graphic.GetHeight(), wanted.height);
    EXPECT_EQ(graphic.GetDepth(), 5u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(FontFrontEndTest, AttachingLinksBothWaysAndDetachingUnlinksBoth) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    const Vemo::FontDescription opened = *font.GetDescription();
    FontContainer container;
    ASSERT_TRUE(container.OpenForFont(&font, 0));
    EXPECT_TRUE(container.DetachFont());
    EXPECT_FALSE(container.AttachFont(nullptr));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrNoFontHandle});

    ASSERT_TRUE(container.AttachFont(&font));
    EXPECT_EQ(container.GetLinkedFont(), &font);
    EXPECT_EQ(font.GetLinkedContainer(), &container);
    EXPECT_EQ(font.GetFontHandle()->GetContainer(), container.GetContainerHandle());
    EXPECT_EQ(container.GetContainerHandle()->GetFont(), font.GetFontHandle());
    // A null font is the linked one, which attaching detaches first: there is none left to attach.
    EXPECT_FALSE(container.AttachFont(nullptr));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrNoFontHandle});
    EXPECT_EQ(font.GetLinkedContainer(), nullptr);
    EXPECT_EQ(*font.GetDescription(), opened);

    ASSERT_TRUE(container.AttachFont(&font));
    EXPECT_TRUE(container.DetachFont());
    EXPECT_EQ(container.GetLinkedFont(), nullptr);
    EXPECT_EQ(font.GetLinkedContainer(), nullptr);
    EXPECT_EQ(font.GetFontHandle()->GetContainer(), nullptr);
    EXPECT_EQ(container.GetContainerHandle()->GetFont(), nullptr);
    EXPECT_EQ(*font.GetDescription(), opened);
}

TEST_F(FontFrontEndTest, AFontInAnotherContainerIsRefused) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    FontContainer first;
    FontContainer second;
    ASSERT_TRUE(first.OpenForFont(&font, 0));
    ASSERT_TRUE(second.OpenForFont(&font, 0));
    ASSERT_TRUE(first.AttachFont(&font));
    EXPECT_FALSE(second.AttachFont(&font));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrFontInContainer});
    EXPECT_EQ(font.GetLinkedContainer(), &first);
    EXPECT_EQ(first.GetLinkedFont(), &font);
    EXPECT_EQ(second.GetLinkedFont(), nullptr);
    EXPECT_EQ(second.GetContainerHandle()->GetFont(), nullptr);
}

// Two Fonts of one font handle: the handle's glyph boxes can point into one container only.
TEST_F(FontFrontEndTest, AFontHandleSharedWithALinkedFontIsRefused) {
    ASSERT_TRUE(AddFixtureFont("VemoBlock.ttf"));
    const FontRequest block{.name = "Vemo Block", .size = 16, .width = 8, .pixelUnits = true};
    Font font;
    Font sharing;
    ASSERT_TRUE(OpenFont(font, block));
    ASSERT_TRUE(OpenFont(sharing, block));
    ASSERT_EQ(sharing.GetFontHandle(), font.GetFontHandle());
    FontContainer first;
    FontContainer second;
    ASSERT_TRUE(first.OpenForFont(&font, 0));
    ASSERT_TRUE(second.OpenForFont(&font, 0));
    ASSERT_TRUE(first.AttachFont(&font));
    const Vemo::FontDescription attached = *font.GetDescription();
    EXPECT_FALSE(second.AttachFont(&sharing));
    EXPECT_EQ(Taken(), Reports{Vemo::FontSystemErrFontInContainer});
    EXPECT_EQ(font.GetFontHandle()->GetContainer(), first.GetContainerHandle());
    EXPECT_EQ(*font.GetDescription(), attached);
}

TEST_F(FontFrontEndTest, AFontThatGoesIsUnlinkedFromItsContainer) {
    FontContainer container;
    Graphic target;
    ASSERT_TRUE(OpenTarget(target, 20, 20));
    {
        Font font;
        ASSERT_TRUE(OpenFont(font, {}));
        ASSERT_TRUE(container.OpenForFont(&font, 0));
        ASSERT_TRUE(container.AttachFont(&font));
    }
    EXPECT_EQ(container.GetLinkedFont(), nullptr);
    EXPECT_EQ(container.GetContainerHandle()->GetFont(), nullptr);
    EXPECT_TRUE(Taken().empty());
    const Point at(0, 0);
    EXPECT_FALSE(container.DrawTextLine(String("A"), &target, &at, nullptr, nullptr));
    EXPECT_EQ(Taken(), Reports{Vemo::FontEngineErrNoFont});
}

TEST_F(FontFrontEndTest, AContainerThatGoesGivesTheFontItsGlyphsBack) {
    Font font;
    ASSERT_TRUE(OpenFont(font, {}));
    const Vemo::FontDescription opened = *font.GetDescription();
    {
        FontContainer container;
        ASSERT_TRUE(container.OpenForFont(&font, 0));
        ASSERT_TRUE(container.AttachFont(&font));
        EXPECT_FALSE(*font.GetDescription() == opened);
    }
    EXPECT_EQ(font.GetLinkedContainer(), nullptr);
    EXPECT_EQ(font.GetFontHandle()->GetContainer(), nullptr);
    EXPECT_EQ(*font.GetDescription(), opened);
    EXPECT_TRUE(Taken().empty());
}

// The application may shut the font family down before it lets go of its fonts and containers. The newest
// handle closes first: here the font, which its container still holds selected into its DC.
TEST_F(FontFrontEndTest, LinkedFrontEndsOutliveTheFontSystem) {
    FontContainer container;
    Font font;
    ASSERT_TRUE(container.Create(640, 64, 5, 3, 1));
    ASSERT_TRUE(OpenFont(font, {}));
    ASSERT_TRUE(container.AttachFont(&font));
    ShutdownSystems();
    EXPECT_EQ(font.GetFontHandle(), nullptr);
    EXPECT_EQ(container.GetContainerHandle(), nullptr);
    EXPECT_TRUE(Taken().empty());
}

} // namespace
} // namespace VemoTest
