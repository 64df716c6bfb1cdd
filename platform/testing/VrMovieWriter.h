// Test-only: writes QuickTime VR movies (the layout of QuickTime VR 2 files: a "qtvr" track whose sample
// description holds the world and whose samples describe the nodes, a "pano" or "obje" track with each
// node's geometry, and picture tracks of tiles encoded by FFmpeg as QuickTime Animation), so that tests and
// the demo use real VR files.
//
// The pixels say where they are. A panorama pixel at pan P and tilt T of node N is PanoramaColor(P, T, N):
//   red   = floor(P * 256 / 360) for P in [0, 360) (1.40625 degrees a step),
//   green = round(T) + 128 (one degree a step; tilts below -128 or above 127 are clamped),
//   blue  = NodeBlue(N) (0x40 for node 1, 0xC0 for node 2, 0x80 for any other),
// so a test reads the pan, the tilt and the node of any pixel of a drawn view with DecodePanoramaColor. The
// codes change smoothly except where the pan passes 360 (red falls from 255 to 0), so a bilinear view keeps
// them within a step. An object view (column C, row R) is filled with ObjectViewColor(C, R).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qt::testing {

std::uint32_t PanoramaColor(double pan, double tilt, std::uint32_t node);
std::uint32_t NodeBlue(std::uint32_t node);

struct PanoramaCode {
    // The middle of the pan step red names, and the tilt green names.
    double pan = 0;
    double tilt = 0;
    std::uint8_t blue = 0;
};
PanoramaCode DecodePanoramaColor(std::uint32_t xrgb);

std::uint32_t ObjectViewColor(int column, int row);

// A link hot spot: the panorama's pixels from pan fromPan to toPanEdge and tilt bottomTilt to topTilt hold id
// in the node's hot-spot track.
struct VrLinkSpec {
    std::uint8_t id = 1;
    std::string name = "door";
    float fromPan = 80;
    float toPanEdge = 100;
    float bottomTilt = -10;
    float topTilt = 10;
    std::uint32_t toNode = 2;
    // The view the link enters the target with; without it the target keeps its own default view.
    bool withView = true;
    float toPan = 180;
    float toTilt = 0;
    float toFov = 40;
};

struct VrPanoramaSpec {
    std::uint32_t id = 1;
    std::string name = "hall";
    // The whole panorama picture: width along the pan range, height along the tilt range.
    int width = 360;
    int height = 64;
    // Tiles the panorama is diced into along the pan.
    int tiles = 4;
    // The older layout (tiles turned a quarter counterclockwise, "vcyl") or the upright one ("hcyl").
    bool rotated = true;
    // A cube of six square faces, faceSize pixels a side, in place of the cylinder (width, height, tiles and
    // rotated then go unused), each face one tile, laid out as the node pictures promise them.
    bool cube = false;
    int faceSize = 32;
    float minPan = 0;
    float maxPan = 360;
    float minTilt = -20;
    float maxTilt = 20;
    float minFov = 10;
    float maxFov = 40;
    float defaultPan = 0;
    float defaultTilt = 0;
    float defaultFov = 40;
    std::vector<VrLinkSpec> links;
    // Paints the pixel at (pan, tilt) as x-R-G-B in place of the angle code (for pictures meant to be seen).
    std::function<std::uint32_t(double pan, double tilt)> paint;
};

struct VrObjectSpec {
    std::uint32_t id = 1;
    std::string name = "vase";
    int columns = 4;
    int rows = 2;
    int width = 48;
    int height = 32;
    float minPan = 0;
    float maxPan = 360;
    float minTilt = -30;
    float maxTilt = 30;
    bool wrapPan = true;
    bool wrapTilt = false;
};

struct VrMovieSpec {
    // Panorama nodes, or one object node (then panoramas stays empty).
    std::vector<VrPanoramaSpec> panoramas;
    std::vector<VrObjectSpec> objects;
    std::string sceneName = "scene";
    std::uint32_t defaultNode = 1;
};

// A one-node cylindrical panorama of four tiles, 360 by 64 pixels (one pixel a degree of pan).
VrMovieSpec OnePanorama();
// Two panoramas, each with a link hot spot to the other: node 1's spot (id 1) spans pans 80 to 100 and enters
// node 2 at pan 180; node 2's spot (id 2) spans pans 260 to 280 and enters node 1 keeping its default view.
VrMovieSpec TwoLinkedPanoramas();
// One object node: a grid of 4 columns by 2 rows of views, wrapping across the pan.
VrMovieSpec ObjectMovie();

// Writes the movie at the host path; throws std::runtime_error saying what failed.
void WriteVrMovie(const std::string& hostPath, const VrMovieSpec& spec);

// Damage to one VR atom of a written file, found by its type (the first atom of that type in the file).
enum class AtomDamage {
    SizeBeyondParent,  // the atom claims more bytes than its parent holds
    SizeBelowHeader,   // the atom claims fewer bytes than its own header
    ChildCountTooHigh, // the atom claims more children than it holds
    LeafCut,           // the atom is shorter than its record (its parent keeps its size)
    ZeroFields,        // the atom's record is all zeros (no sizes, no tiles, no columns)
    HugeFields,        // the atom's record holds the largest values (sizes and counts of 2^32 - 1)
};
// Throws std::runtime_error when the file holds no such atom.
void DamageVrAtom(const std::string& hostPath, const std::string& type, AtomDamage damage);

} // namespace qt::testing
