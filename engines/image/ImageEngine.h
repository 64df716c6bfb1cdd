// The generic image engine, named "Image Engine": the base of the family's engines. Its type id, the
// family's, stands for any image engine where an engine id is asked for.
#pragma once

#include "resources/ResourceEngine.h"

#include <cstdint>

namespace Vemo {

class ImageEngine : public ResourceEngine {
public:
    ImageEngine(std::uint32_t typeId, const String& name);

    // Runs the engine base's factory on the given engine, or on a new generic one; null when that fails.
    static ImageEngine* Create(ImageEngine* engine = nullptr);
};

} // namespace Vemo
