// The Font System, the plain Font Engine, the font handle and the search criterion: which criteria are
// refused, which open fonts are shared, and what a font answers.
#include "engines/font/FontSearchCriterion.h"
#include "engines/font/tests/FontTestFixture.h"
#include "engines/font/tests/TestFontDescription.h"
#include "resources/storage/Path.h"

#include <gtest/gtest.h>

#include <string>

namespace VemoTest {
namespace {

using Vemo::ErrorCode;
using Vemo::Font;
using Vemo::FontContainer;
using Vemo::FontDescription;
using Vemo::FontHandle;
using Vemo::FontSearchCriterion;
using Vemo::Rect;
using Vemo::Size;
using Vemo::String;

TEST(FontFactoryTest, SystemAndEnginesCarryTheirNamesAndIds) {
    TestApplication application;
    Vemo::FontSystem* system = Vemo::FontSystem::Create();
    ASSERT_NE(system, nullptr);
    EXPECT_STREQ(system->GetName().CStr(), "Font System");
    EXPECT_EQ(system->GetTypeId(), 0x2030000u);
    Vemo::FontEngine* plain = Vemo::FontEngine::Create();
    Vemo::Win32FontEngine* win32 = Vemo::Win32FontEngine::Create();
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(win32, nullptr);
    EXPECT_STREQ(plain->GetName().CStr(), "Font Engine");
    EXPECT_EQ(plain->GetTypeId(), 0x2030000u);
    EXPECT_STREQ(win32->GetName().CStr(), "Win32 Font Engine");
    EXPECT_EQ(win32->GetTypeId(), 0x2030001u);
    EXPECT_TRUE(system->AddEngine(plain));
    EXPECT_TRUE(system->AddEngine(win32));
    EXPECT_TRUE(system->Shutdown());
    EXPECT_TRUE(application.TakeReports().empty());
}

TEST(FontSearchCriterionTest, TheFamilyIdStandsForAnyEngine) {
    const std::uint32_t any = Vemo::kFontTypeId;
    const std::uint32_t win32 = Vemo::kWin32FontTypeId;
    const FontSearchCriterion anyEngine(FontSearchCriterion::kFont, any);
    const FontSearchCriterion oneEngine(FontSearchCriterion::kContainer, win32);
    EXPECT_EQ(anyEngine.GetWantedEngineId(), nullptr);
    EXPECT_EQ(oneEngine.GetWantedEngineId(), &win32);
    EXPECT_EQ(oneEngine.GetFamilyId(), Vemo::kFontTypeId);
    EXPECT_EQ(oneEngine.GetSearchMode(), FontSearchCriterion::kSearchQuick);
}

// The values a refused criterion points at.
struct CriterionValues {
    Size size{64, 32};
    std::uint32_t pixelFormat = 7;
    std::uint32_t graphicFlags = 3;
    std::uint32_t colorTag = 1;
    FontDescription description = TestFontDescription();
    String name = "";
    std::uint32_t fontSize = 0;
    std::uint32_t width = 0;
    bool flag = true;
    Vemo::FontStyle style;
    Vemo::TaggedColor color = kBlack;
};

using Fill = void (*)(FontSearchCriterion&, CriterionValues&);

// Every attribute but the one left out; 0 leaves none out.
void GiveAttributesBut(FontSearchCriterion& criterion, CriterionValues& values, int leftOut) {
    int index = 0;
    auto give = [&](auto& field, auto* value) {
        if (++index != leftOut) {
            field = value;
        }
    };
    give(criterion.m_name, &values.name);
    give(criterion.m_size, &values.fontSize);
    give(criterion.m_width, &values.width);
    give(criterion.m_cellHeight, &values.flag);
    give(criterion.m_pixelUnits, &values.flag);
    give(criterion.m_style, &values.style);
    give(criterion.m_foreground, &values.color);
    give(criterion.m_background, &values.color);
}

struct RefusalCase {
    const char* name;
    std::uint32_t kind;
    Fill fill;
    ErrorCode code;
};

const RefusalCase kRefusals[] = {
    {"ContainerWithoutSize", FontSearchCriterion::kContainer,
     [](FontSearchCriterion& c, CriterionValues& v) {
         c.m_pixelFormat = &v.pixelFormat;
         c.m_graphicFlags = &v.graphicFlags;
         c.m_colorTag = &v.colorTag;
     },
     Vemo::FontSystemErrContainerNoSize},
    {"ContainerWithoutPixelFormat", FontSearchCriterion::kContainer,
     [](FontSearchCriterion& c, CriterionValues& v) {
         c.m_containerSize = &v.size;
         c.m_graphicFlags = &v.graphicFlags;
         c.m_colorTag = &v.colorTag;
     },
     Vemo::FontSystemErrContainerNoPixelFormat},
    {"ContainerWithoutGraphicFlags", FontSearchCriterion::kContainer,
     [](FontSearchCriterion& c, CriterionValues& v) {
         c.m_containerSize = &v.size;
         c.m_pixelFormat = &v.pixelFormat;
         c.m_colorTag = &v.colorTag;
     },
     Vemo::FontSystemErrContainerNoGraphicFlags},
    {"ContainerWithoutColorTag", FontSearchCriterion::kContainer,
     [](FontSearchCriterion& c, CriterionValues& v) {
         c.m_containerSize = &v.size;
         c.m_pixelFormat = &v.pixelFormat;
         c.m_graphicFlags = &v.graphicFlags;
     },
     Vemo::FontSystemErrContainerNoColorTag},
    {"DescriptionWithoutSourceValue", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { c.m_description = &v.description; },
     Vemo::FontSystemErrNoSourceValue},
    {"WithoutName", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 1); },
     Vemo::FontSystemErrNoName},
    {"WithoutSize", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 2); },
     Vemo::FontSystemErrNoSize},
    {"WithoutWidth", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 3); },
     Vemo::FontSystemErrNoWidth},
    {"WithoutCellHeightFlag", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 4); },
     Vemo::FontSystemErrNoCellHeightFlag},
    {"WithoutPixelUnitsFlag", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 5); },
     Vemo::FontSystemErrNoPixelUnitsFlag},
    {"WithoutStyle", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 6); },
     Vemo::FontSystemErrNoStyle},
    {"WithoutForeground", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 7); },
     Vemo::FontSystemErrNoForeground},
    {"WithoutBackground", FontSearchCriterion::kFont,
     [](FontSearchCriterion& c, CriterionValues& v) { GiveAttributesBut(c, v, 8); },
     Vemo::FontSystemErrNoBackground},
    {"NothingGiven", FontSearchCriterion::kFont, [](FontSearchCriterion&, CriterionValues&) {},
     Vemo::FontSystemErrNoFontNamed},
};

class FontSystemRefusalTest : public PlainFontFixture, public ::testing::WithParamInterface<RefusalCase> {};

// Refused before any engine sees the criterion, even when a font that the attributes would match is open.
TEST_P(FontSystemRefusalTest, RefusesWithItsCode) {
    CriterionValues values;
    FontSearchCriterion complete(FontSearchCriterion::kFont, Vemo::kFontTypeId);
    GiveAttributesBut(complete, values, 0);
    Vemo::ResourceHandle* open = m_fontSystem->Open(&complete, nullptr);
    ASSERT_NE(open, nullptr);
    Taken();

    FontSearchCriterion criterion(GetParam().kind, Vemo::kFontTypeId);
    GetParam().fill(criterion, values);
    EXPECT_EQ(m_fontSystem->Open(&criterion, nullptr), nullptr);
    EXPECT_EQ(Taken(), Reports{GetParam().code});
    EXPECT_EQ(open->GetReferenceCount(), 1u);
    m_fontSystem->Close(open, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Criteria, FontSystemRefusalTest, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlainFontFixture, EqualDescriptionsShareOneFont) {
    const FontDescription description = TestFontDescription();
    Font first;
    Font second;
    Font third;
    ASSERT_TRUE(first.OpenFromDescription(description, 7));
    ASSERT_TRUE(second.OpenFromDescriptionShared(description, 9));
    EXPECT_EQ(second.GetFontHandle(), first.GetFontHandle());
    EXPECT_EQ(first.GetFontHandle()->GetReferenceCount(), 2u);
    EXPECT_EQ(first.GetFontHandle()->GetSourceValue(), 7u);

    FontDescription other = description;
    other.glyphs.Insert(TestGlyph('c', 0, 3, 1));
    ASSERT_TRUE(third.OpenFromDescription(other, 7));
    EXPECT_NE(third.GetFontHandle(), first.GetFontHandle());
    EXPECT_EQ(m_fontSystem->GetFonts().Size(), 2u);
    EXPECT_EQ(m_fontEngine->GetFonts().Size(), 2u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(PlainFontFixture, ClosedFontsLeaveTheLists) {
    {
        Font first;
        Font second;
        ASSERT_TRUE(first.OpenFromDescription(TestFontDescription(), 1));
        ASSERT_TRUE(second.OpenFromDescription(TestFontDescription(), 1));
        EXPECT_EQ(m_fontSystem->GetFonts().Size(), 1u);
    }
    EXPECT_TRUE(m_fontSystem->GetFonts().Empty());
    EXPECT_TRUE(m_fontEngine->GetFonts().Empty());
    EXPECT_EQ(m_fontSystem->GetFirstHandle(), nullptr);
}

TEST_F(PlainFontFixture, BothSourceValuesMakeTheFontWithTheFirst) {
    const FontDescription description = TestFontDescription();
    FontSearchCriterion criterion(FontSearchCriterion::kFont, Vemo::kFontTypeId);
    criterion.m_description = &description;
    criterion.m_firstSourceValue = 4;
    criterion.m_secondSourceValue = 5;
    auto* font = dynamic_cast<FontHandle*>(m_fontSystem->Open(&criterion, nullptr));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetSourceValue(), 4u);
    EXPECT_EQ(*font->GetDescription(), description);
    m_fontSystem->Close(font, nullptr);
}

TEST_F(PlainFontFixture, TheSamePathSharesOneFont) {
    const String name("face.fnt");
    const String otherName("other.fnt");
    const Vemo::Path path(&name, nullptr);
    const Vemo::Path other(&otherName, nullptr);
    Font first;
    Font second;
    Font third;
    ASSERT_TRUE(first.Open(path));
    ASSERT_TRUE(second.Open(path));
    ASSERT_TRUE(third.Open(other));
    EXPECT_EQ(second.GetFontHandle(), first.GetFontHandle());
    EXPECT_NE(third.GetFontHandle(), first.GetFontHandle());
    Vemo::Path read;
    EXPECT_TRUE(first.GetPath(read));
    EXPECT_STREQ(read.GetName().CStr(), "face.fnt");
}

TEST_F(PlainFontFixture, AContainerCriterionWithOnlyAFontTakesTheFontsValues) {
    Font font;
    ASSERT_TRUE(font.OpenFromDescription(TestFontDescription(), 1));
    FontContainer container;
    ASSERT_TRUE(container.OpenForFont(&font, 0));
    const Vemo::Graphic& graphic = *container.GetContainerHandle()->GetGraphic();
    EXPECT_EQ(graphic.GetWidth(), 640);
    EXPECT_EQ(graphic.GetHeight(), 10);
    EXPECT_EQ(graphic.GetDepth(), 4u);
    EXPECT_EQ(graphic.GetColorTag(), 1u);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(PlainFontFixture, AContainerGraphicThatDoesNotOpenIsReported) {
    FontContainer container;
    m_application.m_graphicSystem = nullptr;
    EXPECT_FALSE(container.Create(64, 10, 4, 3, 1));
    m_application.m_graphicSystem = m_system;
    EXPECT_TRUE(
        ReportedInOrder(Taken(), {Vemo::ResourceSystemErrNoSystem, Vemo::FontEngineErrOpenContainerGraphic,
                                  Vemo::FontEngineErrMakeContainer, Vemo::ResourceSystemErrOpenFailed}));
}

TEST_F(PlainFontFixture, GlyphAndKerningLookupsAreExact) {
    Font font;
    ASSERT_TRUE(font.OpenFromDescription(TestFontDescription(), 1));
    EXPECT_EQ(font.GetGlyphBlackWidth('A'), 6);
    EXPECT_EQ(font.GetGlyphLeftBearing('x'), -1);
    EXPECT_EQ(font.GetGlyphRightBearing('V'), 1);
    EXPECT_EQ(font.GetGlyphBox('b'), Rect(1, 8, 5, 18));
    EXPECT_EQ(font.GetGlyphAdvance('b'), Vemo::Point(6, 0));
    EXPECT_EQ(font.GetKerning('A', 'V'), -2);
    EXPECT_EQ(font.GetKerning('V', 'A'), -1);
    // '@' lies between glyphs of the table, '#' below its first.
    for (const std::uint32_t absent : {std::uint32_t{'@'}, std::uint32_t{'#'}, 200u}) {
        EXPECT_EQ(font.FindGlyph(absent), nullptr);
        EXPECT_EQ(font.GetGlyphBlackWidth(absent), 0);
        EXPECT_EQ(font.GetGlyphLeftBearing(absent), 0);
        EXPECT_EQ(font.GetGlyphRightBearing(absent), 0);
        EXPECT_EQ(font.GetGlyphBox(absent), Rect());
        EXPECT_EQ(font.GetGlyphAdvance(absent), Vemo::Point());
    }
    EXPECT_EQ(font.GetKerning('A', 'A'), 0);
    EXPECT_EQ(font.GetKerning('V', 'V'), 0);
    EXPECT_TRUE(Taken().empty());
}

TEST(KerningTableTest, OrdersBySecondCodeAndKeepsTheFirstOfAPair) {
    Vemo::KerningTable pairs;
    EXPECT_TRUE(pairs.Insert(Vemo::KerningPair{'A', 'V', -2}).second);
    EXPECT_TRUE(pairs.Insert(Vemo::KerningPair{'A', 'T', -1}).second);
    EXPECT_FALSE(pairs.Insert(Vemo::KerningPair{'A', 'V', 5}).second);
    ASSERT_EQ(pairs.Size(), 2u);
    EXPECT_EQ(*pairs.begin(), (Vemo::KerningPair{'A', 'T', -1}));
    EXPECT_EQ(*std::next(pairs.begin()), (Vemo::KerningPair{'A', 'V', -2}));
}

TEST(FontDescriptionTest, EqualityComparesEveryFieldAndBothTables) {
    const FontDescription description = TestFontDescription();
    EXPECT_EQ(description, FontDescription(description));
    using Change = void (*)(FontDescription&);
    const Change changes[] = {
        [](FontDescription& d) { d.name = "Test Fac"; },
        [](FontDescription& d) { d.maximumWidth = 9; },
        [](FontDescription& d) { d.style.extra = 1; },
        [](FontDescription& d) { d.characterSet = Vemo::FontCharacterSet::Greek; },
        [](FontDescription& d) { d.background = kWhite; },
        [](FontDescription& d) { d.FindGlyph('A')->box.right = 0; },
        [](FontDescription& d) {
            d.kerningPairs.Insert(Vemo::KerningPair{'b', 'x', 1});
        },
    };
    for (const Change change : changes) {
        FontDescription changed = description;
        change(changed);
        EXPECT_FALSE(changed == description);
    }
}

TEST(FontDescriptionTest, TheDefaultIsEmptyAnsiBlackOnBlack) {
    const FontDescription description;
    EXPECT_TRUE(description.name.IsEmpty());
    EXPECT_EQ(description.lineHeight, 0);
    EXPECT_EQ(description.characterSet, Vemo::FontCharacterSet::Ansi);
    EXPECT_EQ(description.foreground, kBlack);
    EXPECT_EQ(description.background, kBlack);
    EXPECT_TRUE(description.glyphs.Empty());
}

struct ContainerSizeCase {
    const char* name;
    std::int32_t averageWidth;
    std::uint32_t maxWidth;
    std::uint32_t maxHeight;
    Size size;
};

// The test font's black widths in code order are 1, 6, 7, 4 and 5; its line height is 10, its maximum
// width 8.
const ContainerSizeCase kContainerSizes[] = {
    {"NoBoundsIs640Wide", 5, 0, 0, Size(640, 10)},
    {"HeightBelowTheLine", 5, 0, 9, Size(0, 0)},
    {"WidthBelowTheWidestGlyph", 5, 7, 0, Size(0, 0)},
    // 1 | 6 | 7 (14 > 8) | 4 (11 > 8) | 5 (9 > 8): four rows.
    {"RowsOfTheGivenWidth", 5, 8, 0, Size(8, 40)},
    {"RowsBeyondTheGivenHeight", 5, 8, 30, Size(0, 0)},
    // 91 codes x 5 x 10 / 20 = 227, wide enough for one row.
    {"WidthFromTheAverage", 5, 0, 20, Size(227, 10)},
    // From 0, widened by the least overflow until two rows hold it: 1 + 6 + 7 | 4 + 5.
    {"WidenedUntilTheRowsFit", 0, 0, 20, Size(14, 20)},
};

class ContainerSizeTest : public ::testing::TestWithParam<ContainerSizeCase> {};

TEST_P(ContainerSizeTest, PlacesTheGlyphsInRows) {
    FontDescription description = TestFontDescription();
    description.averageWidth = GetParam().averageWidth;
    FontHandle font(nullptr, description, 1);
    const Size size = font.GetContainerSize(GetParam().maxWidth, GetParam().maxHeight);
    EXPECT_EQ(size.width, GetParam().size.width);
    EXPECT_EQ(size.height, GetParam().size.height);
}

INSTANTIATE_TEST_SUITE_P(Bounds, ContainerSizeTest, ::testing::ValuesIn(kContainerSizes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ContainerSizeTest, AFontWithoutGlyphsFitsNoContainer) {
    FontHandle font(nullptr);
    const Size size = font.GetContainerSize(0, 0);
    EXPECT_EQ(size.width, 0);
    EXPECT_EQ(size.height, 0);
}

TEST(FontHandleTest, AttachingASecondContainerReplacesTheFirst) {
    FontHandle font(nullptr);
    Vemo::FontContainerHandle first(nullptr, nullptr);
    Vemo::FontContainerHandle second(nullptr, nullptr);
    EXPECT_TRUE(font.AttachContainer(&first));
    EXPECT_TRUE(font.AttachContainer(&second));
    EXPECT_EQ(font.GetContainer(), &second);
    EXPECT_TRUE(font.DetachContainer());
    EXPECT_EQ(font.GetContainer(), nullptr);
}

} // namespace
} // namespace VemoTest
