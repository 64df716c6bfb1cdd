// The resource system of the graphic family, through which every graphic and every viewport is opened. On top
// of the generic open it checks that the chosen engine made the kind of handle that was asked for, opens a
// viewport's window, hands out the graphic handle of a viewport's buffer, and keeps each handle's list of
// attached front-ends (graphics on a graphic handle, viewports on a viewport handle).
//
// Virtual operations are declared in their slot order.
#pragma once

#include "resources/ResourceSystem.h"

#include <cstdint>

namespace Vemo {

class GraphicSystem : public ResourceSystem {
public:
    // How text lines up across its box; the viewport's text drawing centres every value above 1.
    enum class HorizontalAlignment : std::uint32_t {
        Left = 0,
        Right = 1,
        Center = 2,
        Justified = 3,
    };

    // How text lines up down its box; the viewport's text drawing centres every value above 1.
    enum class VerticalAlignment : std::uint32_t {
        Top = 0,
        Bottom = 1,
        Center = 2,
    };

    // The memory a surface lives in; the script words are "Hardware", "Accelerated" and "System".
    enum class Memory : std::uint32_t {
        Any = 0,
        // Local video memory.
        Hardware = 1,
        // Non-local video memory.
        Accelerated = 2,
        // System memory; the only placement of a surface over caller memory.
        System = 3,
    };

    GraphicSystem(std::uint32_t typeId, const String& name);

    // Takes only a GraphicSearchCriterion (else GraphicSystemErrNotGraphicCriterion) of the graphic or the
    // viewport kind (else GraphicSystemErrUnknownKind). A graphic on a viewport's buffer shares the buffer's
    // handle when the viewport has one (a buffer index beyond the viewport's back-buffer count:
    // GraphicSystemErrBufferIndex); otherwise an engine makes the handle. A handle of the wrong class is
    // closed again (GraphicSystemErrWrongHandleClass, the wanted class as text); a viewport handle whose
    // window does not open is closed without a report of its own. No handle: ResourceSystemErrOpenFailed
    // with the system's name.
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    ~GraphicSystem() override;
    bool Initialize() override;
    bool Terminate() override;
    // A graphic joins its graphic handle's list, a viewport its viewport handle's, then the base chains it.
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    bool AttachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource,
                        ResourceHandle* shared) override;
    // The resource leaves the handle's list of graphics or viewports, then the base unchains it.
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;
    // Does nothing; no caller needs it yet.
    virtual void Reserved();

    // Runs the system base's factory on the given system, or on a new "Graphic System" of the graphic family.
    static GraphicSystem* Create(GraphicSystem* system = nullptr);

private:
    // Joins the front-end to its handle's list when the two are of matching classes.
    static void ListFrontEnd(ResourceHandle* handle, Resource* resource);
};

} // namespace Vemo
