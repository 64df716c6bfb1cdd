// The common base of the graphic engines. It makes no handles itself: each engine of the family makes its own
// graphic and viewport handles.
#pragma once

#include "resources/ResourceEngine.h"

#include <cstdint>

namespace Vemo {

class GraphicEngine : public ResourceEngine {
public:
    GraphicEngine(std::uint32_t typeId, const String& name);
    ~GraphicEngine() override;

    // Null.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;

    // Runs the engine base's factory on the given engine, or on a new "Graphic Engine" of the graphic family.
    static GraphicEngine* Create(GraphicEngine* engine = nullptr);
};

} // namespace Vemo
