// What the movie controller of a QuickTime VR movie does: it shows the current node (a panorama's perspective
// view, an object's view of its grid) instead of the movie's frames, and the user moves the view with the
// mouse, the keys and the bar's buttons. The controller owns it; QTVRGetQTVRInstance gives it out. Internal
// to the layer; under the layer's lock.
//
// Panoramas: while the button is held after a press in the view, the view turns towards the pointer at a
// speed that grows with its distance from the press point (half the window's width away: the window's own
// width of pan a second; likewise for tilt), within the node's limits (a full circle wraps). Shift zooms in
// and Control zooms out while held, as do the bar's zoom buttons while pressed (the field of view halves or
// doubles in a second), within the node's limits. A click on a link hot spot (press and release on it without
// moving) enters the linked node, with the view the link gives; a click on another hot spot is counted as a
// hot-spot click and changes nothing.
//
// Objects: a drag turns the object with the pointer, half a turn across the window's width, through the
// node's columns (pan) and rows (tilt); the node's control settings (or QTVRSetControlSetting's) decide
// wrapping, reversed and swapped directions, zoom and translation. With translation on, the bar has a
// translate button: while it is down, a drag moves a zoomed-in view across the object instead.
//
// The pointer's look follows what a press would do (pan direction, a link, translation); the controller
// draws it into the view at the pointer, since the host's pointer has no shapes of its own.
#pragma once

#include "platform/quicktime/NodeImages.h"
#include "platform/quicktime/Types.h"
#include "platform/quicktime/VrView.h"
#include "platform/quicktime/VrWorld.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qt {

struct QTVRInstanceRecord {
    enum class Cursor { Arrow, Pan, Link, Translate };

    // Enters the world's default node; false (with the reason said on the standard error) when its pictures
    // cannot be had.
    QTVRInstanceRecord(MovieRecord& movie, ControllerRecord& controller);
    // Gives the mouse capture back when a drag holds it.
    ~QTVRInstanceRecord();
    QTVRInstanceRecord(const QTVRInstanceRecord&) = delete;
    QTVRInstanceRecord& operator=(const QTVRInstanceRecord&) = delete;

    bool Ready() const { return m_node != nullptr; }

    MovieRecord* movie;
    ControllerRecord* controller;
    std::int32_t angularUnits = kQTVRDegrees;

    // The control setting's value: the node's own until QTVRSetControlSetting set it.
    bool Setting(std::int32_t setting) const;
    void SetSetting(std::int32_t setting, bool enable);

    // Takes a mouse, pointer or key event for the view or the bar; true when it did something with it.
    bool HandleEvent(const EventRecord& event);
    // Moves the view by the time passed since the last step, as the held button and keys say.
    void Step();
    // Lets go of what the button and keys hold (the controller was deactivated).
    void LetGo();

    // Changes whenever what the view or the bar shows changes.
    std::uint64_t Version() const { return m_version; }
    // Draws the view into a 32-bit x-R-G-B picture of the movie box's size.
    void Draw(std::uint32_t* pixels, int width, int height);
    // Draws the bar's buttons into a 32-bit picture of the bar's size (ControllerRecord::DrawBar's colours).
    void DrawBar(std::uint32_t* pixels, int width, int height, std::uint32_t ink);

    // For tests and diagnostics.
    struct State {
        std::uint32_t node = 0;
        double pan = 0, tilt = 0, fieldOfView = 0;
        int column = 0, row = 0;
        std::uint32_t lastHotSpotClicked = 0;
        int hotSpotClicks = 0;
        Cursor cursor = Cursor::Arrow;
    };
    State GetState() const;

private:
    struct Limits {
        double minPan, maxPan, minTilt, maxTilt, minFov, maxFov;
        bool wrapPan, wrapTilt;
    };

    bool EnterNode(std::uint32_t nodeId, const detail::VrHotSpot* link);
    Limits LimitsOf() const;
    // Keeps the view within the node's limits.
    void Constrain();
    void Changed() { ++m_version; }
    bool InBox(Point where, int& x, int& y) const;
    // The bar's button under a point of the bar (-1 none): 0 zoom out, 1 zoom in, 2 translate.
    int BarButton(Point where) const;
    bool ShowsTranslate() const;
    // The hot spot (its id, 0 none) that the view shows at a point of the box.
    std::uint32_t HotSpotAt(int x, int y);
    void UpdateCursor();
    void TurnObject();
    void DrawObject(std::uint32_t* pixels, int width, int height);
    void DrawCursor(std::uint32_t* pixels, int width, int height);
    detail::VrView& ViewFor(int width, int height);

    std::shared_ptr<const detail::VrWorld> m_world;
    const detail::VrNode* m_node = nullptr;
    detail::VrPanoramaImages m_panorama;
    detail::VrObjectImages m_object;
    std::unique_ptr<detail::VrView> m_view;
    std::optional<bool> m_settings[8];

    detail::VrViewAngles m_angles;
    // Object nodes: the view's centre moved by translation (picture pixels from the centre).
    double m_offsetX = 0;
    double m_offsetY = 0;

    bool m_dragging = false;
    bool m_translating = false;
    bool m_translateMode = false;
    bool m_moved = false;
    int m_pressX = 0, m_pressY = 0;
    int m_mouseX = -1, m_mouseY = -1;
    double m_pressPan = 0, m_pressTilt = 0, m_pressOffsetX = 0, m_pressOffsetY = 0;
    std::uint32_t m_pressedHotSpot = 0;
    int m_zoomKeys = 0;
    int m_zoomButton = 0;
    std::uint64_t m_lastStep = 0;

    std::uint32_t m_lastHotSpotClicked = 0;
    int m_hotSpotClicks = 0;
    Cursor m_cursor = Cursor::Arrow;
    std::uint64_t m_version = 1;
};

} // namespace qt
