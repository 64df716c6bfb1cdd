#include "platform/quicktime/NodeImages.h"
#include "platform/quicktime/MovieRecord.h"
#include "platform/testing/VrMovieWriter.h"
#include "platform/tests/QuickTimeFixture.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

namespace qt::tests {
namespace {

using detail::VrNode;

class NodeImagesTest : public QuickTimeTest {
protected:
    Movie OpenVr(const std::string& name, const testing::VrMovieSpec& spec) {
        testing::WriteVrMovie(m_drives.HostPath('C', name), spec);
        Movie movie = Open("C:\\" + name);
        EXPECT_TRUE(movie != nullptr && movie->vrWorld != nullptr) << name;
        return movie;
    }

    static detail::VrPanoramaImages Panorama(Movie movie, std::uint32_t node) {
        detail::VrPanoramaImages images;
        std::string problem;
        EXPECT_TRUE(DecodePanoramaImages(movie->source, *movie->vrWorld->Node(node), images, problem))
            << problem;
        return images;
    }
};

// The tilt a row of a cylinder of 64 rows from -20 to 20 degrees lies at.
double RowTilt(int row) {
    const double top = std::tan(20 * M_PI / 180);
    return std::atan(top - (row + 0.5) * 2 * top / 64) * 180 / M_PI;
}

TEST_F(NodeImagesTest, ACylinderIsOnePictureFromItsMinimumPanWithTheTopRowHighest) {
    Movie movie = OpenVr("hall.mov", testing::OnePanorama());
    ASSERT_NE(movie, nullptr);
    const detail::VrPanoramaImages images = Panorama(movie, 1);
    ASSERT_EQ(images.panorama.width, 360);
    ASSERT_EQ(images.panorama.height, 64);
    EXPECT_TRUE(images.faces.empty());
    EXPECT_EQ(images.hotSpots.width, 0);
    // One column a degree: the column's pan code, the row's tilt code and node 1's blue, at every tile's
    // edges and inside them.
    for (int column : {0, 1, 89, 90, 91, 179, 180, 269, 270, 359}) {
        for (int row : {0, 31, 32, 63}) {
            const testing::PanoramaCode code = testing::DecodePanoramaColor(images.panorama.At(column, row));
            EXPECT_NEAR(code.pan, column + 0.5, 360.0 / 256) << column << "," << row;
            EXPECT_NEAR(code.tilt, RowTilt(row), 0.5) << column << "," << row;
            EXPECT_EQ(code.blue, 0x40);
        }
    }
    DisposeMovie(movie);
}

TEST_F(NodeImagesTest, UprightAndRotatedTilesGiveTheSamePicture) {
    testing::VrMovieSpec spec = testing::OnePanorama();
    spec.panoramas[0].minPan = 30;
    spec.panoramas[0].maxPan = 210;
    spec.panoramas[0].width = 180;
    spec.panoramas[0].tiles = 3;
    Movie rotated = OpenVr("rotated.mov", spec);
    spec.panoramas[0].rotated = false;
    Movie upright = OpenVr("upright.mov", spec);
    ASSERT_NE(rotated, nullptr);
    ASSERT_NE(upright, nullptr);
    const detail::VrPanoramaImages first = Panorama(rotated, 1);
    const detail::VrPanoramaImages second = Panorama(upright, 1);
    ASSERT_EQ(first.panorama.width, 180);
    EXPECT_EQ(second.panorama.width, first.panorama.width);
    EXPECT_EQ(second.panorama.height, first.panorama.height);
    EXPECT_TRUE(first.panorama.pixels == second.panorama.pixels);
    EXPECT_NEAR(testing::DecodePanoramaColor(first.panorama.At(0, 32)).pan, 30.5, 1.5);
    EXPECT_NEAR(testing::DecodePanoramaColor(first.panorama.At(179, 32)).pan, 209.5, 1.5);
    DisposeMovie(rotated);
    DisposeMovie(upright);
}

TEST_F(NodeImagesTest, ACubeGivesSixFacesAsAViewerInsideSeesThem) {
    testing::VrMovieSpec spec = testing::OnePanorama();
    spec.panoramas[0].cube = true;
    spec.panoramas[0].minTilt = -90;
    spec.panoramas[0].maxTilt = 90;
    Movie movie = OpenVr("cube.mov", spec);
    ASSERT_NE(movie, nullptr);
    const detail::VrPanorama& pano = *movie->vrWorld->nodes[0].panorama;
    EXPECT_EQ(pano.kind, detail::VrPanoramaKind::Cube);
    EXPECT_EQ(pano.imageWidth, 32);
    EXPECT_EQ(pano.image.samples, 6);
    const detail::VrPanoramaImages images = Panorama(movie, 1);
    EXPECT_TRUE(images.panorama.pixels.empty());
    ASSERT_EQ(images.faces.size(), 6U);
    struct Probe {
        int face, x, y;
        double pan, tilt;
    };
    // Beside each face's middle, and at the top and bottom faces' edges: which way each face looks and
    // which of its edges meets which side.
    const Probe probes[] = {{0, 15, 15, 1.8, 1.8},  {1, 15, 15, 271.8, 1.8}, {2, 15, 15, 181.8, 1.8},
                            {3, 15, 15, 91.8, 1.8}, {4, 15, 31, 1.8, 45.9},  {4, 31, 15, 268.2, 45.9},
                            {5, 15, 0, 1.8, -45.9}, {5, 0, 15, 88.2, -45.9}};
    for (const Probe& probe : probes) {
        ASSERT_EQ(images.faces[probe.face].width, 32);
        const testing::PanoramaCode code =
            testing::DecodePanoramaColor(images.faces[probe.face].At(probe.x, probe.y));
        EXPECT_NEAR(code.pan, probe.pan, 1.5) << probe.face << " " << probe.x << "," << probe.y;
        EXPECT_NEAR(code.tilt, probe.tilt, 1) << probe.face << " " << probe.x << "," << probe.y;
    }
    DisposeMovie(movie);
}

TEST_F(NodeImagesTest, HotSpotPicturesHoldTheIdsWhereTheLinksAre) {
    Movie movie = OpenVr("two.mov", testing::TwoLinkedPanoramas());
    ASSERT_NE(movie, nullptr);
    const detail::VrPanoramaImages hall = Panorama(movie, 1);
    const detail::VrPanoramaImages garden = Panorama(movie, 2);
    ASSERT_EQ(hall.hotSpots.width, 360);
    ASSERT_EQ(hall.hotSpots.height, 64);
    EXPECT_EQ(hall.hotSpots.At(90, 32), 1);
    EXPECT_EQ(hall.hotSpots.At(80, 32), 1);
    EXPECT_EQ(hall.hotSpots.At(79, 32), 0);
    EXPECT_EQ(hall.hotSpots.At(100, 32), 0);
    EXPECT_EQ(hall.hotSpots.At(90, 0), 0) << "above the spot's tilt";
    EXPECT_EQ(hall.hotSpots.At(270, 32), 0);
    EXPECT_EQ(garden.hotSpots.At(270, 32), 2);
    EXPECT_EQ(garden.hotSpots.At(90, 32), 0);
    EXPECT_EQ(testing::DecodePanoramaColor(garden.panorama.At(10, 10)).blue, 0xC0);
    EXPECT_EQ(testing::DecodePanoramaColor(hall.panorama.At(10, 10)).blue, 0x40);
    DisposeMovie(movie);
}

TEST_F(NodeImagesTest, AnObjectGivesTheViewOfEachColumnAndRow) {
    Movie movie = OpenVr("vase.mov", testing::ObjectMovie());
    ASSERT_NE(movie, nullptr);
    detail::VrObjectImages images;
    std::string problem;
    ASSERT_TRUE(DecodeObjectImages(movie->source, movie->vrWorld->nodes[0], images, problem)) << problem;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            const detail::VrPicture* view = images.View(column, row);
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(view->width, 48);
            EXPECT_EQ(view->height, 32);
            EXPECT_EQ(view->At(24, 16), testing::ObjectViewColor(column, row)) << column << "," << row;
        }
    }
    EXPECT_EQ(images.View(4, 0), nullptr);
    EXPECT_EQ(images.View(0, 2), nullptr);
    EXPECT_EQ(images.View(0, 0, 1), nullptr);
    DisposeMovie(movie);
}

TEST_F(NodeImagesTest, TilesThatDisagreeWithTheDicingAreRefusedWithWhatIsWrong) {
    const std::string host = m_drives.HostPath('C', "narrow.mov");
    testing::WriteVrMovie(host, testing::OnePanorama());
    // The panorama's stored width (its first size field) halved: the tiles no longer fit it.
    std::fstream file(host, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t data = bytes.find("pdat") + 16;
    bytes[data + 48 + 3] = static_cast<char>(32);
    file.seekp(0);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    Movie movie = Open("C:\\narrow.mov");
    ASSERT_NE(movie, nullptr);
    ASSERT_NE(movie->vrWorld, nullptr);
    detail::VrPanoramaImages images;
    std::string problem;
    EXPECT_FALSE(DecodePanoramaImages(movie->source, movie->vrWorld->nodes[0], images, problem));
    EXPECT_EQ(problem,
              "the picture of node 1: tile 1 is 64 by 90 pixels where the node's dicing makes 32 by 90");
    EXPECT_TRUE(images.panorama.pixels.empty());
    DisposeMovie(movie);
}

} // namespace
} // namespace qt::tests
