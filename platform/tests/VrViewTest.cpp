// The perspective view of panoramas: window points land on the panorama at the angles a camera at its centre
// sees them, and the drawn pixels are the panorama's pixels there.
#include "platform/quicktime/VrView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using qt::detail::VrCylinder;
using qt::detail::VrImage;
using qt::detail::VrSourcePoint;
using qt::detail::VrView;
using qt::detail::VrViewAngles;

constexpr double kPi = 3.14159265358979323846;
// Bilinear sampling with 8-bit weights that round down, at a source point interpolated between exact ones.
constexpr double kTolerance = 1.1;

double Degrees(double radians) {
    return radians * 180 / kPi;
}

double Radians(double degrees) {
    return degrees * kPi / 180;
}

// A picture whose red says its column and green its row; blue is the face.
struct CodedPicture {
    CodedPicture(int width, int height, int face = 0) : width(width), height(height) {
        pixels.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels[static_cast<std::size_t>(y) * width + x] =
                    static_cast<std::uint32_t>((x << 16) | (y << 8) | (face * 40));
            }
        }
    }
    VrImage Picture() const { return {pixels.data(), width, height, width}; }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

// The angles a cylinder's source point stands for.
void AnglesOf(const VrSourcePoint& point, const VrImage& picture, const VrCylinder& cylinder, double& pan,
              double& tilt) {
    pan = cylinder.leftPan - point.x / picture.width * cylinder.panSpan;
    pan -= 360 * std::floor((pan + 180) / 360);
    const double top = std::tan(Radians(cylinder.topTilt));
    const double bottom = std::tan(Radians(cylinder.bottomTilt));
    tilt = Degrees(std::atan(top - point.y / picture.height * (top - bottom)));
}

struct AngleCase {
    std::string name;
    VrViewAngles view;
    double x, y; // window point, 640 by 480
    double pan, tilt;
};

// The camera's ray through a window point at (dx right, dy up) of the centre, focal length f: its pan and
// tilt for a level view are pan - atan(dx / f) and atan(dy / hypot(dx, f)).
std::vector<AngleCase> AngleCases() {
    const double f60 = 240 / std::tan(Radians(30));
    const double f30 = 240 / std::tan(Radians(15));
    return {
        {"Centre", {0, 0, 60}, 320, 240, 0, 0},
        {"CentreElsewhere", {123, 10, 45}, 320, 240, 123, 10},
        {"TopEdgeIsHalfTheField", {40, 0, 60}, 320, 0, 40, 30},
        {"RightEdgeTurnsRight", {40, 0, 60}, 640, 240, 40 - Degrees(std::atan(320 / f60)), 0},
        {"LeftEdgeTurnsLeft", {-170, 0, 30}, 0, 240, -170 + Degrees(std::atan(320 / f30)), 0},
        {"Corner",
         {0, 0, 60},
         0,
         0,
         Degrees(std::atan(320 / f60)),
         Degrees(std::atan(240 / std::hypot(320, f60)))},
        // Tilted up by 20: the centre of the bottom edge looks 10 below the level.
        {"TiltedBottomEdge", {90, 20, 60}, 320, 480, 90, -10},
        {"AcrossTheSeam", {179, 0, 60}, 0, 240, 179 + Degrees(std::atan(320 / f60)) - 360, 0},
    };
}

class VrViewAngleTest : public testing::TestWithParam<AngleCase> {};

TEST_P(VrViewAngleTest, WindowPointLooksAtTheCameraAngle) {
    const AngleCase& c = GetParam();
    const CodedPicture coded(720, 300);
    VrView view(640, 480);
    for (const VrCylinder& cylinder : {VrCylinder{180, 360, 40, -40}, VrCylinder{-180, -360, 40, -40}}) {
        double pan = 0;
        double tilt = 0;
        AnglesOf(view.CylinderPoint(coded.Picture(), cylinder, c.view, c.x, c.y), coded.Picture(), cylinder,
                 pan, tilt);
        EXPECT_NEAR(pan, c.pan, 1e-6) << cylinder.panSpan;
        EXPECT_NEAR(tilt, c.tilt, 1e-6) << cylinder.panSpan;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VrViewAngleTest, testing::ValuesIn(AngleCases()),
                         [](const auto& info) { return info.param.name; });

// Every drawn pixel is the source pixel (bilinear: within kTolerance of it) that the exact projection gives.
void ExpectDrawnMatchesProjection(VrView& view, const CodedPicture& coded, const VrCylinder& cylinder,
                                  const VrViewAngles& angles) {
    std::vector<std::uint32_t> window(static_cast<std::size_t>(view.Width()) * view.Height(), 0xFFFFFFFF);
    view.DrawCylinder(coded.Picture(), cylinder, angles, window.data(), view.Width());
    int checked = 0;
    for (int y = 0; y < view.Height(); y += 7) {
        for (int x = 0; x < view.Width(); x += 5) {
            const VrSourcePoint point =
                view.CylinderPoint(coded.Picture(), cylinder, angles, x + 0.5, y + 0.5);
            const std::uint32_t pixel = window[static_cast<std::size_t>(y) * view.Width() + x];
            const double column = std::clamp(point.x - 0.5, 0.0, coded.width - 1.0);
            const double row = std::clamp(point.y - 0.5, 0.0, coded.height - 1.0);
            // Next to the wrap seam the blend of the last and first columns says nothing.
            if (cylinder.wraps && (column < 1 || column > coded.width - 2)) {
                continue;
            }
            ASSERT_NEAR((pixel >> 16) & 0xFF, column, kTolerance) << "at " << x << "," << y;
            ASSERT_NEAR((pixel >> 8) & 0xFF, row, kTolerance) << "at " << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(VrViewTest, DrawnCylinderIsTheProjection) {
    const CodedPicture coded(250, 200);
    // As seen, and mirrored: column 0 at pan -90, columns following the rising pan.
    for (const VrCylinder& cylinder : {VrCylinder{0, 360, 45, -45}, VrCylinder{-90, -360, 45, -45}}) {
        VrView view(640, 480);
        for (const VrViewAngles& angles : {VrViewAngles{0, 0, 60}, VrViewAngles{200, 25, 50},
                                           VrViewAngles{-30, -30, 30}, VrViewAngles{91, 5, 75}}) {
            SCOPED_TRACE(std::to_string(cylinder.panSpan) + " at " + std::to_string(angles.pan));
            ExpectDrawnMatchesProjection(view, coded, cylinder, angles);
        }
    }
}

TEST(VrViewTest, PartialCylinderAndOddWindowSize) {
    const CodedPicture coded(240, 120);
    const VrCylinder cylinder{60, 120, 30, -30, false};
    VrView view(333, 201);
    ExpectDrawnMatchesProjection(view, coded, cylinder, VrViewAngles{0, 0, 40});
}

TEST(VrViewTest, WrappedCylinderDrawsAcrossItsSeam) {
    // Left column at pan 0: looking at pan 0 puts the seam in the window's middle.
    const CodedPicture coded(200, 100);
    VrView view(64, 48);
    std::vector<std::uint32_t> window(64 * 48);
    view.DrawCylinder(coded.Picture(), VrCylinder{0, 360, 30, -30}, VrViewAngles{0, 0, 40}, window.data(),
                      64);
    const std::uint32_t leftOfSeam = (window[24 * 64 + 20] >> 16) & 0xFF;
    const std::uint32_t rightOfSeam = (window[24 * 64 + 44] >> 16) & 0xFF;
    EXPECT_GT(leftOfSeam, 180u) << "the end of the picture shows left of pan 0";
    EXPECT_LT(rightOfSeam, 20u) << "its start shows right of it";
}

std::array<CodedPicture, 6> CodedFaces(int size) {
    return {CodedPicture(size, size, 0), CodedPicture(size, size, 1), CodedPicture(size, size, 2),
            CodedPicture(size, size, 3), CodedPicture(size, size, 4), CodedPicture(size, size, 5)};
}

std::array<VrImage, 6> Pictures(const std::array<CodedPicture, 6>& faces) {
    std::array<VrImage, 6> pictures;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        pictures[i] = faces[i].Picture();
    }
    return pictures;
}

struct CubeCase {
    std::string name;
    VrViewAngles view;
    double x, y; // window point, 200 by 200
    int face;
    double u, v; // on the face, 0..1 right and down
};

std::vector<CubeCase> CubeCases() {
    const double f60 = 100 / std::tan(Radians(30));
    // A 90-degree field in a square window shows exactly one face when looking straight at it.
    return {
        {"Front", {0, 0, 90}, 100, 100, qt::detail::kVrFront, 0.5, 0.5},
        {"FrontTopLeft", {0, 0, 90}, 1, 1, qt::detail::kVrFront, 0.005, 0.005},
        {"Right", {-90, 0, 90}, 100, 100, qt::detail::kVrRight, 0.5, 0.5},
        {"Back", {180, 0, 90}, 100, 100, qt::detail::kVrBack, 0.5, 0.5},
        {"Left", {90, 0, 90}, 100, 100, qt::detail::kVrLeft, 0.5, 0.5},
        // Just right of the front's right edge lies the right face's left edge, at the same height.
        {"FrontIntoRight",
         {-45, 0, 60},
         101,
         60,
         qt::detail::kVrRight,
         1 / (f60 + 1),
         0.5 - 40 * std::sqrt(2) / (f60 + 1) / 2},
        // Looking up from the front, the top's bottom edge meets the front's top edge.
        {"TopFromFront", {0, 89.9, 90}, 100, 199, qt::detail::kVrTop, 0.5, 0.995},
        {"BottomFromFront", {0, -89.9, 90}, 100, 1, qt::detail::kVrBottom, 0.5, 0.005},
        // Looking up from the right face, the top is seen along its right edge.
        {"TopFromRight", {-90, 89.9, 90}, 100, 199, qt::detail::kVrTop, 0.995, 0.5},
    };
}

class VrViewCubeTest : public testing::TestWithParam<CubeCase> {};

TEST_P(VrViewCubeTest, WindowPointLandsOnTheFace) {
    const CubeCase& c = GetParam();
    const std::array<CodedPicture, 6> faces = CodedFaces(100);
    VrView view(200, 200);
    const VrSourcePoint point = view.CubePoint(Pictures(faces), c.view, c.x, c.y);
    EXPECT_EQ(point.face, c.face);
    EXPECT_NEAR(point.x / 100, c.u, 0.01);
    EXPECT_NEAR(point.y / 100, c.v, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Cases, VrViewCubeTest, testing::ValuesIn(CubeCases()),
                         [](const auto& info) { return info.param.name; });

TEST(VrViewTest, DrawnCubeIsTheProjection) {
    const std::array<CodedPicture, 6> faces = CodedFaces(200);
    VrView view(320, 240);
    std::vector<std::uint32_t> window(320 * 240);
    const VrViewAngles angles{-30, 35, 80};
    view.DrawCube(Pictures(faces), angles, window.data(), 320);
    int checked = 0;
    for (int y = 0; y < 240; y += 3) {
        for (int x = 0; x < 320; x += 3) {
            const VrSourcePoint point = view.CubePoint(Pictures(faces), angles, x + 0.5, y + 0.5);
            const double column = point.x - 0.5;
            const double row = point.y - 0.5;
            // The faces' outer pixels are clamped, not blended with their neighbours.
            if (column < 1 || row < 1 || column > 198 || row > 198) {
                continue;
            }
            const std::uint32_t pixel = window[static_cast<std::size_t>(y) * 320 + x];
            ASSERT_EQ(static_cast<int>(pixel & 0xFF), point.face * 40) << x << "," << y;
            ASSERT_NEAR((pixel >> 16) & 0xFF, column, kTolerance) << x << "," << y;
            ASSERT_NEAR((pixel >> 8) & 0xFF, row, kTolerance) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 3000);
}

} // namespace
