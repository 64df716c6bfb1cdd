#include "platform/quicktime/QTVRInstanceRecord.h"

#include "platform/quicktime/ControllerRecord.h"
#include "platform/quicktime/GrafPortRecord.h"
#include "platform/quicktime/Layer.h"
#include "platform/quicktime/MovieRecord.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/windows/Capture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace qt {

namespace {

// Pixels the pointer may move before a press counts as a drag rather than a click.
constexpr int kHysteresis = 2;
// Degrees an object turns for a drag across the window's width.
constexpr double kObjectTurn = 180;
// A panorama's narrowest field of view where the file gives none.
constexpr double kNarrowestField = 5;
constexpr double kWidestCubeField = 120;
constexpr double kNanosecondsPerSecond = 1e9;

constexpr std::uint32_t kFace = 0xC0C0C0;
constexpr std::uint32_t kPressedFace = 0x808080;
constexpr std::uint32_t kCursorInk = 0x000000;
constexpr std::uint32_t kCursorEdge = 0xFFFFFF;

double Wrapped(double value, double low, double span) {
    return low + (value - low) - span * std::floor((value - low) / span);
}

} // namespace

QTVRInstanceRecord::QTVRInstanceRecord(MovieRecord& movie, ControllerRecord& controller)
    : movie(&movie), controller(&controller), m_world(movie.vrWorld) {
    if (m_world != nullptr) {
        EnterNode(m_world->defaultNode, nullptr);
    }
}

QTVRInstanceRecord::~QTVRInstanceRecord() {
    if (m_dragging && detail::Layer::Instance().IsPort(movie->port) &&
        win32::GetCapture() == movie->port->window) {
        win32::ReleaseCapture();
    }
}

bool QTVRInstanceRecord::Setting(std::int32_t setting) const {
    if (setting >= 1 && setting <= kQTVRTranslation && m_settings[setting].has_value()) {
        return *m_settings[setting];
    }
    if (m_node == nullptr || !m_node->object.has_value()) {
        return false;
    }
    const detail::VrObject& object = *m_node->object;
    switch (setting) {
    case kQTVRWrapPan:
        return object.wrapPan;
    case kQTVRWrapTilt:
        return object.wrapTilt;
    case kQTVRCanZoom:
        return object.canZoom;
    case kQTVRReverseHControl:
        return object.reverseHorizontal;
    case kQTVRReverseVControl:
        return object.reverseVertical;
    case kQTVRSwapHVControl:
        return object.swapAxes;
    case kQTVRTranslation:
        return (object.controlSettings & (1u << 6)) != 0;
    default:
        return false;
    }
}

void QTVRInstanceRecord::SetSetting(std::int32_t setting, bool enable) {
    if (setting < 1 || setting > kQTVRTranslation) {
        return;
    }
    m_settings[setting] = enable;
    if (!ShowsTranslate()) {
        m_translateMode = false;
    }
    Constrain();
    Changed();
}

bool QTVRInstanceRecord::EnterNode(std::uint32_t nodeId, const detail::VrHotSpot* link) {
    const detail::VrNode* node = m_world->Node(nodeId);
    std::string problem;
    detail::VrPanoramaImages panorama;
    detail::VrObjectImages object;
    bool decoded = false;
    if (node == nullptr) {
        problem = "the movie has no such node";
    } else if (movie->source == nullptr) {
        problem = "the movie has no file to read its pictures from";
    } else if (node->panorama.has_value()) {
        decoded = detail::DecodePanoramaImages(movie->source, *node, panorama, problem);
    } else if (node->object.has_value()) {
        decoded = detail::DecodeObjectImages(movie->source, *node, object, problem);
    }
    if (!decoded) {
        std::fprintf(stderr, "QuickTime VR movie: node %u cannot be shown: %s\n",
                     static_cast<unsigned>(nodeId), problem.c_str());
        return false;
    }
    m_node = node;
    m_panorama = std::move(panorama);
    m_object = std::move(object);
    m_offsetX = 0;
    m_offsetY = 0;
    m_dragging = false;
    m_translateMode = m_translateMode && ShowsTranslate();
    m_pressedHotSpot = 0;
    const Limits limits = LimitsOf();
    if (node->panorama.has_value()) {
        const detail::VrPanorama& pano = *node->panorama;
        m_angles = {pano.defaultPan, pano.defaultTilt, pano.defaultFov > 0 ? pano.defaultFov : limits.maxFov};
    } else {
        const detail::VrObject& obj = *node->object;
        m_angles = {obj.defaultPan, obj.defaultTilt, obj.defaultFov > 0 ? obj.defaultFov : limits.maxFov};
    }
    if (link != nullptr) {
        m_angles.pan = link->toPanValid ? link->toPan : m_angles.pan;
        m_angles.tilt = link->toTiltValid ? link->toTilt : m_angles.tilt;
        m_angles.fieldOfView = link->toFovValid && link->toFov > 0 ? link->toFov : m_angles.fieldOfView;
    }
    Constrain();
    Changed();
    return true;
}

QTVRInstanceRecord::Limits QTVRInstanceRecord::LimitsOf() const {
    Limits limits{};
    if (m_node->panorama.has_value()) {
        const detail::VrPanorama& pano = *m_node->panorama;
        const bool cube = pano.kind == detail::VrPanoramaKind::Cube;
        limits.minPan = pano.minPan;
        limits.maxPan = pano.maxPan;
        limits.minTilt = pano.minTilt;
        limits.maxTilt = pano.maxTilt;
        if (cube && limits.minTilt >= limits.maxTilt) {
            limits.minTilt = -90;
            limits.maxTilt = 90;
        }
        const double height = limits.maxTilt - limits.minTilt;
        limits.maxFov = pano.maxFov > 0 ? pano.maxFov : cube ? kWidestCubeField : height;
        if (!cube) {
            limits.maxFov = std::min(limits.maxFov, height);
        }
        limits.minFov =
            std::min(pano.minFov > 0 ? static_cast<double>(pano.minFov) : kNarrowestField, limits.maxFov);
        limits.wrapPan = pano.FullCircle();
        return limits;
    }
    const detail::VrObject& object = *m_node->object;
    limits.minPan = object.minPan;
    limits.maxPan = object.maxPan;
    limits.minTilt = object.minTilt;
    limits.maxTilt = object.maxTilt;
    limits.maxFov = object.fov > 0 ? object.fov : kObjectTurn;
    limits.minFov =
        Setting(kQTVRCanZoom)
            ? (object.minFov > 0 ? std::min<double>(object.minFov, limits.maxFov) : limits.maxFov / 4)
            : limits.maxFov;
    limits.wrapPan = Setting(kQTVRWrapPan);
    limits.wrapTilt = Setting(kQTVRWrapTilt);
    return limits;
}

detail::VrView& QTVRInstanceRecord::ViewFor(int width, int height) {
    if (m_view == nullptr || m_view->Width() != width || m_view->Height() != height) {
        m_view = std::make_unique<detail::VrView>(width, height);
    }
    return *m_view;
}

void QTVRInstanceRecord::Constrain() {
    if (m_node == nullptr) {
        return;
    }
    const Limits limits = LimitsOf();
    m_angles.fieldOfView = std::clamp(m_angles.fieldOfView, limits.minFov, limits.maxFov);
    const double panSpan = limits.maxPan - limits.minPan;
    if (m_node->object.has_value()) {
        m_angles.pan = limits.wrapPan && panSpan > 0
                           ? Wrapped(m_angles.pan, limits.minPan, panSpan)
                           : std::clamp(m_angles.pan, limits.minPan, std::max(limits.minPan, limits.maxPan));
        const double tiltSpan = limits.maxTilt - limits.minTilt;
        m_angles.tilt =
            limits.wrapTilt && tiltSpan > 0
                ? Wrapped(m_angles.tilt, limits.minTilt, tiltSpan)
                : std::clamp(m_angles.tilt, limits.minTilt, std::max(limits.minTilt, limits.maxTilt));
        return;
    }
    const bool cube = m_node->panorama->kind == detail::VrPanoramaKind::Cube;
    const double halfHeight = cube ? 0 : m_angles.fieldOfView / 2;
    const double lowTilt = limits.minTilt + halfHeight;
    const double highTilt = limits.maxTilt - halfHeight;
    m_angles.tilt = lowTilt > highTilt ? (limits.minTilt + limits.maxTilt) / 2
                                       : std::clamp(m_angles.tilt, lowTilt, highTilt);
    if (limits.wrapPan) {
        m_angles.pan = Wrapped(m_angles.pan, limits.minPan, 360);
        return;
    }
    const Rect& box = movie->box;
    const double halfWidth = ViewFor(std::max(1, box.right - box.left), std::max(1, box.bottom - box.top))
                                 .HalfWidthAngle(m_angles.fieldOfView);
    const double lowPan = limits.minPan + halfWidth;
    const double highPan = limits.maxPan - halfWidth;
    m_angles.pan =
        lowPan > highPan ? (limits.minPan + limits.maxPan) / 2 : std::clamp(m_angles.pan, lowPan, highPan);
}

bool QTVRInstanceRecord::InBox(Point where, int& x, int& y) const {
    const Rect& box = movie->box;
    x = where.h - box.left;
    y = where.v - box.top;
    return where.h >= box.left && where.h < box.right && where.v >= box.top && where.v < box.bottom;
}

bool QTVRInstanceRecord::ShowsTranslate() const {
    return m_node != nullptr && m_node->object.has_value() && Setting(kQTVRTranslation);
}

int QTVRInstanceRecord::BarButton(Point where) const {
    if (!controller->Visible()) {
        return -1;
    }
    const Rect bar = controller->Bar();
    if (where.h < bar.left || where.h >= bar.right || where.v < bar.top || where.v >= bar.bottom) {
        return -1;
    }
    const int button = (where.h - bar.left) / ControllerRecord::kButtonWidth;
    const int buttons = ShowsTranslate() ? 3 : 2;
    return button < buttons ? button : -1;
}

std::uint32_t QTVRInstanceRecord::HotSpotAt(int x, int y) {
    if (m_node == nullptr || !m_node->panorama.has_value()) {
        return 0;
    }
    const Rect& box = movie->box;
    detail::VrView& view = ViewFor(std::max(1, box.right - box.left), std::max(1, box.bottom - box.top));
    const detail::VrIdPicture* ids = nullptr;
    double fractionX = 0;
    double fractionY = 0;
    if (m_node->panorama->kind == detail::VrPanoramaKind::Cube) {
        if (m_panorama.faces.size() != 6 || m_panorama.hotSpotFaces.size() != 6) {
            return 0;
        }
        std::array<detail::VrImage, 6> faces;
        for (std::size_t i = 0; i < faces.size(); ++i) {
            faces[i] = {nullptr, m_panorama.faces[i].width, m_panorama.faces[i].height, 0};
        }
        const detail::VrSourcePoint point = view.CubePoint(faces, m_angles, x + 0.5, y + 0.5);
        ids = &m_panorama.hotSpotFaces[point.face];
        fractionX = point.x / faces[point.face].width;
        fractionY = point.y / faces[point.face].height;
    } else {
        const detail::VrPicture& picture = m_panorama.panorama;
        const detail::VrPanorama& pano = *m_node->panorama;
        const detail::VrSourcePoint point = view.CylinderPoint(
            {nullptr, picture.width, picture.height, 0},
            {pano.minPan, -(pano.maxPan - pano.minPan), pano.maxTilt, pano.minTilt, pano.FullCircle()},
            m_angles, x + 0.5, y + 0.5);
        ids = &m_panorama.hotSpots;
        fractionX = point.x / std::max(1, picture.width);
        fractionY = point.y / std::max(1, picture.height);
    }
    // A node without hot spots has an empty picture of them; a ray straight up or down meets a cylinder
    // nowhere.
    if (ids->width <= 0 || ids->height <= 0 ||
        !(fractionX >= 0 && fractionX < 1 && fractionY >= 0 && fractionY < 1)) {
        return 0;
    }
    const int column = std::min(static_cast<int>(fractionX * ids->width), ids->width - 1);
    const int row = std::min(static_cast<int>(fractionY * ids->height), ids->height - 1);
    return ids->At(column, row);
}

void QTVRInstanceRecord::UpdateCursor() {
    Cursor cursor = Cursor::Arrow;
    int x = m_mouseX;
    int y = m_mouseY;
    const Rect& box = movie->box;
    const bool inside = x >= 0 && y >= 0 && x < box.right - box.left && y < box.bottom - box.top;
    if (m_translateMode && (inside || m_dragging)) {
        cursor = Cursor::Translate;
    } else if (m_dragging && m_node != nullptr && m_node->panorama.has_value() && m_moved) {
        cursor = Cursor::Pan;
    } else if (inside && !m_dragging) {
        const detail::VrHotSpot* spot = m_node != nullptr ? m_node->HotSpot(HotSpotAt(x, y)) : nullptr;
        if (spot != nullptr && spot->type == detail::VrHotSpotType::Link) {
            cursor = Cursor::Link;
        }
    }
    if (cursor != m_cursor || cursor == Cursor::Pan || cursor == Cursor::Translate) {
        m_cursor = cursor;
        Changed();
    }
}

void QTVRInstanceRecord::TurnObject() {
    const Rect& box = movie->box;
    const int width = std::max(1, box.right - box.left);
    double across = m_mouseX - m_pressX;
    double down = m_mouseY - m_pressY;
    if (m_translating) {
        // The picture follows the pointer.
        const detail::VrPicture* picture = m_object.View(0, 0);
        const double scale = picture != nullptr ? static_cast<double>(picture->width) / width : 1;
        const double zoom = LimitsOf().maxFov / m_angles.fieldOfView;
        m_offsetX = m_pressOffsetX - across * scale / zoom;
        m_offsetY = m_pressOffsetY - down * scale / zoom;
        Changed();
        return;
    }
    if (Setting(kQTVRSwapHVControl)) {
        std::swap(across, down);
    }
    if (Setting(kQTVRReverseHControl)) {
        across = -across;
    }
    if (Setting(kQTVRReverseVControl)) {
        down = -down;
    }
    m_angles.pan = m_pressPan - across * kObjectTurn / width;
    m_angles.tilt = m_pressTilt + down * kObjectTurn / width;
    Constrain();
    Changed();
}

void QTVRInstanceRecord::Step() {
    const std::uint64_t now = detail::ClockNanoseconds();
    const double seconds =
        now > m_lastStep ? static_cast<double>(now - m_lastStep) / kNanosecondsPerSecond : 0;
    m_lastStep = now;
    if (m_node == nullptr || seconds <= 0) {
        return;
    }
    const detail::VrViewAngles before = m_angles;
    const int zoom = m_zoomButton != 0 ? m_zoomButton : m_zoomKeys;
    if (zoom != 0 && (m_node->panorama.has_value() || Setting(kQTVRCanZoom))) {
        m_angles.fieldOfView *= std::pow(2.0, -zoom * seconds);
    }
    if (m_dragging && m_node->panorama.has_value()) {
        const Rect& box = movie->box;
        const int width = std::max(1, box.right - box.left);
        const int height = std::max(1, box.bottom - box.top);
        const int across = m_mouseX - m_pressX;
        const int down = m_mouseY - m_pressY;
        const double halfWidth = ViewFor(width, height).HalfWidthAngle(m_angles.fieldOfView);
        if (std::abs(across) > kHysteresis) {
            m_angles.pan -= across / (width / 2.0) * 2 * halfWidth * seconds;
        }
        if (std::abs(down) > kHysteresis) {
            m_angles.tilt -= down / (height / 2.0) * m_angles.fieldOfView * seconds;
        }
    }
    Constrain();
    if (m_angles.pan != before.pan || m_angles.tilt != before.tilt ||
        m_angles.fieldOfView != before.fieldOfView) {
        Changed();
    }
}

void QTVRInstanceRecord::LetGo() {
    Step();
    if (m_dragging && detail::Layer::Instance().IsPort(movie->port) &&
        win32::GetCapture() == movie->port->window) {
        win32::ReleaseCapture();
    }
    m_dragging = false;
    m_translating = false;
    m_pressedHotSpot = 0;
    m_zoomKeys = 0;
    m_zoomButton = 0;
    UpdateCursor();
    Changed();
}

bool QTVRInstanceRecord::HandleEvent(const EventRecord& event) {
    if (m_node == nullptr) {
        return false;
    }
    // Time until now is spent as things were before the event.
    Step();
    const bool mouse = event.what == mouseDown || event.what == mouseUp ||
                       (event.what == osEvt && (event.message >> 24) == mouseMovedMessage);
    if (mouse && (!detail::Layer::Instance().IsPort(movie->port) ||
                  movie->port->kind != GrafPortRecord::Kind::Window || movie->port->window != event.window)) {
        return false;
    }
    int x = 0;
    int y = 0;
    const bool inBox = InBox(event.where, x, y);
    switch (event.what) {
    case mouseDown: {
        const int button = BarButton(event.where);
        if (button == 0 || button == 1) {
            m_zoomButton = button == 0 ? -1 : 1;
            Changed();
            return true;
        }
        if (button == 2) {
            m_translateMode = !m_translateMode;
            UpdateCursor();
            Changed();
            return true;
        }
        if (!inBox) {
            return false;
        }
        m_dragging = true;
        m_moved = false;
        m_translating = m_translateMode;
        m_pressX = m_mouseX = x;
        m_pressY = m_mouseY = y;
        m_pressPan = m_angles.pan;
        m_pressTilt = m_angles.tilt;
        m_pressOffsetX = m_offsetX;
        m_pressOffsetY = m_offsetY;
        m_pressedHotSpot = HotSpotAt(x, y);
        win32::SetCapture(event.window);
        UpdateCursor();
        return true;
    }
    case osEvt:
        if (!m_dragging && !inBox) {
            if (m_mouseX >= 0) {
                m_mouseX = m_mouseY = -1;
                UpdateCursor();
            }
            return false;
        }
        m_mouseX = x;
        m_mouseY = y;
        if (m_dragging && (std::abs(x - m_pressX) > kHysteresis || std::abs(y - m_pressY) > kHysteresis)) {
            m_moved = true;
        }
        if (m_dragging && m_node->object.has_value()) {
            TurnObject();
        }
        UpdateCursor();
        return true;
    case mouseUp: {
        if (m_zoomButton != 0) {
            m_zoomButton = 0;
            Changed();
            return true;
        }
        if (!m_dragging) {
            return BarButton(event.where) >= 0;
        }
        m_dragging = false;
        m_translating = false;
        if (win32::GetCapture() == event.window) {
            win32::ReleaseCapture();
        }
        const std::uint32_t pressed = m_pressedHotSpot;
        m_pressedHotSpot = 0;
        if (!m_moved && pressed != 0 && inBox && HotSpotAt(x, y) == pressed) {
            const detail::VrHotSpot* spot = m_node->HotSpot(pressed);
            if (spot != nullptr && spot->type == detail::VrHotSpotType::Link) {
                // The node's records stay the world's: the link outlives the node it belongs to.
                EnterNode(spot->toNode, spot);
            } else {
                m_lastHotSpotClicked = pressed;
                ++m_hotSpotClicks;
            }
        }
        m_mouseX = inBox ? x : -1;
        m_mouseY = inBox ? y : -1;
        UpdateCursor();
        return true;
    }
    case keyDown:
    case autoKey:
    case keyUp: {
        const auto key = static_cast<win32::BYTE>(event.message >> 8);
        if (key != win32::VK_SHIFT && key != win32::VK_CONTROL) {
            return false;
        }
        m_zoomKeys = event.what == keyUp ? 0 : key == win32::VK_SHIFT ? 1 : -1;
        return true;
    }
    default:
        return false;
    }
}

void QTVRInstanceRecord::Draw(std::uint32_t* pixels, int width, int height) {
    if (m_node == nullptr || width <= 0 || height <= 0) {
        return;
    }
    if (m_node->object.has_value()) {
        DrawObject(pixels, width, height);
    } else if (m_node->panorama->kind == detail::VrPanoramaKind::Cube) {
        if (m_panorama.faces.size() == 6) {
            std::array<detail::VrImage, 6> faces;
            for (std::size_t i = 0; i < faces.size(); ++i) {
                const detail::VrPicture& face = m_panorama.faces[i];
                faces[i] = {face.pixels.data(), face.width, face.height, face.width};
            }
            ViewFor(width, height).DrawCube(faces, m_angles, pixels, width);
        }
    } else {
        const detail::VrPicture& picture = m_panorama.panorama;
        const detail::VrPanorama& pano = *m_node->panorama;
        ViewFor(width, height)
            .DrawCylinder(
                {picture.pixels.data(), picture.width, picture.height, picture.width},
                {pano.minPan, -(pano.maxPan - pano.minPan), pano.maxTilt, pano.minTilt, pano.FullCircle()},
                m_angles, pixels, width);
    }
    DrawCursor(pixels, width, height);
}

void QTVRInstanceRecord::DrawObject(std::uint32_t* pixels, int width, int height) {
    const State state = GetState();
    const detail::VrPicture* picture = m_object.View(state.column, state.row);
    if (picture == nullptr || picture->width <= 0 || picture->height <= 0) {
        std::fill(pixels, pixels + static_cast<std::ptrdiff_t>(width) * height, 0u);
        return;
    }
    // Zoomed in, the window shows the middle of the view (moved by translation), magnified.
    const double zoom = std::max(1.0, LimitsOf().maxFov / m_angles.fieldOfView);
    const double shownWidth = picture->width / zoom;
    const double shownHeight = picture->height / zoom;
    m_offsetX = std::clamp(m_offsetX, -(picture->width - shownWidth) / 2, (picture->width - shownWidth) / 2);
    m_offsetY =
        std::clamp(m_offsetY, -(picture->height - shownHeight) / 2, (picture->height - shownHeight) / 2);
    const double left = (picture->width - shownWidth) / 2 + m_offsetX;
    const double top = (picture->height - shownHeight) / 2 + m_offsetY;
    for (int y = 0; y < height; ++y) {
        const int row =
            std::clamp(static_cast<int>(top + (y + 0.5) * shownHeight / height), 0, picture->height - 1);
        const std::uint32_t* in = picture->pixels.data() + static_cast<std::ptrdiff_t>(row) * picture->width;
        std::uint32_t* out = pixels + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            out[x] = in[std::clamp(static_cast<int>(left + (x + 0.5) * shownWidth / width), 0,
                                   picture->width - 1)];
        }
    }
}

void QTVRInstanceRecord::DrawCursor(std::uint32_t* pixels, int width, int height) {
    if (m_cursor == Cursor::Arrow || m_mouseX < 0 || m_mouseY < 0) {
        return;
    }
    auto plot = [&](int x, int y, std::uint32_t color) {
        if (x >= 0 && y >= 0 && x < width && y < height) {
            pixels[static_cast<std::ptrdiff_t>(y) * width + x] = color;
        }
    };
    // The shape's points are drawn thick in the edge colour first, then thin in ink.
    std::vector<std::pair<int, int>> points;
    auto line = [&](double fromX, double fromY, double toX, double toY) {
        const int steps = static_cast<int>(std::max(std::fabs(toX - fromX), std::fabs(toY - fromY))) + 1;
        for (int i = 0; i <= steps; ++i) {
            points.emplace_back(static_cast<int>(std::lround(fromX + (toX - fromX) * i / steps)),
                                static_cast<int>(std::lround(fromY + (toY - fromY) * i / steps)));
        }
    };
    const double x = m_mouseX;
    const double y = m_mouseY;
    switch (m_cursor) {
    case Cursor::Pan: {
        // An arrow from the pointer the way the view turns.
        const double across = m_mouseX - m_pressX;
        const double down = m_mouseY - m_pressY;
        const double length = std::hypot(across, down);
        if (length < 1) {
            break;
        }
        const double ux = across / length;
        const double uy = down / length;
        const double tipX = x + ux * 10;
        const double tipY = y + uy * 10;
        line(x, y, tipX, tipY);
        line(tipX, tipY, tipX - ux * 4 - uy * 4, tipY - uy * 4 + ux * 4);
        line(tipX, tipY, tipX - ux * 4 + uy * 4, tipY - uy * 4 - ux * 4);
        break;
    }
    case Cursor::Link:
        // An arrow pointing up into the scene, the way a link leads.
        line(x, y, x, y - 10);
        line(x, y - 10, x - 4, y - 6);
        line(x, y - 10, x + 4, y - 6);
        break;
    case Cursor::Translate:
        line(x - 6, y, x + 6, y);
        line(x, y - 6, x, y + 6);
        break;
    case Cursor::Arrow:
        break;
    }
    for (const auto& [px, py] : points) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                plot(px + dx, py + dy, kCursorEdge);
            }
        }
    }
    for (const auto& [px, py] : points) {
        plot(px, py, kCursorInk);
    }
}

void QTVRInstanceRecord::DrawBar(std::uint32_t* pixels, int width, int height, std::uint32_t ink) {
    auto plot = [&](int x, int y, std::uint32_t color) {
        if (x >= 0 && x < width && y >= 0 && y < height) {
            pixels[y * width + x] = color;
        }
    };
    const int buttons = ShowsTranslate() ? 3 : 2;
    for (int button = 0; button < buttons; ++button) {
        const int left = button * ControllerRecord::kButtonWidth;
        const bool pressed = (button == 0 && m_zoomButton < 0) || (button == 1 && m_zoomButton > 0) ||
                             (button == 2 && m_translateMode);
        for (int y = 1; y < height; ++y) {
            for (int x = left; x < left + ControllerRecord::kButtonWidth - 1; ++x) {
                plot(x, y, pressed ? kPressedFace : kFace);
            }
        }
        const int middleX = left + 7;
        const int middleY = height / 2;
        for (int d = -4; d <= 4; ++d) {
            plot(middleX + d, middleY, ink);
            if (button != 0) {
                plot(middleX, middleY + d, ink);
            }
        }
        if (button == 2) {
            // Arrow heads on the cross: the view moves every way.
            for (int d = 1; d <= 2; ++d) {
                plot(middleX - 4 + d, middleY - d, ink);
                plot(middleX - 4 + d, middleY + d, ink);
                plot(middleX + 4 - d, middleY - d, ink);
                plot(middleX + 4 - d, middleY + d, ink);
            }
        }
    }
}

QTVRInstanceRecord::State QTVRInstanceRecord::GetState() const {
    State state;
    state.node = m_node != nullptr ? m_node->id : 0;
    state.pan = m_angles.pan;
    state.tilt = m_angles.tilt;
    state.fieldOfView = m_angles.fieldOfView;
    state.lastHotSpotClicked = m_lastHotSpotClicked;
    state.hotSpotClicks = m_hotSpotClicks;
    state.cursor = m_cursor;
    if (m_node != nullptr && m_node->object.has_value()) {
        const detail::VrObject& object = *m_node->object;
        const int columns = std::max(1, object.columns);
        const int rows = std::max(1, object.rows);
        const double panSpan = object.maxPan - object.minPan;
        const double tiltSpan = object.maxTilt - object.minTilt;
        const double panStep = Setting(kQTVRWrapPan) ? panSpan / columns
                               : columns > 1         ? panSpan / (columns - 1)
                                                     : 0;
        const double tiltStep = Setting(kQTVRWrapTilt) ? tiltSpan / rows
                                : rows > 1             ? tiltSpan / (rows - 1)
                                                       : 0;
        const int column =
            panStep > 0 ? static_cast<int>(std::lround((m_angles.pan - object.minPan) / panStep)) : 0;
        const int row =
            tiltStep > 0 ? static_cast<int>(std::lround((object.maxTilt - m_angles.tilt) / tiltStep)) : 0;
        state.column = Setting(kQTVRWrapPan) ? (column % columns + columns) % columns
                                             : std::clamp(column, 0, columns - 1);
        state.row = Setting(kQTVRWrapTilt) ? (row % rows + rows) % rows : std::clamp(row, 0, rows - 1);
    }
    return state;
}

} // namespace qt
