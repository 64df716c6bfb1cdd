// The world of a QuickTime VR movie as its file describes it: the scene's nodes (panoramas and objects),
// their hot spots and the geometry of their pictures. Read once when the movie is read (VrWorldReader.h); the
// node pictures are decoded when a node is entered (NodeImages.h). Internal to the layer.
//
// Units and directions. Every angle is in degrees, as the file stores it. Pan grows counterclockwise seen
// from above: turning to the viewer's left raises the pan angle, so a view's right edge lies at a smaller pan
// than its left edge. Tilt grows upwards (positive tilt looks up). A field of view is the vertical angle a
// view spans.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qt::detail {

enum class VrNodeType { Panorama, Object };
enum class VrHotSpotType { Link, Navigation, Other };
enum class VrPanoramaKind { Cylinder, Cube };

struct VrHotSpot {
    // The value the node's hot-spot picture holds where this hot spot is.
    std::uint32_t id = 0;
    VrHotSpotType type = VrHotSpotType::Other;
    // The file's four-character type ("link", "navg", "url ", ...).
    std::uint32_t typeCode = 0;
    std::string name;
    // The view that shows the hot spot best (from its information atom; 0 where the file gives none).
    float bestPan = 0;
    float bestTilt = 0;
    float bestFov = 0;
    // Links: the node entered, and the view it is entered with where the flags say the angle is given
    // (otherwise the target node keeps its default view).
    std::uint32_t toNode = 0;
    bool toPanValid = false;
    bool toTiltValid = false;
    bool toFovValid = false;
    float toPan = 0;
    float toTilt = 0;
    float toFov = 0;
};

// Where a node's pictures lie in a picture track: the track (by its track ID) and the node's samples of it
// (the first one's index, counting from 0, and how many). trackId 0: the node has no such track.
struct VrTrackSpan {
    std::uint32_t trackId = 0;
    int firstSample = 0;
    int samples = 0;
};

struct VrPanorama {
    VrPanoramaKind kind = VrPanoramaKind::Cylinder;
    float minPan = 0;
    float maxPan = 360;
    float minTilt = 0;
    float maxTilt = 0;
    float minFov = 0;
    float maxFov = 0;
    float defaultPan = 0;
    float defaultTilt = 0;
    float defaultFov = 0;
    // Cylinder: the whole panorama's stored size (imageWidth across, imageHeight down, as stored: for
    // rotated tiles the width runs along the tilt) and how it is diced into tiles, row by row. Cube: one
    // face's size and its dicing; the six faces follow each other in the track.
    int imageWidth = 0;
    int imageHeight = 0;
    int tilesAcross = 1;
    int tilesDown = 1;
    int hotSpotWidth = 0;
    int hotSpotHeight = 0;
    int hotSpotTilesAcross = 1;
    int hotSpotTilesDown = 1;
    // Cylinders of the older layout store the panorama turned a quarter turn counterclockwise ("vcyl"); the
    // newer one stores it upright ("hcyl"). NodeImages undoes the turn.
    bool rotatedTiles = true;
    // The panorama wraps across its pan range even when it is not 360 degrees.
    bool alwaysWrap = false;
    VrTrackSpan image;
    VrTrackSpan hotSpots;

    bool FullCircle() const { return alwaysWrap || maxPan - minPan >= 359.99F; }
};

struct VrObject {
    int columns = 1;
    int rows = 1;
    float minPan = 0;
    float maxPan = 360;
    float defaultPan = 0;
    float minTilt = 0;
    float maxTilt = 0;
    float defaultTilt = 0;
    float minFov = 0;
    float fov = 0;
    float defaultFov = 0;
    // Movie time one view lasts (its frames share it), and the frames that make a view (1 for a still view):
    // view (column, row) is frames framesPerView * (row * columns + column) onwards of the node's samples.
    std::int64_t viewDuration = 0;
    int framesPerView = 1;
    // The file's control settings: wrap across the pan (columns) and tilt (rows) ranges, zoom allowed,
    // horizontal and vertical drag reversed, the drags' axes swapped.
    bool wrapPan = false;
    bool wrapTilt = false;
    bool canZoom = false;
    bool reverseHorizontal = false;
    bool reverseVertical = false;
    bool swapAxes = false;
    std::uint32_t controlSettings = 0;
    std::uint32_t animationSettings = 0;
    VrTrackSpan image;
};

struct VrNode {
    std::uint32_t id = 0;
    VrNodeType type = VrNodeType::Panorama;
    std::string name;
    std::vector<VrHotSpot> hotSpots;
    // Exactly one of the two, as type says.
    std::optional<VrPanorama> panorama;
    std::optional<VrObject> object;
    // The node's sample in the VR track, in movie time (the movie header's time scale).
    std::int64_t start = 0;
    std::int64_t duration = 0;

    const VrHotSpot* HotSpot(std::uint32_t hotSpotId) const;
};

struct VrWorld {
    std::string name;
    // The node shown first (always one of nodes).
    std::uint32_t defaultNode = 0;
    std::vector<VrNode> nodes;
    // The track ID of the movie's first "qtvr" track, and its size from its track header (the window a VR
    // movie asks for).
    std::uint32_t vrTrackId = 0;
    int width = 0;
    int height = 0;

    const VrNode* Node(std::uint32_t nodeId) const;
};

} // namespace qt::detail
