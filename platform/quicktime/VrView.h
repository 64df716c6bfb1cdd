// The perspective view of a VR panorama: what a camera at the panorama's centre sees at a pan, tilt and
// field of view, drawn into a 32-bit x-R-G-B picture of the window's size, and the point of the panorama's
// pictures that a window point shows. Internal to the layer.
//
// Angles are degrees. Pan grows counterclockwise seen from above (turning left), tilt grows upwards; the
// field of view is the window's vertical angle. A cylindrical panorama is one picture whose left column is at
// leftPan and whose columns go on to the right (pan falling) across panSpan; its rows are at equal steps of
// height on the cylinder (the tangent of the tilt), from topTilt down to bottomTilt. A span of 360 or more
// wraps. A cubic panorama is six square faces, seen from inside: front (pan 0), right (pan -90), back (pan
// 180), left (pan 90), top and bottom, the top seen looking up from the front (the front's top edge along
// its bottom edge) and the bottom looking down from the front (the front's bottom edge along its top edge).
//
// Accuracy: the source point is exact at every 16th (cube: 8th) pixel of each row and column and interpolated
// in between, except in blocks where faces meet or where the interpolation would stray by more than a
// twentieth of a source pixel at the block's centre: those are projected pixel by pixel. It is then sampled
// bilinearly (8-bit weights), so a drawn pixel has the colour of a source point within 1.1 source pixels of
// the exact projection. Pictures may be up to 16384 pixels a side.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qt::detail {

struct VrImage {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t pitch = 0; // pixels from one row to the next
};

struct VrCylinder {
    // The pan at the picture's left edge, and the pan its columns cross from there: positive when the pan
    // falls from column to column (the scene as seen), negative when it rises (the scene mirrored).
    double leftPan = 0;
    double panSpan = 360;
    double topTilt = 30;
    double bottomTilt = -30;
    // The last column meets the first.
    bool wraps = true;
};

struct VrViewAngles {
    double pan = 0;
    double tilt = 0;
    double fieldOfView = 60;
};

// Where a window point falls on the panorama: a face (0-5, always 0 for a cylinder) and the point on its
// picture, in pixels (pixel centres at .5).
struct VrSourcePoint {
    int face = 0;
    double x = 0;
    double y = 0;
};

enum VrFace { kVrFront, kVrRight, kVrBack, kVrLeft, kVrTop, kVrBottom };

class VrView {
public:
    // The window drawn into.
    VrView(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void DrawCylinder(const VrImage& source, const VrCylinder& cylinder, const VrViewAngles& view,
                      std::uint32_t* target, std::ptrdiff_t pitch);
    void DrawCube(const std::array<VrImage, 6>& faces, const VrViewAngles& view, std::uint32_t* target,
                  std::ptrdiff_t pitch);

    // The exact projection of the window point (x, y) (pixel centres at .5).
    VrSourcePoint CylinderPoint(const VrImage& source, const VrCylinder& cylinder, const VrViewAngles& view,
                                double x, double y) const;
    VrSourcePoint CubePoint(const std::array<VrImage, 6>& faces, const VrViewAngles& view, double x,
                            double y) const;

    // Half the window's horizontal angle at a (vertical) field of view.
    double HalfWidthAngle(double fieldOfView) const;

private:
    // The grid's steps: a cube's faces bend the source line more within a block than a cylinder does.
    static constexpr int kCylinderBlock = 16;
    static constexpr int kCubeBlock = 8;

    struct Ray {
        double x, y, z;
    };
    // A view's rays: window point (x, y) looks along origin + x * right + y * down.
    struct Camera {
        Ray origin, right, down;
    };
    Camera CameraFor(const VrViewAngles& view) const;

    struct Node {
        int face;
        std::int32_t x, y; // 16.16
    };
    // Finds the source points at the grid's nodes (every block pixels, on pixel edges) with pointAt(x, y),
    // then draws each block by interpolating its corners, or where that would stray, pixel by pixel.
    template <typename PointAt>
    void DrawGrid(const std::array<VrImage, 6>& faces, bool wraps, int block, PointAt pointAt,
                  std::uint32_t* target, std::ptrdiff_t pitch);

    int m_width;
    int m_height;
    std::vector<Node> m_nodes;
    std::vector<std::uint8_t> m_interpolated;
};

} // namespace qt::detail
