#include "engines/image/Image.h"

#include "engines/image/ImageContainer.h"
#include "engines/image/ImageContainerHandle.h"
#include "engines/image/ImageEngine.h"
#include "engines/image/ImageSearchCriterion.h"
#include "engines/image/ImageSystem.h"
#include "engines/image/StandardImageHandle.h"
#include "engines/image/testing/ImageFamilyFixture.h"
#include "engines/image/testing/ImageFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace VemoTest {
namespace {

using Vemo::Image;
using Vemo::ImageSearchCriterion;

constexpr std::uint32_t kWrongKindEngineId = 0x02000009;

// An image engine that answers every request with a container handle.
class WrongKindEngine : public Vemo::ImageEngine {
public:
    WrongKindEngine() : ImageEngine(kWrongKindEngineId, "Wrong Kind Engine") {}
    Vemo::ResourceHandle* CreateHandle(Vemo::ResourceSearchCriterion*, Vemo::Resource*) override {
        ++m_made;
        return new CountedContainerHandle(this, &m_alive);
    }

    class CountedContainerHandle : public Vemo::ImageContainerHandle {
    public:
        CountedContainerHandle(ResourceEngine* engine, int* alive)
            : ImageContainerHandle(engine), m_alive(alive) {
            ++*m_alive;
        }
        ~CountedContainerHandle() override { --*m_alive; }
        int* m_alive;
    };

    int m_made = 0;
    int m_alive = 0;
};

Bytes SmallBmp() {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 1;
    bmp.pixels = PackBmpRows({{0x112233, 0x445566}}, 24);
    return bmp.Encode();
}

class ImageTest : public ImageFamilyFixture {};

TEST_F(ImageTest, WithoutAHandleEveryOperationReportsAndAnswersNeutrally) {
    Image image;
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHeight(), 0u);
    EXPECT_EQ(image.GetSize().width, 0);
    EXPECT_EQ(image.GetDepth(), 0u);
    EXPECT_EQ(image.GetColorTag(), 1u);
    EXPECT_FALSE(image.HasPalette());
    EXPECT_EQ(image.GetPixelFormat().format, Vemo::StandardPixelFormat::None);
    EXPECT_FALSE(image.Load());
    EXPECT_FALSE(image.Save(1));
    EXPECT_FALSE(image.Unload());
    EXPECT_FALSE(image.Decode(false, nullptr));
    EXPECT_FALSE(image.Encode());
    EXPECT_EQ(Taken(), Reports(12, Reported(Vemo::ResourceSystemErrNoHandle)));
}

TEST_F(ImageTest, TheFamilyIdOpensWithAnyEngineAndAnotherIdOnlyWithThatEngine) {
    const Bytes bytes = SmallBmp();
    const auto size = static_cast<std::uint32_t>(bytes.size());
    Image any;
    EXPECT_TRUE(any.Open(bytes.data(), size));
    Image standard;
    EXPECT_TRUE(standard.Open(bytes.data(), size, Vemo::kStandardImageTypeId));
    EXPECT_EQ(standard.GetWidth(), 2u);
    EXPECT_TRUE(Taken().empty());

    Image other;
    EXPECT_FALSE(other.Open(bytes.data(), size, kWrongKindEngineId));
    EXPECT_TRUE(ReportedInOrder(Taken(), {Reported(Vemo::ResourceSystemErrOpenFailed)}));
}

TEST_F(ImageTest, NullMemoryAnswersFalseWithoutAReport) {
    Image image;
    EXPECT_FALSE(image.Open(nullptr, 10));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ImageTest, AnOpenImageRefusesAnotherOpenAndNothingOpensWithoutTheSystem) {
    const Bytes bytes = SmallBmp();
    const auto size = static_cast<std::uint32_t>(bytes.size());
    auto image = std::make_unique<Image>();
    ASSERT_TRUE(image->Open(bytes.data(), size));
    EXPECT_FALSE(image->Open(At("x.bmp")));
    EXPECT_EQ(Taken(), Reports{Reported(Vemo::ResourceSystemErrAlreadyOpen)});

    image.reset();
    ShutdownImages();
    Image unopened;
    EXPECT_FALSE(unopened.Open(bytes.data(), size));
    EXPECT_EQ(Taken(), Reports{Reported(Vemo::ResourceSystemErrNoSystem)});
}

TEST_F(ImageTest, TheSystemRefusesAMissingCriterionAndIgnoresOtherKinds) {
    EXPECT_EQ(m_imageSystem->Open(nullptr, nullptr), nullptr);
    EXPECT_EQ(Taken(), Reports{Reported(Vemo::ImageSystemErrBadCriterion)});

    ImageSearchCriterion criterion;
    criterion.m_kind = 3;
    EXPECT_EQ(m_imageSystem->Open(&criterion, nullptr), nullptr);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ImageTest, AHandleOfTheWrongClassForTheKindIsClosedAgain) {
    auto* engine = static_cast<WrongKindEngine*>(Vemo::ImageEngine::Create(new WrongKindEngine));
    ASSERT_TRUE(m_imageSystem->AddEngine(engine));
    const Bytes bytes = SmallBmp();
    Image image;
    EXPECT_FALSE(image.Open(bytes.data(), static_cast<std::uint32_t>(bytes.size()), kWrongKindEngineId));
    EXPECT_EQ(engine->m_made, 1);
    EXPECT_EQ(engine->m_alive, 0);
    EXPECT_FALSE(image.IsOpen());
}

TEST_F(ImageTest, ShareCountsTheOtherHandleOnceMore) {
    const Bytes bytes = SmallBmp();
    Image first;
    Image second;
    EXPECT_FALSE(second.Share(first));
    EXPECT_EQ(Taken(), Reports{Reported(Vemo::ResourceSystemErrNoHandle)});
    ASSERT_TRUE(first.Open(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    ASSERT_TRUE(second.Share(first));
    EXPECT_EQ(second.GetImageHandle(), first.GetImageHandle());
    EXPECT_EQ(first.GetImageHandle()->GetReferenceCount(), 2u);
    EXPECT_FALSE(second.Share(first));
    EXPECT_EQ(Taken(), Reports{Reported(Vemo::ResourceSystemErrAlreadyOpen)});
}

TEST_F(ImageTest, TheLastReferenceGivesUpTheBytesWhileEarlierOnesKeepThem) {
    WriteFile("art.bmp", SmallBmp());
    auto first = std::make_unique<Image>();
    ASSERT_TRUE(first->Open(At("art.bmp")));
    Image second;
    ASSERT_TRUE(second.Share(*first));
    auto* handle = dynamic_cast<Vemo::StandardImageHandle*>(second.GetImageHandle());
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(handle->GetData(), nullptr);
    first.reset();
    EXPECT_NE(handle->GetData(), nullptr);
}

// The system shuts down with a container holding its selected image, and a user's Image on that image: every
// handle goes, whichever the system closes first, and nothing is freed twice.
TEST_F(ImageTest, ShuttingDownWithAContainerAndItsImageOpenLeavesNothing) {
    WriteFile("art.bmp", SmallBmp());
    Image image;
    ASSERT_TRUE(image.Open(At("art.bmp")));
    Vemo::ImageContainer container;
    ASSERT_TRUE(container.Open(image, 3));
    ASSERT_TRUE(container.SelectImage(image));
    Vemo::ImageContainer fromPath;
    ASSERT_TRUE(fromPath.Open(At("art.bmp"), 3, 0, nullptr));
    ShutdownImages();
    EXPECT_FALSE(image.IsOpen());
    EXPECT_FALSE(container.IsOpen());
    EXPECT_FALSE(fromPath.IsOpen());
}

} // namespace
} // namespace VemoTest
