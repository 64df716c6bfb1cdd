// What a graphic or a viewport front-end asks the Graphic System for. Every value is optional (a null
// pointer: not given); the pointers lead into the builder's stack frame, so a criterion lives for one open
// call only.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "resources/ResourceSearchCriterion.h"

#include <cstdint>

namespace Vemo {

class GraphicHandle;
struct PixelFormat;
struct ViewportDescription;
class ViewportHandle;

class GraphicSearchCriterion : public ResourceSearchCriterion {
public:
    static constexpr std::uint32_t kGraphic = 1;
    static constexpr std::uint32_t kViewport = 2;

    // Of the graphic family, quick search, any engine of the family.
    explicit GraphicSearchCriterion(std::uint32_t kind);
    ~GraphicSearchCriterion() override;

    std::uint32_t m_kind;
    const std::int32_t* m_width = nullptr;
    const std::int32_t* m_height = nullptr;
    // The depth code of a surface opened without a pixel format.
    const std::uint32_t* m_depthCode = nullptr;
    // The extra-channel usage wanted with the depth code.
    const std::uint32_t* m_extraUsage = nullptr;
    const std::uint32_t* m_colorTag = nullptr;
    const GraphicSystem::Memory* m_placement = nullptr;
    const PixelFormat* m_pixelFormat = nullptr;
    // The handle of another graphic whose size, format, colour tag and placement the new surface takes
    // where this criterion gives none.
    GraphicHandle* m_model = nullptr;
    // The address of caller-supplied pixel memory.
    void* const* m_pixels = nullptr;
    // The row pitch of the caller's memory, in bytes.
    const std::int32_t* m_pitch = nullptr;
    // A graphic on one of this viewport's buffers.
    ViewportHandle* m_viewportHandle = nullptr;
    const std::uint32_t* m_bufferIndex = nullptr;
    const std::uint8_t* m_bufferFlag = nullptr;
    // What a viewport is opened with.
    const ViewportDescription* m_description = nullptr;
};

} // namespace Vemo
