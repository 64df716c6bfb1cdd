// Reads the VR world of a QuickTime file: the "qtvr" track's sample description (the world) and samples (one
// node each), the "pano" and "obje" tracks' samples (each node's geometry) and the track references that
// name each node's picture tracks. Every atom is read within its parent's bounds. Internal to the layer.
#pragma once

#include "platform/quicktime/MediaSource.h"
#include "platform/quicktime/VrWorld.h"

#include <optional>
#include <string>

namespace qt::detail {

struct VrReadResult {
    // The world, when the file is a VR movie whose VR part reads whole.
    std::optional<VrWorld> world;
    // Empty when the file has no "qtvr" track (an ordinary movie, or no QuickTime file); otherwise, without
    // a world, what in the VR part is damaged.
    std::string problem;
};

VrReadResult ReadVrWorld(ByteReader& reader);

} // namespace qt::detail
