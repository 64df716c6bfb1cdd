// The font container's text layout on the made-up test font: measuring, fitting, line breaking and where each
// glyph is blitted. The plain engine's container graphic draws nothing, so the tests paint a cell of their
// own colour for each glyph and point the glyph's box at it.
#include "engines/font/tests/FontTestFixture.h"
#include "engines/font/tests/TestFontDescription.h"
#include "foundation/Exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace VemoTest {
namespace {

using Vemo::Color;
using Vemo::Font;
using Vemo::FontContainer;
using Vemo::Graphic;
using Vemo::PixelValue;
using Vemo::Point;
using Vemo::Rect;
using Vemo::String;
using Vemo::TextAlignment;
using Vemo::TextStyle;
using Horizontal = Vemo::GraphicSystem::HorizontalAlignment;
using Vertical = Vemo::GraphicSystem::VerticalAlignment;

constexpr std::uint32_t kUntouched = 0x202020;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

class FontLayoutTest : public PlainFontFixture {
protected:
    // The test font in an 8-bit container whose cells are painted: 'A' red (its lower half left black), 'V'
    // green, 'b' blue.
    void Open(Font& font, FontContainer& container) {
        ASSERT_TRUE(font.OpenFromDescription(TestFontDescription(), 1));
        ASSERT_TRUE(container.Create(32, 10, 4, 3, 1));
        ASSERT_TRUE(container.AttachFont(&font));
        Graphic& cells = *container.GetContainerHandle()->GetGraphic();
        std::uint32_t index = 0;
        for (const std::uint32_t rgb : {0u, kRed, kGreen, kBlue}) {
            cells.SetPaletteEntry(Color(ValueOf(rgb), 1), index++);
        }
        Paint(font, cells, 'A', Rect(1, 0, 7, 5), kRed);
        Paint(font, cells, 'V', Rect(7, 0, 14, 10), kGreen);
        Paint(font, cells, 'b', Rect(14, 0, 18, 10), kBlue);
    }

    void Paint(Font& font, Graphic& cells, std::uint32_t code, const Rect& ink, std::uint32_t rgb) {
        font.FindGlyph(code)->box = Rect(ink.left, 0, ink.right, 10);
        cells.FillRect(ink, Color(ValueOf(rgb), 1), true, 3);
    }

    bool OpenCanvas(Graphic& target) { return OpenTarget(target, 40, 30, ValueOf(kUntouched)); }
};

TEST_F(FontLayoutTest, MeasureAddsBearingsKerningAndSpacing) {
    Font font;
    FontContainer container;
    Open(font, container);
    const TextStyle spaced{3, 0, false};
    const String av("AV");
    EXPECT_EQ(container.MeasureText(String("A"), &spaced).width, 6);
    // B(A) + C(A) + kern(A, V) + A(V) + spacing + B(V).
    EXPECT_EQ(container.MeasureText(av, &spaced).width, 6 + 1 - 2 + 0 + 3 + 7);
    EXPECT_EQ(container.MeasureText(av, &spaced).height, 10);
    // '#' has no glyph: it adds nothing, while the pair A,# still kerns A.
    EXPECT_EQ(container.MeasureText(String("A#"), nullptr).width, 6 + 1 - 3);
    EXPECT_EQ(container.MeasureText(String("#A"), nullptr).width, 1 + 6);
    EXPECT_EQ(container.MeasureText(av, 1, 0, nullptr).width, 0);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(FontLayoutTest, FitFindsTheLastCharacterThatFits) {
    Font font;
    FontContainer container;
    Open(font, container);
    const String text("Ab Ab");
    // The extents from the first character: 6, 12, 14, 23, 29.
    EXPECT_EQ(container.FitText(text, 0, 23, nullptr), 3u);
    EXPECT_EQ(container.FitText(text, 0, 22, nullptr), 2u);
    EXPECT_EQ(container.FitText(text, 0, 29, nullptr), 4u);
    EXPECT_EQ(container.FitText(text, 0, 5, nullptr), 0xFFFFFFFFu);
    EXPECT_EQ(container.FitText(text, 3, 5, nullptr), 2u);
    EXPECT_EQ(container.FitText(text, 3, 12, nullptr), 4u);
    EXPECT_EQ(container.FitText(text, 7, 100, nullptr), 6u);
    const TextStyle spaced{1, 0, false};
    EXPECT_EQ(container.FitText(text, 0, 29, &spaced), 3u);
}

TEST_F(FontLayoutTest, AnIndexBeyondTheTextThrows) {
    Font font;
    FontContainer container;
    Open(font, container);
    EXPECT_THROW(container.MeasureText(String("AV"), 1, 2, nullptr), Vemo::RangeException);
}

TEST_F(FontLayoutTest, TextOperationsWithoutAFontReportIt) {
    FontContainer container;
    ASSERT_TRUE(container.Create(32, 10, 4, 3, 1));
    Graphic target;
    ASSERT_TRUE(OpenCanvas(target));
    Taken();
    const String text("Ab");
    const Point at(0, 0);
    const Rect box(0, 0, 40, 30);
    EXPECT_EQ(container.MeasureText(text, nullptr).width, 0);
    EXPECT_EQ(container.FitText(text, 1, 100, nullptr), 1u);
    EXPECT_FALSE(container.DrawTextLine(text, &target, &at, nullptr, nullptr));
    EXPECT_FALSE(container.DrawTextBox(text, &target, &box, nullptr, nullptr));
    EXPECT_FALSE(container.ReservedOperation(1, 2));
    EXPECT_EQ(Taken(), Reports(4, Reported(Vemo::FontEngineErrNoFont)));
}

struct LineCase {
    const char* name;
    Point point;
    TextAlignment alignment;
    // The top left of the 'A' cell as drawn.
    Point drawn;
};

// "AV" is 12 wide (6 + 1 - 2 + 7) and 10 high, its ascent 8.
const LineCase kLines[] = {
    {"LeftTop", Point(5, 3), {Horizontal::Left, Vertical::Top}, Point(5, 3)},
    {"RightEndsTheExtentAtX", Point(30, 3), {Horizontal::Right, Vertical::Top}, Point(18, 3)},
    {"CenterHalvesIt", Point(20, 13), {Horizontal::Center, Vertical::Center}, Point(14, 8)},
    {"BottomEndsTheLineAtY", Point(5, 20), {Horizontal::Left, Vertical::Bottom}, Point(5, 10)},
    {"BaselineIsTheAscentDown", Point(5, 20), {Horizontal::Left, Vemo::kTextBaseline}, Point(5, 12)},
    {"JustifiedIsLeft", Point(5, 3), {Horizontal::Justified, Vertical::Top}, Point(5, 3)},
};

class FontLineTest : public FontLayoutTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(FontLineTest, BlitsEachCellAtItsPlace) {
    Font font;
    FontContainer container;
    Open(font, container);
    Graphic target;
    ASSERT_TRUE(OpenCanvas(target));
    const LineCase& line = GetParam();
    ASSERT_TRUE(container.DrawTextLine(String("AV"), &target, &line.point, &line.alignment, nullptr));
    const Point at = line.drawn;
    EXPECT_EQ(RgbAt(target, at.x - 1, at.y), kUntouched);
    EXPECT_EQ(RgbAt(target, at.x, at.y), kRed);
    EXPECT_EQ(RgbAt(target, at.x, at.y + 9), 0u);
    EXPECT_EQ(RgbAt(target, at.x, at.y + 10), kUntouched);
    // V's cell starts where A's advance and the kerning end: 6 + 1 - 2.
    EXPECT_EQ(RgbAt(target, at.x + 4, at.y), kRed);
    EXPECT_EQ(RgbAt(target, at.x + 5, at.y), kGreen);
    EXPECT_EQ(RgbAt(target, at.x + 11, at.y + 9), kGreen);
    EXPECT_EQ(RgbAt(target, at.x + 12, at.y), kUntouched);
}

INSTANTIATE_TEST_SUITE_P(Alignments, FontLineTest, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FontLayoutTest, ATransparentLineLeavesTheKeyColourOut) {
    Font font;
    FontContainer container;
    Open(font, container);
    Graphic target;
    ASSERT_TRUE(OpenCanvas(target));
    const Point at(5, 3);
    const TextStyle transparent{0, 0, true};
    ASSERT_TRUE(container.DrawTextLine(String("A"), &target, &at, nullptr, &transparent));
    EXPECT_EQ(RgbAt(target, 5, 3), kRed);
    EXPECT_EQ(RgbAt(target, 5, 12), kUntouched);
}

TEST_F(FontLayoutTest, GlyphsLeftOfTheTargetAreSkippedAndTheLineGoesOn) {
    Font font;
    FontContainer container;
    Open(font, container);
    Graphic target;
    ASSERT_TRUE(OpenCanvas(target));
    // A ends 5 short of V at -8, V and its gap end at 0, b's bearing puts it at 1.
    const Point at(-13, 0);
    ASSERT_TRUE(container.DrawTextLine(String("AVb"), &target, &at, nullptr, nullptr));
    EXPECT_EQ(RgbAt(target, 0, 0), kUntouched);
    EXPECT_EQ(RgbAt(target, 1, 0), kBlue);
    EXPECT_EQ(RgbAt(target, 4, 0), kBlue);
    EXPECT_EQ(RgbAt(target, 5, 0), kUntouched);
}

TEST_F(FontLayoutTest, ALineBelowTheTargetDrawsNothing) {
    Font font;
    FontContainer container;
    Open(font, container);
    Graphic target;
    ASSERT_TRUE(OpenCanvas(target));
    const Point below(0, 31);
    EXPECT_TRUE(container.DrawTextLine(String("A"), &target, &below, nullptr, nullptr));
    EXPECT_TRUE(Taken().empty());
}

// One line that a text box drew: its text, and where.
struct DrawnLine {
    std::string text;
    Point at;

    bool operator==(const DrawnLine& other) const { return text == other.text && at == other.at; }
};

std::ostream& operator<<(std::ostream& out, const DrawnLine& line) {
    return out << '"' << line.text << "\" at " << line.at.x << "," << line.at.y;
}

using DrawnLines = std::vector<DrawnLine>;

// A container handle that records the lines its text box draws instead of drawing them.
class RecordingContainerHandle : public Vemo::FontContainerHandle {
public:
    explicit RecordingContainerHandle(Vemo::ResourceEngine* engine)
        : FontContainerHandle(engine, new Vemo::FontContainerGraphic) {}

    using FontContainerHandle::DrawTextLine;
    bool DrawTextLine(const String& text, std::uint32_t first, std::uint32_t count, Graphic*,
                      const Point* point, const TextAlignment*, const TextStyle*) override {
        m_lines.push_back(DrawnLine{std::string(text.CStr() + first, count), *point});
        return true;
    }

    DrawnLines m_lines;
};

class FontBoxTest : public FontLayoutTest {
protected:
    void SetUp() override {
        FontLayoutTest::SetUp();
        ASSERT_TRUE(m_font.OpenFromDescription(TestFontDescription(), 1));
        m_container = std::make_unique<RecordingContainerHandle>(m_fontEngine);
        ASSERT_TRUE(m_container->AttachFont(m_font.GetFontHandle()));
        ASSERT_TRUE(OpenCanvas(m_target));
    }

    void TearDown() override {
        m_container.reset();
        FontLayoutTest::TearDown();
    }

    DrawnLines Draw(const char* text, const Rect& box, TextAlignment alignment = {}, TextStyle style = {}) {
        m_container->m_lines.clear();
        EXPECT_TRUE(m_container->DrawTextBox(String(text), &m_target, &box, &alignment, &style));
        return m_container->m_lines;
    }

    Font m_font;
    Graphic m_target;
    std::unique_ptr<RecordingContainerHandle> m_container;
};

TEST_F(FontBoxTest, BreaksAfterTheLastWordThatFits) {
    // "Ab Ab" is 29 wide and "Ab Ab A" 40.
    EXPECT_EQ(Draw("Ab Ab Ab", Rect(10, 20, 45, 60)),
              (DrawnLines{{"Ab Ab", Point(10, 20)}, {"Ab", Point(10, 32)}}));
}

TEST_F(FontBoxTest, AWordWiderThanTheBoxIsCutWhereItStopsFitting) {
    EXPECT_EQ(Draw("AbAbAb", Rect(0, 0, 35, 60)), (DrawnLines{{"AbAbA", Point(0, 0)}, {"b", Point(0, 12)}}));
}

TEST_F(FontBoxTest, ABoxNarrowerThanEveryGlyphDrawsOneCharacterALine) {
    EXPECT_EQ(Draw("AbV", Rect(0, 0, 0, 60)),
              (DrawnLines{{"A", Point(0, 0)}, {"b", Point(0, 12)}, {"V", Point(0, 24)}}));
}

TEST_F(FontBoxTest, ATextThatStartsWithASpaceBreaksWhereItStopsFitting) {
    // " Ab" is 16 wide and " AbA" 24; "AbA" 20.
    EXPECT_EQ(Draw(" AbAbAb", Rect(0, 0, 20, 60)),
              (DrawnLines{{" Ab", Point(0, 0)}, {"AbA", Point(0, 12)}, {"b", Point(0, 24)}}));
}

TEST_F(FontBoxTest, NothingToDrawIsDone) {
    const Rect box(0, 0, 40, 30);
    EXPECT_TRUE(m_container->DrawTextBox(String("Ab"), 1, 0, &m_target, &box, nullptr, nullptr));
    EXPECT_TRUE(m_container->m_lines.empty());
}

TEST_F(FontBoxTest, ARangeIsDrawnUpToItsEnd) {
    const Rect box(0, 0, 100, 30);
    EXPECT_TRUE(m_container->DrawTextBox(String("Ab Ab Ab"), 3, 4, &m_target, &box, nullptr, nullptr));
    EXPECT_EQ(m_container->m_lines, (DrawnLines{{"Ab A", Point(0, 0)}}));
}

TEST_F(FontBoxTest, RestoresTheTargetsClipRectangle) {
    ASSERT_TRUE(m_target.SetClipRect(Rect(1, 2, 30, 25)));
    Draw("Ab", Rect(10, 20, 45, 60));
    EXPECT_EQ(m_target.GetClipRect(), Rect(1, 2, 30, 25));
}

struct BoxCase {
    const char* name;
    TextAlignment alignment;
    TextStyle style;
    Point first;
    Point second;
};

// Two lines in the box (10, 20, 45, 60): 12 apart (10 + 2 leading), 22 high in all.
const BoxCase kBoxes[] = {
    {"LeftTop", {Horizontal::Left, Vertical::Top}, {}, Point(10, 20), Point(10, 32)},
    {"RightAnchorsAtTheRightEdge", {Horizontal::Right, Vertical::Top}, {}, Point(45, 20), Point(45, 32)},
    {"CenterAnchorsAtTheMiddle", {Horizontal::Center, Vertical::Top}, {}, Point(27, 20), Point(27, 32)},
    {"JustifiedAnchorsAtTheMiddle", {Horizontal::Justified, Vertical::Top}, {}, Point(27, 20), Point(27, 32)},
    {"BottomLinesEndAtTheBottom", {Horizontal::Left, Vertical::Bottom}, {}, Point(10, 48), Point(10, 60)},
    // 40 - 22 / 2 + 10 / 2.
    {"CenterLinesAroundTheMiddle", {Horizontal::Left, Vertical::Center}, {}, Point(10, 34), Point(10, 46)},
    {"LineSpacingWidensThePitch",
     {Horizontal::Left, Vertical::Top},
     {0, 3, false},
     Point(10, 20),
     Point(10, 35)},
};

class FontBoxAlignmentTest : public FontBoxTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(FontBoxAlignmentTest, AnchorsEveryLine) {
    const BoxCase& box = GetParam();
    EXPECT_EQ(Draw("Ab Ab Ab", Rect(10, 20, 45, 60), box.alignment, box.style),
              (DrawnLines{{"Ab Ab", box.first}, {"Ab", box.second}}));
}

INSTANTIATE_TEST_SUITE_P(Alignments, FontBoxAlignmentTest, ::testing::ValuesIn(kBoxes),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace VemoTest
