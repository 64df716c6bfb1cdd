// The base of the graphic family's front-ends (Graphic, Viewport): the open and share steps they have in
// common, each failure reported with the resource framework's codes and no text.
#pragma once

#include "resources/Resource.h"

namespace Vemo {

class GraphicSearchCriterion;
class GraphicSystem;

class GraphicSystemResource : public Resource {
public:
    ~GraphicSystemResource() override;

    // Takes the handle the Graphic System opened (null drops it).
    void Attach(ResourceHandle* handle) { SetHandle(handle); }

protected:
    // Whether the handle an operation needs is there; ResourceSystemErrNoHandle when it is not.
    static bool HasHandle(const ResourceHandle* handle);
    // Whether both handles are there (this front-end's and one it was given); one ResourceSystemErrNoHandle
    // when either is missing.
    static bool HasHandles(const ResourceHandle* handle, const ResourceHandle* other);

    // The system to open through: null with ResourceSystemErrAlreadyOpen when this front-end is open, and
    // with ResourceSystemErrNoSystem when the application has no Graphic System.
    GraphicSystem* PrepareOpen() const;
    // As PrepareOpen, and between its two checks ResourceSystemErrNoHandle when the handle of the front-end
    // that the open starts from is null.
    GraphicSystem* PrepareOpenFrom(const ResourceHandle* source) const;
    // The Graphic System's open; on failure ResourceSystemErrOpenFailed and false.
    bool OpenThrough(GraphicSystem* system, GraphicSearchCriterion& criterion);
    // One more reference on another front-end's handle; on failure ResourceSystemErrShareFailed and false.
    bool ShareThrough(GraphicSystem* system, ResourceHandle* handle);
};

} // namespace Vemo
