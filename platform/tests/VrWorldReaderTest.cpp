#include "platform/quicktime/MovieRecord.h"
#include "platform/testing/VrMovieWriter.h"
#include "platform/tests/QuickTimeFixture.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qt::tests {
namespace {

using detail::VrHotSpotType;
using detail::VrNode;
using detail::VrNodeType;
using detail::VrWorld;

class VrWorldReaderTest : public QuickTimeTest {
protected:
    std::string WriteVr(const std::string& name, const testing::VrMovieSpec& spec) {
        testing::WriteVrMovie(m_drives.HostPath('C', name), spec);
        return "C:\\" + name;
    }

    static const VrWorld* World(Movie movie) { return movie != nullptr ? movie->vrWorld.get() : nullptr; }
};

TEST_F(VrWorldReaderTest, APanoramaMovieHasItsVrTrackAndWorld) {
    Movie movie = Open(WriteVr("hall.mov", testing::OnePanorama()));
    ASSERT_NE(movie, nullptr);
    Track vr = QTVRGetQTVRTrack(movie, 1);
    ASSERT_NE(vr, nullptr);
    EXPECT_EQ(vr, GetMovieIndexedTrack(movie, 1));
    EXPECT_EQ(QTVRGetQTVRTrack(movie, 2), nullptr);
    Rect box{};
    GetMovieBox(movie, &box);
    EXPECT_EQ(box.right, 160);
    EXPECT_EQ(box.bottom, 120);
    const VrWorld* world = World(movie);
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->name, "scene");
    EXPECT_EQ(world->defaultNode, 1U);
    ASSERT_EQ(world->nodes.size(), 1U);
    const VrNode& node = world->nodes[0];
    EXPECT_EQ(node.id, 1U);
    EXPECT_EQ(node.name, "hall");
    EXPECT_EQ(node.type, VrNodeType::Panorama);
    EXPECT_TRUE(node.hotSpots.empty());
    ASSERT_TRUE(node.panorama.has_value());
    const detail::VrPanorama& pano = *node.panorama;
    EXPECT_EQ(pano.kind, detail::VrPanoramaKind::Cylinder);
    EXPECT_EQ(pano.minPan, 0);
    EXPECT_EQ(pano.maxPan, 360);
    EXPECT_TRUE(pano.FullCircle());
    EXPECT_EQ(pano.minTilt, -20);
    EXPECT_EQ(pano.maxTilt, 20);
    EXPECT_EQ(pano.minFov, 10);
    EXPECT_EQ(pano.maxFov, 40);
    EXPECT_EQ(pano.defaultPan, 0);
    EXPECT_EQ(pano.defaultTilt, 0);
    EXPECT_EQ(pano.defaultFov, 40);
    EXPECT_TRUE(pano.rotatedTiles);
    EXPECT_EQ(pano.imageWidth, 64);
    EXPECT_EQ(pano.imageHeight, 360);
    EXPECT_EQ(pano.tilesAcross, 1);
    EXPECT_EQ(pano.tilesDown, 4);
    EXPECT_EQ(pano.image.firstSample, 0);
    EXPECT_EQ(pano.image.samples, 4);
    EXPECT_EQ(pano.hotSpots.trackId, 0U);
    EXPECT_EQ(node.start, 0);
    EXPECT_EQ(node.duration, 600);
    DisposeMovie(movie);
}

TEST_F(VrWorldReaderTest, AnUprightPanoramaKeepsItsTilesUnturned) {
    testing::VrMovieSpec spec = testing::OnePanorama();
    spec.panoramas[0].rotated = false;
    spec.panoramas[0].minPan = 90;
    spec.panoramas[0].maxPan = 270;
    Movie movie = Open(WriteVr("upright.mov", spec));
    ASSERT_NE(World(movie), nullptr);
    const detail::VrPanorama& pano = *World(movie)->nodes[0].panorama;
    EXPECT_FALSE(pano.rotatedTiles);
    EXPECT_FALSE(pano.FullCircle());
    EXPECT_EQ(pano.imageWidth, 360);
    EXPECT_EQ(pano.imageHeight, 64);
    EXPECT_EQ(pano.tilesAcross, 4);
    EXPECT_EQ(pano.tilesDown, 1);
    EXPECT_EQ(pano.defaultPan, 90) << "a default outside the pan range is brought into it";
    DisposeMovie(movie);
}

TEST_F(VrWorldReaderTest, TwoLinkedPanoramasHaveTheirLinksAndPictureSpans) {
    Movie movie = Open(WriteVr("two.mov", testing::TwoLinkedPanoramas()));
    const VrWorld* world = World(movie);
    ASSERT_NE(world, nullptr);
    ASSERT_EQ(world->nodes.size(), 2U);
    const VrNode* hall = world->Node(1);
    const VrNode* garden = world->Node(2);
    ASSERT_NE(hall, nullptr);
    ASSERT_NE(garden, nullptr);
    EXPECT_EQ(garden->name, "garden");
    EXPECT_EQ(garden->start, 600);
    ASSERT_EQ(hall->hotSpots.size(), 1U);
    const detail::VrHotSpot& door = hall->hotSpots[0];
    EXPECT_EQ(door.id, 1U);
    EXPECT_EQ(door.type, VrHotSpotType::Link);
    EXPECT_EQ(door.name, "door");
    EXPECT_EQ(door.toNode, 2U);
    EXPECT_TRUE(door.toPanValid && door.toTiltValid && door.toFovValid);
    EXPECT_EQ(door.toPan, 180);
    EXPECT_EQ(door.toTilt, 0);
    EXPECT_EQ(door.toFov, 40);
    EXPECT_EQ(door.bestPan, 90);
    ASSERT_NE(garden->HotSpot(2), nullptr);
    EXPECT_EQ(garden->HotSpot(2)->toNode, 1U);
    EXPECT_FALSE(garden->HotSpot(2)->toPanValid || garden->HotSpot(2)->toFovValid);
    EXPECT_EQ(hall->HotSpot(2), nullptr);
    EXPECT_EQ(garden->panorama->image.firstSample, 4);
    EXPECT_EQ(garden->panorama->image.samples, 4);
    EXPECT_NE(garden->panorama->hotSpots.trackId, 0U);
    EXPECT_NE(garden->panorama->hotSpots.trackId, garden->panorama->image.trackId);
    EXPECT_EQ(garden->panorama->hotSpots.firstSample, 4);
    DisposeMovie(movie);
}

TEST_F(VrWorldReaderTest, AnObjectMovieHasItsGridOfViews) {
    Movie movie = Open(WriteVr("vase.mov", testing::ObjectMovie()));
    ASSERT_NE(QTVRGetQTVRTrack(movie, 1), nullptr);
    const VrWorld* world = World(movie);
    ASSERT_NE(world, nullptr);
    ASSERT_EQ(world->nodes.size(), 1U);
    const VrNode& node = world->nodes[0];
    EXPECT_EQ(node.type, VrNodeType::Object);
    ASSERT_TRUE(node.object.has_value());
    const detail::VrObject& object = *node.object;
    EXPECT_EQ(object.columns, 4);
    EXPECT_EQ(object.rows, 2);
    EXPECT_EQ(object.framesPerView, 1);
    EXPECT_EQ(object.image.samples, 8);
    EXPECT_EQ(object.viewDuration, 60);
    EXPECT_TRUE(object.wrapPan);
    EXPECT_FALSE(object.wrapTilt);
    EXPECT_TRUE(object.canZoom);
    EXPECT_EQ(object.minPan, 0);
    EXPECT_EQ(object.maxPan, 360);
    EXPECT_EQ(object.minTilt, -30);
    EXPECT_EQ(object.maxTilt, 30);
    EXPECT_EQ(object.defaultTilt, 30);
    DisposeMovie(movie);
}

TEST_F(VrWorldReaderTest, AnOrdinaryMovieHasNoVrTrackAndSaysNothing) {
    ::testing::internal::CaptureStderr();
    Movie movie = Open(Write("clip.mov", Pictures()));
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(QTVRGetQTVRTrack(movie, 1), nullptr);
    EXPECT_EQ(World(movie), nullptr);
    EXPECT_EQ(GetMovieTrackCount(movie), 1);
    EXPECT_EQ(said, "");
    DisposeMovie(movie);
}

struct DamageCase {
    const char* atom;
    testing::AtomDamage damage;
    const char* said;
};

std::ostream& operator<<(std::ostream& out, const DamageCase& damage) {
    return out << damage.atom << " " << static_cast<int>(damage.damage);
}

class VrDamageTest : public VrWorldReaderTest, public ::testing::WithParamInterface<DamageCase> {};

// A damaged VR atom refuses the VR part alone: the movie still opens, as an ordinary movie, and the standard
// error names the file and what is damaged.
TEST_P(VrDamageTest, ADamagedVrAtomLeavesAnOrdinaryMovie) {
    const DamageCase& damage = GetParam();
    const std::string path = WriteVr("damaged.mov", testing::TwoLinkedPanoramas());
    testing::DamageVrAtom(m_drives.HostPath('C', "damaged.mov"), damage.atom, damage.damage);
    ::testing::internal::CaptureStderr();
    Movie movie = Open(path);
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(QTVRGetQTVRTrack(movie, 1), nullptr);
    EXPECT_EQ(World(movie), nullptr);
    EXPECT_NE(said.find(m_drives.HostPath('C', "damaged.mov")), std::string::npos) << said;
    EXPECT_NE(said.find("QuickTime VR part is damaged"), std::string::npos) << said;
    EXPECT_NE(said.find(damage.said), std::string::npos) << said;
    SetMovieTimeValue(movie, GetMovieDuration(movie) / 2);
    TaskMovies(movie, 0);
    DisposeMovie(movie);
}

using testing::AtomDamage;

INSTANTIATE_TEST_SUITE_P(
    Atoms, VrDamageTest,
    ::testing::Values(DamageCase{"sean", AtomDamage::ChildCountTooHigh, "fewer children"},
                      DamageCase{"vrsc", AtomDamage::SizeBeyondParent, "size outside its parent"},
                      DamageCase{"vrsc", AtomDamage::SizeBelowHeader, "size outside its parent"},
                      DamageCase{"vrsc", AtomDamage::LeafCut, "in the VR world"},
                      DamageCase{"ndhd", AtomDamage::ZeroFields, "unknown kind"},
                      DamageCase{"ndhd", AtomDamage::LeafCut, "node 1"},
                      DamageCase{"hspa", AtomDamage::ChildCountTooHigh, "node 1"},
                      DamageCase{"hsin", AtomDamage::LeafCut, "in node 1"},
                      DamageCase{"hsin", AtomDamage::HugeFields, "not a number"},
                      DamageCase{"link", AtomDamage::HugeFields, "hot spot 1"},
                      DamageCase{"link", AtomDamage::ZeroFields, "missing node 0"},
                      DamageCase{"pdat", AtomDamage::SizeBeyondParent, "size outside its parent"},
                      DamageCase{"pdat", AtomDamage::LeafCut, "cut short"},
                      DamageCase{"pdat", AtomDamage::ZeroFields, "no usable range"},
                      DamageCase{"pdat", AtomDamage::HugeFields, "not a number"}));

// Fields of a panorama's record that disagree with the file: each refuses the VR part with what is wrong.
TEST_F(VrWorldReaderTest, PanoramaFieldsThatDisagreeWithTheFileAreRefused) {
    struct Field {
        std::size_t offset;
        int bytes;
        std::uint32_t value;
        const char* said;
    };
    const Field fields[] = {
        {4, 4, 0, "names a 'imgt' track that the file does not have"},
        {4, 4, 7, "names a 'imgt' track that the file does not have"},
        {8, 4, 3, "names a 'hott' track that the file does not have"},
        {56, 2, 3, "picture is not diced into whole tiles"},
        {58, 2, 2, "picture has 4 tiles where its dicing makes 2"},
        {76, 4, 0x73706865, "unknown kind 'sphe'"},
    };
    for (const Field& field : fields) {
        const std::string host = m_drives.HostPath('C', "fields.mov");
        testing::WriteVrMovie(host, testing::TwoLinkedPanoramas());
        std::fstream file(host, std::ios::in | std::ios::out | std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        // The record follows the atom's type, its id, and its reserved bytes and child count.
        const std::size_t at = bytes.find("pdat") + 16 + field.offset;
        for (int i = 0; i < field.bytes; ++i) {
            bytes[at + static_cast<std::size_t>(i)] =
                static_cast<char>(field.value >> (8 * (field.bytes - 1 - i)));
        }
        file.seekp(0);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        ::testing::internal::CaptureStderr();
        Movie movie = Open("C:\\fields.mov");
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(movie, nullptr);
        EXPECT_EQ(World(movie), nullptr) << field.said;
        EXPECT_NE(said.find(field.said), std::string::npos) << said;
        DisposeMovie(movie);
    }
}

TEST_F(VrWorldReaderTest, DamagedObjectAtomsLeaveAnOrdinaryMovie) {
    for (AtomDamage damage : {AtomDamage::ZeroFields, AtomDamage::HugeFields, AtomDamage::LeafCut}) {
        const std::string path = WriteVr("object.mov", testing::ObjectMovie());
        testing::DamageVrAtom(m_drives.HostPath('C', "object.mov"), "obji", damage);
        ::testing::internal::CaptureStderr();
        Movie movie = Open(path);
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(movie, nullptr);
        EXPECT_EQ(World(movie), nullptr) << static_cast<int>(damage);
        EXPECT_NE(said.find("the object of node 1"), std::string::npos) << said;
        DisposeMovie(movie);
    }
}

} // namespace
} // namespace qt::tests
