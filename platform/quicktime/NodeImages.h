// The pictures of a VR node, decoded once when the node is entered: its tiles read from the movie's file
// through FFmpeg and put together into whole pictures, the file's quarter turn undone. Internal to the layer.
//
// Cylinder. `panorama` is one picture covering the node's whole pan range: column 0 at the node's minimum
// pan, columns following increasing pan (VrWorld.h: towards the viewer's left, so the picture is the scene
// seen mirrored left to right), the last column ending at the maximum pan; row 0 at the highest tilt. Column
// x covers the pans minPan + (x, x + 1) * (maxPan - minPan) / width. The rows follow the cylinder: row y lies
// at tilt atan(tan(maxTilt) - (y + 0.5) * (tan(maxTilt) - tan(minTilt)) / height).
//
// Cube. `faces` are the six faces in the order front (pan 0), right (pan -90), back (pan 180), left (pan 90),
// top, bottom; each square, as a viewer inside the cube sees it: the four side faces upright, the viewer's
// left on the picture's left; the top face as seen looking up while facing front (its bottom row meets the
// front face's top row); the bottom face as seen looking down while facing front (its top row meets the
// front face's bottom row).
//
// Hot spots. `hotSpots` (and `hotSpotFaces` of a cube) lay out the node's hot-spot track the same way, one
// byte a pixel: the hot spot's id (VrHotSpot::id), 0 where there is none. Its size may differ from the
// picture's (the file keeps only the aspect ratio); both are empty when the node has no hot-spot track.
//
// Objects. Every frame of the node's image track, decoded: View(column, row, frame) is the picture shown
// for the view at that column (pan, from the object's minimum pan) and row (tilt, row 0 the highest tilt),
// frame counting within an animated view.
#pragma once

#include "platform/quicktime/MediaSource.h"
#include "platform/quicktime/VrWorld.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qt::detail {

// A 32-bit x-R-G-B picture (the top byte 0), top row first.
struct VrPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// One hot-spot id a pixel, top row first.
struct VrIdPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> ids;

    std::uint8_t At(int x, int y) const { return ids[static_cast<std::size_t>(y) * width + x]; }
};

struct VrPanoramaImages {
    VrPicture panorama;
    VrIdPicture hotSpots;
    std::vector<VrPicture> faces;
    std::vector<VrIdPicture> hotSpotFaces;
};

struct VrObjectImages {
    int columns = 0;
    int rows = 0;
    int framesPerView = 1;
    std::vector<VrPicture> frames;

    // Null outside the grid.
    const VrPicture* View(int column, int row, int frame = 0) const;
};

// Decodes the node's pictures from the movie's file. False when they cannot be had (a tile missing or
// undecodable, a size that disagrees with the node's geometry); problem then says what, for the standard
// error.
bool DecodePanoramaImages(const std::shared_ptr<MediaSource>& source, const VrNode& node,
                          VrPanoramaImages& images, std::string& problem);
bool DecodeObjectImages(const std::shared_ptr<MediaSource>& source, const VrNode& node,
                        VrObjectImages& images, std::string& problem);

} // namespace qt::detail
