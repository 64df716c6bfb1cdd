#include "platform/quicktime/VrView.h"

#include <algorithm>
#include <cmath>

namespace qt::detail {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180;
constexpr double kOne = 65536.0;
// How far (source pixels) the source point at a block's centre may lie from where interpolating the block's
// corners puts it.
constexpr double kLargestBend = 0.05;

double Dot(double ax, double ay, double az, double bx, double by, double bz) {
    return ax * bx + ay * by + az * bz;
}

// a * (256 - weight) + b * weight, per channel, weight 0-256.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue = (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8) & 0xFF00FFu;
    const std::uint32_t green = (((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight) >> 8) & 0x00FF00u;
    return redBlue | green;
}

inline std::uint32_t Bilinear(const std::uint32_t* row0, const std::uint32_t* row1, int x0, int x1,
                              std::uint32_t fx, std::uint32_t fy) {
    return Mix(Mix(row0[x0], row0[x1], fx), Mix(row1[x0], row1[x1], fx), fy);
}

// Fixed-point 16.16 source coordinate of a pixel centre's sample: the pixel to its upper left and the
// fraction towards the next.
inline void Split(std::int32_t value, int& whole, std::uint32_t& fraction) {
    const std::int32_t corner = value - 32768;
    whole = corner >> 16;
    fraction = (static_cast<std::uint32_t>(corner) >> 8) & 0xFFu;
}

} // namespace

VrView::VrView(int width, int height) : m_width(std::max(width, 1)), m_height(std::max(height, 1)) {}

double VrView::HalfWidthAngle(double fieldOfView) const {
    const double focal = m_height / 2.0 / std::tan(fieldOfView * kRadiansPerDegree / 2);
    return std::atan(m_width / 2.0 / focal) / kRadiansPerDegree;
}

VrView::Camera VrView::CameraFor(const VrViewAngles& view) const {
    const double pan = view.pan * kRadiansPerDegree;
    const double tilt = view.tilt * kRadiansPerDegree;
    const double focal = m_height / 2.0 / std::tan(view.fieldOfView * kRadiansPerDegree / 2);
    const Ray right{std::cos(pan), 0, std::sin(pan)};
    const Ray level{-std::sin(pan), 0, std::cos(pan)};
    const Ray forward{level.x * std::cos(tilt), std::sin(tilt), level.z * std::cos(tilt)};
    const Ray up{-level.x * std::sin(tilt), std::cos(tilt), -level.z * std::sin(tilt)};
    const double halfWidth = m_width / 2.0;
    const double halfHeight = m_height / 2.0;
    Camera camera;
    camera.right = right;
    camera.down = {-up.x, -up.y, -up.z};
    camera.origin = {forward.x * focal - right.x * halfWidth + up.x * halfHeight,
                     forward.y * focal - right.y * halfWidth + up.y * halfHeight,
                     forward.z * focal - right.z * halfWidth + up.z * halfHeight};
    return camera;
}

VrSourcePoint VrView::CylinderPoint(const VrImage& source, const VrCylinder& cylinder,
                                    const VrViewAngles& view, double x, double y) const {
    const Camera camera = CameraFor(view);
    const double rx = camera.origin.x + x * camera.right.x + y * camera.down.x;
    const double ry = camera.origin.y + x * camera.right.y + y * camera.down.y;
    const double rz = camera.origin.z + x * camera.right.z + y * camera.down.z;
    const double pan = std::atan2(-rx, rz) / kRadiansPerDegree;
    const double height = ry / std::hypot(rx, rz);
    const double top = std::tan(cylinder.topTilt * kRadiansPerDegree);
    const double bottom = std::tan(cylinder.bottomTilt * kRadiansPerDegree);
    double column = (cylinder.leftPan - pan) / cylinder.panSpan;
    if (cylinder.wraps) {
        column -= std::floor(column);
    }
    return {0, column * source.width, (top - height) / (top - bottom) * source.height};
}

namespace {

// The face a ray meets and where on it, in -1..1 (right and down).
int FaceOf(double rx, double ry, double rz, double& u, double& v) {
    const double ax = std::fabs(rx);
    const double ay = std::fabs(ry);
    const double az = std::fabs(rz);
    if (az >= ax && az >= ay) {
        const double inverse = 1 / rz;
        u = rx * inverse;
        v = rz > 0 ? -ry * inverse : ry * inverse;
        return rz > 0 ? kVrFront : kVrBack;
    }
    if (ax >= ay) {
        const double inverse = 1 / rx;
        u = -rz * inverse;
        v = rx > 0 ? -ry * inverse : ry * inverse;
        return rx > 0 ? kVrRight : kVrLeft;
    }
    const double inverse = 1 / ry;
    u = ry > 0 ? rx * inverse : -rx * inverse;
    v = rz * inverse;
    return ry > 0 ? kVrTop : kVrBottom;
}

} // namespace

VrSourcePoint VrView::CubePoint(const std::array<VrImage, 6>& faces, const VrViewAngles& view, double x,
                                double y) const {
    const Camera camera = CameraFor(view);
    double u = 0;
    double v = 0;
    const int face = FaceOf(camera.origin.x + x * camera.right.x + y * camera.down.x,
                            camera.origin.y + x * camera.right.y + y * camera.down.y,
                            camera.origin.z + x * camera.right.z + y * camera.down.z, u, v);
    return {face, (u + 1) / 2 * faces[face].width, (v + 1) / 2 * faces[face].height};
}

namespace {

// Samples a run of pixels along a straight line of source points (16.16, pixel centres at .5).
void SampleRun(const VrImage& source, bool wraps, std::int32_t sx, std::int32_t sy, std::int32_t stepX,
               std::int32_t stepY, int count, std::uint32_t* out) {
    const int lastX = source.width - 1;
    const int lastY = source.height - 1;
    int firstX = 0;
    int firstY = 0;
    int endX = 0;
    int endY = 0;
    std::uint32_t unused = 0;
    Split(sx, firstX, unused);
    Split(sy, firstY, unused);
    Split(sx + stepX * (count - 1), endX, unused);
    Split(sy + stepY * (count - 1), endY, unused);
    if (std::min(firstX, endX) >= 0 && std::max(firstX, endX) < lastX && std::min(firstY, endY) >= 0 &&
        std::max(firstY, endY) < lastY) {
        // Every sample and its neighbours inside the picture.
        for (int i = 0; i < count; ++i, sx += stepX, sy += stepY) {
            const std::int32_t cx = sx - 32768;
            const std::int32_t cy = sy - 32768;
            const std::uint32_t* row = source.pixels + (cy >> 16) * source.pitch + (cx >> 16);
            out[i] = Bilinear(row, row + source.pitch, 0, 1, (static_cast<std::uint32_t>(cx) >> 8) & 0xFFu,
                              (static_cast<std::uint32_t>(cy) >> 8) & 0xFFu);
        }
        return;
    }
    for (int i = 0; i < count; ++i, sx += stepX, sy += stepY) {
        int x0 = 0;
        int y0 = 0;
        std::uint32_t fx = 0;
        std::uint32_t fy = 0;
        Split(sx, x0, fx);
        Split(sy, y0, fy);
        int x1 = x0 + 1;
        if (wraps) {
            x0 %= source.width;
            x0 += x0 < 0 ? source.width : 0;
            x1 = x0 == lastX ? 0 : x0 + 1;
        } else {
            x0 = std::clamp(x0, 0, lastX);
            x1 = std::clamp(x1, 0, lastX);
        }
        const int y1 = std::clamp(y0 + 1, 0, lastY);
        y0 = std::clamp(y0, 0, lastY);
        out[i] =
            Bilinear(source.pixels + y0 * source.pitch, source.pixels + y1 * source.pitch, x0, x1, fx, fy);
    }
}

std::int32_t Fixed(double value) {
    return static_cast<std::int32_t>(std::lround(value * kOne));
}

} // namespace

template <typename PointAt>
void VrView::DrawGrid(const std::array<VrImage, 6>& faces, bool wraps, int block, PointAt pointAt,
                      std::uint32_t* target, std::ptrdiff_t pitch) {
    const int columns = (m_width + block - 1) / block + 1;
    const int rows = (m_height + block - 1) / block + 1;
    m_nodes.resize(static_cast<std::size_t>(columns) * rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const VrSourcePoint point =
                pointAt(std::min(column * block, m_width), std::min(row * block, m_height));
            const VrImage& face = faces[point.face];
            // Kept within the picture's reach, so that the fixed-point steps cannot overflow.
            const double limitX = wraps ? 1.5 * face.width + 1 : face.width + 1.0;
            m_nodes[static_cast<std::size_t>(row) * columns + column] = {
                point.face, Fixed(std::clamp(point.x, -limitX, limitX)),
                Fixed(std::clamp(point.y, -1.0, face.height + 1.0))};
        }
    }
    // A block is interpolated when its four corners lie on one face and the source point at its centre is
    // where interpolation puts it; otherwise each of its pixels is projected.
    m_interpolated.assign(static_cast<std::size_t>(columns - 1) * (rows - 1), 0);
    for (int row = 0; row + 1 < rows; ++row) {
        for (int column = 0; column + 1 < columns; ++column) {
            const std::size_t upper = static_cast<std::size_t>(row) * columns + column;
            const Node& a = m_nodes[upper];
            const Node& b = m_nodes[upper + 1];
            const Node& c = m_nodes[upper + columns];
            const Node& d = m_nodes[upper + columns + 1];
            if (a.face != b.face || a.face != c.face || a.face != d.face) {
                continue;
            }
            const double centreX = (std::min((column + 1) * block, m_width) + column * block) / 2.0;
            const double centreY = (std::min((row + 1) * block, m_height) + row * block) / 2.0;
            const VrSourcePoint centre = pointAt(centreX, centreY);
            const double meanX = (static_cast<double>(a.x) + b.x + c.x + d.x) / 4 / kOne;
            const double meanY = (static_cast<double>(a.y) + b.y + c.y + d.y) / 4 / kOne;
            m_interpolated[static_cast<std::size_t>(row) * (columns - 1) + column] =
                centre.face == a.face && std::fabs(centre.x - meanX) < kLargestBend &&
                std::fabs(centre.y - meanY) < kLargestBend;
        }
    }
    for (int y = 0; y < m_height; ++y) {
        const int row = y / block;
        const int rowTop = row * block;
        // Pixel centres lie half a pixel inside the nodes, which sit on pixel edges.
        const std::int64_t along = 2 * (y - rowTop) + 1;
        const std::int64_t whole = 2 * static_cast<std::int64_t>(std::min(block, m_height - rowTop));
        std::uint32_t* out = target + y * pitch;
        for (int column = 0; column + 1 < columns; ++column) {
            const int left = column * block;
            const int span = std::min(block, m_width - left);
            if (m_interpolated[static_cast<std::size_t>(row) * (columns - 1) + column] == 0) {
                for (int i = 0; i < span; ++i) {
                    const VrSourcePoint point = pointAt(left + i + 0.5, y + 0.5);
                    SampleRun(faces[point.face], wraps, Fixed(point.x), Fixed(point.y), 0, 0, 1,
                              out + left + i);
                }
                continue;
            }
            const std::size_t upper = static_cast<std::size_t>(row) * columns + column;
            const Node& a = m_nodes[upper];
            const Node& b = m_nodes[upper + 1];
            const Node& c = m_nodes[upper + columns];
            const Node& d = m_nodes[upper + columns + 1];
            auto between = [&](std::int32_t top, std::int32_t bottom) {
                return static_cast<std::int32_t>(top +
                                                 (bottom - static_cast<std::int64_t>(top)) * along / whole);
            };
            const std::int32_t startX = between(a.x, c.x);
            const std::int32_t startY = between(a.y, c.y);
            const std::int32_t stepX = (between(b.x, d.x) - startX) / span;
            const std::int32_t stepY = (between(b.y, d.y) - startY) / span;
            SampleRun(faces[a.face], wraps, startX + stepX / 2, startY + stepY / 2, stepX, stepY, span,
                      out + left);
        }
    }
}

void VrView::DrawCylinder(const VrImage& source, const VrCylinder& cylinder, const VrViewAngles& view,
                          std::uint32_t* target, std::ptrdiff_t pitch) {
    if (source.pixels == nullptr || source.width <= 0 || source.height <= 0 || cylinder.panSpan == 0) {
        return;
    }
    // Nodes are taken in the view's own level frame, so that the pan across the window is continuous: the
    // source column is the view centre's column plus the turn away from the centre.
    const double pan = view.pan * kRadiansPerDegree;
    const Camera camera = CameraFor(view);
    const Ray right{std::cos(pan), 0, std::sin(pan)};
    const Ray level{-std::sin(pan), 0, std::cos(pan)};
    const double columnsPerRadian = source.width / (cylinder.panSpan * kRadiansPerDegree);
    double centre = (cylinder.leftPan - view.pan) / cylinder.panSpan;
    if (cylinder.wraps) {
        centre -= std::floor(centre);
    }
    centre *= source.width;
    const double top = std::tan(cylinder.topTilt * kRadiansPerDegree);
    const double bottom = std::tan(cylinder.bottomTilt * kRadiansPerDegree);
    const double rowsPerHeight = source.height / (top - bottom);
    const std::array<VrImage, 6> faces{source};
    DrawGrid(
        faces, cylinder.wraps, kCylinderBlock,
        [&](double x, double y) {
            const double rx = camera.origin.x + x * camera.right.x + y * camera.down.x;
            const double ry = camera.origin.y + x * camera.right.y + y * camera.down.y;
            const double rz = camera.origin.z + x * camera.right.z + y * camera.down.z;
            const double across = Dot(rx, ry, rz, right.x, right.y, right.z);
            const double ahead = Dot(rx, ry, rz, level.x, level.y, level.z);
            return VrSourcePoint{0, centre + std::atan2(across, ahead) * columnsPerRadian,
                                 (top - ry / std::hypot(across, ahead)) * rowsPerHeight};
        },
        target, pitch);
}

void VrView::DrawCube(const std::array<VrImage, 6>& faces, const VrViewAngles& view, std::uint32_t* target,
                      std::ptrdiff_t pitch) {
    for (const VrImage& face : faces) {
        if (face.pixels == nullptr || face.width <= 0 || face.height <= 0) {
            return;
        }
    }
    const Camera camera = CameraFor(view);
    auto pointAt = [&](double x, double y) {
        double u = 0;
        double v = 0;
        const int face = FaceOf(camera.origin.x + x * camera.right.x + y * camera.down.x,
                                camera.origin.y + x * camera.right.y + y * camera.down.y,
                                camera.origin.z + x * camera.right.z + y * camera.down.z, u, v);
        return VrSourcePoint{face, (u + 1) / 2 * faces[face].width, (v + 1) / 2 * faces[face].height};
    };
    DrawGrid(faces, false, kCubeBlock, pointAt, target, pitch);
}

} // namespace qt::detail
