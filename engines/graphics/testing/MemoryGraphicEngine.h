// A graphic engine of the tests, registered with the Graphic System like the product's engine:
//
//     TestApplication application;
//     application.m_graphicSystem = GraphicSystem::Create();
//     application.m_graphicSystem->AddEngine(MemoryGraphicEngine::Make());
//     Graphic graphic;
//     graphic.Open(8, 4, &format, GraphicSystem::Memory::System, 1);
//
// Its graphic handles are MemoryGraphicHandles (real memory, nested locks, a settable lost field, injectable
// lock failures), over the caller's memory when the criterion gives some. Its viewport handles are
// TestViewportHandles, whose window opening makes one buffer handle per buffer through the Graphic System as
// the product's viewport does. The engine keeps a copy of every criterion it was asked to serve, and can be
// told to fail or to answer with a handle of the other kind.
#pragma once

#include "engines/graphics/GraphicEngine.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/ViewportDescription.h"
#include "engines/graphics/ViewportHandle.h"
#include "engines/graphics/testing/MemoryGraphicHandle.h"
#include "resources/ResourceSystem.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace VemoTest {

inline constexpr std::uint32_t kMemoryGraphicEngineId = 0x01000010;
inline constexpr std::uint32_t kOtherMemoryGraphicEngineId = 0x01000011;

// The graphic and viewport handles of the memory engines that are alive.
inline int g_liveGraphicTestHandles = 0;

class TestViewportHandle;

// A criterion as the engine saw it, its values copied out (the criterion's pointers die with the open).
struct GraphicRequest {
    explicit GraphicRequest(const Vemo::GraphicSearchCriterion& criterion)
        : kind(criterion.m_kind), width(Copy(criterion.m_width)), height(Copy(criterion.m_height)),
          depthCode(Copy(criterion.m_depthCode)), extraUsage(Copy(criterion.m_extraUsage)),
          colorTag(Copy(criterion.m_colorTag)), placement(Copy(criterion.m_placement)),
          pixelFormat(Copy(criterion.m_pixelFormat)), model(criterion.m_model),
          pixels(Copy(criterion.m_pixels)), pitch(Copy(criterion.m_pitch)),
          viewportHandle(criterion.m_viewportHandle), bufferIndex(Copy(criterion.m_bufferIndex)),
          bufferFlag(Copy(criterion.m_bufferFlag)), description(Copy(criterion.m_description)),
          wantedEngine(Copy(criterion.GetWantedEngineId())) {}

    std::uint32_t kind;
    std::optional<std::int32_t> width;
    std::optional<std::int32_t> height;
    std::optional<std::uint32_t> depthCode;
    std::optional<std::uint32_t> extraUsage;
    std::optional<std::uint32_t> colorTag;
    std::optional<Vemo::GraphicSystem::Memory> placement;
    std::optional<Vemo::PixelFormat> pixelFormat;
    Vemo::GraphicHandle* model;
    std::optional<void*> pixels;
    std::optional<std::int32_t> pitch;
    Vemo::ViewportHandle* viewportHandle;
    std::optional<std::uint32_t> bufferIndex;
    std::optional<std::uint8_t> bufferFlag;
    std::optional<Vemo::ViewportDescription> description;
    std::optional<std::uint32_t> wantedEngine;

private:
    template <class T>
    static std::optional<T> Copy(const T* value) {
        return value != nullptr ? std::optional<T>(*value) : std::nullopt;
    }
};

// A graphic handle of the memory engine: over memory of its own or the caller's, and, when it is a buffer of
// a test viewport, linked to it both ways until either goes.
class EngineGraphicHandle : public MemoryGraphicHandle {
public:
    EngineGraphicHandle(Vemo::ResourceEngine* engine, std::int32_t width, std::int32_t height,
                        const Vemo::PixelFormat& format, std::uint32_t colorTag, std::uint32_t placement,
                        void* callerPixels, std::int32_t callerPitch)
        : MemoryGraphicHandle(width, height, format, colorTag, callerPitch, engine),
          m_callerPixels(static_cast<std::uint8_t*>(callerPixels)) {
        m_placement = placement;
        ++g_liveGraphicTestHandles;
    }
    ~EngineGraphicHandle() override;

    bool IsAvailable() override { return true; }

    // Locks as the memory handle does, then shows the caller's memory instead of its own when there is some.
    bool Lock() override {
        if (!MemoryGraphicHandle::Lock()) {
            return false;
        }
        if (m_callerPixels != nullptr) {
            m_pixels = m_callerPixels;
        }
        return true;
    }

    // What no product handle does: keeps its alpha values on another graphic.
    void UseAlphaGraphic(Vemo::Graphic* graphic, std::uint32_t info) {
        m_alphaGraphic = graphic;
        m_alphaGraphicInfo = info;
    }
    void SetReadOnlyField(bool readOnly) { m_readOnly = readOnly; }

    std::uint8_t* CallerPixels() const { return m_callerPixels; }

    TestViewportHandle* m_viewport = nullptr;
    std::uint32_t m_bufferIndex = 0;

private:
    std::uint8_t* m_callerPixels;
};

// A viewport handle of the memory engine. OpenWindow takes the description and opens the graphic handle of
// every buffer through the Graphic System (the engine makes each and gives it to this handle), holding one
// reference on each until the handle goes. A few operations write what they were given into a log before the
// base behaviour answers.
class TestViewportHandle : public Vemo::ViewportHandle {
public:
    explicit TestViewportHandle(Vemo::ResourceEngine* engine) : ViewportHandle(engine) {
        ++g_liveGraphicTestHandles;
    }
    ~TestViewportHandle() override;

    bool OpenWindow(const Vemo::ViewportDescription& description) override;
    Vemo::GraphicHandle* GetBufferHandle(std::uint32_t index, bool logical) override {
        m_log.push_back("GetBufferHandle " + std::to_string(index) + (logical ? " logical" : ""));
        return index < m_buffers.size() ? m_buffers[index] : nullptr;
    }
    bool FlipToBuffer(std::uint32_t index, bool logical) override {
        m_log.push_back("FlipToBuffer " + std::to_string(index) + (logical ? " logical" : ""));
        return ViewportHandle::FlipToBuffer(index, logical);
    }
    bool CopyBufferToFront(std::uint32_t index, bool logical) override {
        m_log.push_back("CopyBufferToFront " + std::to_string(index) + (logical ? " logical" : ""));
        return ViewportHandle::CopyBufferToFront(index, logical);
    }
    using ViewportHandle::BlitScaled;
    bool BlitScaled(const Vemo::Rect& destination, Vemo::GraphicHandle* source, const Vemo::Rect& sourceRect,
                    std::uint32_t mode) override {
        m_log.push_back("BlitScaled " + Text(destination) + " <- #" + std::to_string(source->GetId()) + " " +
                        Text(sourceRect) + " m" + std::to_string(mode));
        return ViewportHandle::BlitScaled(destination, source, sourceRect, mode);
    }
    using ViewportHandle::Blit;
    bool Blit(const Vemo::Point& destination, Vemo::GraphicHandle* source, const Vemo::Rect& sourceRect,
              std::uint32_t mode) override {
        m_log.push_back("Blit " + std::to_string(destination.x) + "," + std::to_string(destination.y) +
                        " <- #" + std::to_string(source->GetId()) + " " + Text(sourceRect) + " m" +
                        std::to_string(mode));
        return ViewportHandle::Blit(destination, source, sourceRect, mode);
    }

    // Called by the engine with each buffer handle it makes for this viewport.
    void TakeBuffer(std::uint32_t index, EngineGraphicHandle* buffer) {
        if (m_buffers.size() <= index) {
            m_buffers.resize(index + 1, nullptr);
        }
        m_buffers[index] = buffer;
        buffer->m_viewport = this;
        buffer->m_bufferIndex = index;
    }
    void ForgetBuffer(std::uint32_t index) { m_buffers[index] = nullptr; }

    std::vector<std::string> TakeLog() {
        std::vector<std::string> taken;
        taken.swap(m_log);
        return taken;
    }

    // When set, OpenWindow opens no buffers: the first graphic opened on a buffer has the engine make it.
    bool m_openBuffers = true;
    bool m_failOpenWindow = false;
    std::vector<EngineGraphicHandle*> m_buffers;
    // The buffers whose reference this handle holds.
    std::vector<EngineGraphicHandle*> m_heldBuffers;
    std::vector<std::string> m_log;

private:
    static std::string Text(const Vemo::Rect& rect) {
        return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
               "," + std::to_string(rect.bottom);
    }
};

inline EngineGraphicHandle::~EngineGraphicHandle() {
    if (m_viewport != nullptr) {
        m_viewport->ForgetBuffer(m_bufferIndex);
    }
    --g_liveGraphicTestHandles;
}

inline bool TestViewportHandle::OpenWindow(const Vemo::ViewportDescription& description) {
    m_log.push_back("OpenWindow");
    if (m_failOpenWindow) {
        return false;
    }
    m_description = description;
    m_pixelFormat = Vemo::PixelFormat(description.depth == 5 ? Vemo::StandardPixelFormat::Rgb565
                                                             : Vemo::StandardPixelFormat::Xrgb32);
    if (!m_openBuffers) {
        return true;
    }
    Vemo::ResourceSystem* system = GetEngine()->GetSystem();
    const std::uint32_t engineId = GetEngine()->GetTypeId();
    for (std::uint32_t index = 0; index <= description.backBufferCount; ++index) {
        Vemo::GraphicSearchCriterion criterion(Vemo::GraphicSearchCriterion::kGraphic);
        criterion.SetWantedEngineId(&engineId);
        criterion.m_viewportHandle = this;
        criterion.m_bufferIndex = &index;
        auto* buffer = dynamic_cast<EngineGraphicHandle*>(system->Open(&criterion, nullptr));
        if (buffer == nullptr) {
            return false;
        }
        m_heldBuffers.push_back(buffer);
    }
    return true;
}

inline TestViewportHandle::~TestViewportHandle() {
    for (EngineGraphicHandle* buffer : m_buffers) {
        if (buffer != nullptr) {
            buffer->m_viewport = nullptr;
        }
    }
    // A buffer that went before this handle took itself out of m_buffers.
    Vemo::ResourceSystem* system = GetEngine()->GetSystem();
    for (EngineGraphicHandle* buffer : m_heldBuffers) {
        if (std::find(m_buffers.begin(), m_buffers.end(), buffer) != m_buffers.end() && system != nullptr) {
            system->Close(buffer, nullptr);
        }
    }
    --g_liveGraphicTestHandles;
}

class MemoryGraphicEngine : public Vemo::GraphicEngine {
public:
    explicit MemoryGraphicEngine(std::uint32_t typeId = kMemoryGraphicEngineId,
                                 const char* name = "Memory Graphic Engine")
        : GraphicEngine(typeId, name) {}

    // Through the factory, as an application makes its engines.
    static MemoryGraphicEngine* Make(std::uint32_t typeId = kMemoryGraphicEngineId,
                                     const char* name = "Memory Graphic Engine") {
        return static_cast<MemoryGraphicEngine*>(Create(new MemoryGraphicEngine(typeId, name)));
    }

    Vemo::ResourceHandle* CreateHandle(Vemo::ResourceSearchCriterion* criterion, Vemo::Resource*) override {
        auto* graphic = dynamic_cast<Vemo::GraphicSearchCriterion*>(criterion);
        if (graphic == nullptr) {
            return nullptr;
        }
        m_requests.emplace_back(*graphic);
        if (m_failCreateHandle) {
            return nullptr;
        }
        const bool viewport = (graphic->m_kind == Vemo::GraphicSearchCriterion::kViewport) != m_swapKinds;
        if (viewport) {
            auto* handle = new TestViewportHandle(this);
            handle->m_openBuffers = m_viewportsOpenBuffers;
            handle->m_failOpenWindow = m_failOpenWindow;
            return handle;
        }
        if (m_swapKinds) {
            return new EngineGraphicHandle(this, 1, 1, Vemo::PixelFormat(Vemo::StandardPixelFormat::Xrgb32),
                                           1, 0, nullptr, 0);
        }
        if (graphic->m_viewportHandle != nullptr) {
            return MakeBuffer(*graphic);
        }
        return MakeGraphic(*graphic);
    }

    Vemo::ResourceHandle* ShareHandle(Vemo::ResourceHandle* handle, Vemo::Resource* resource) override {
        return m_failShareHandle ? nullptr : GraphicEngine::ShareHandle(handle, resource);
    }

    std::vector<GraphicRequest> m_requests;
    bool m_failCreateHandle = false;
    bool m_failShareHandle = false;
    // Answers a graphic request with a viewport handle and a viewport request with a graphic handle.
    bool m_swapKinds = false;
    // Given to each new viewport handle.
    bool m_viewportsOpenBuffers = true;
    bool m_failOpenWindow = false;

private:
    EngineGraphicHandle* MakeBuffer(const Vemo::GraphicSearchCriterion& criterion) {
        auto* viewport = dynamic_cast<TestViewportHandle*>(criterion.m_viewportHandle);
        if (viewport == nullptr) {
            return nullptr;
        }
        auto* buffer =
            new EngineGraphicHandle(this, viewport->GetWidth(), viewport->GetHeight(),
                                    *viewport->GetPixelFormat(), viewport->GetColorTag(), 3, nullptr, 0);
        viewport->TakeBuffer(criterion.m_bufferIndex != nullptr ? *criterion.m_bufferIndex : 0, buffer);
        return buffer;
    }

    // What the criterion leaves open comes from the model, else from defaults (32-bit colour, tag 1, any
    // memory); a surface needs a size.
    EngineGraphicHandle* MakeGraphic(const Vemo::GraphicSearchCriterion& criterion) {
        const Vemo::GraphicHandle* model = criterion.m_model;
        const std::int32_t width = Pick(criterion.m_width, model, &Vemo::GraphicHandle::GetWidth, 0);
        const std::int32_t height = Pick(criterion.m_height, model, &Vemo::GraphicHandle::GetHeight, 0);
        if (width <= 0 || height <= 0) {
            return nullptr;
        }
        Vemo::PixelFormat format(Vemo::StandardPixelFormat::Xrgb32);
        if (criterion.m_pixelFormat != nullptr) {
            format = *criterion.m_pixelFormat;
        } else if (criterion.m_depthCode != nullptr) {
            const std::uint32_t usage = criterion.m_extraUsage != nullptr ? *criterion.m_extraUsage : 0;
            format = Vemo::PixelFormat(*criterion.m_depthCode,
                                       Vemo::ExtraChannel(static_cast<std::uint8_t>(usage)));
        } else if (model != nullptr) {
            format = model->GetPixelFormat();
        }
        const std::uint32_t colorTag =
            Pick(criterion.m_colorTag, model, &Vemo::GraphicHandle::GetColorTag, 1u);
        std::uint32_t placement = model != nullptr ? model->GetPlacement() : 0;
        if (criterion.m_placement != nullptr) {
            placement = static_cast<std::uint32_t>(*criterion.m_placement);
        }
        void* pixels = criterion.m_pixels != nullptr ? *criterion.m_pixels : nullptr;
        const std::int32_t pitch = criterion.m_pitch != nullptr ? *criterion.m_pitch : 0;
        return new EngineGraphicHandle(this, width, height, format, colorTag, placement, pixels, pitch);
    }

    template <class T>
    static T Pick(const T* given, const Vemo::GraphicHandle* model, T (Vemo::GraphicHandle::*read)() const,
                  T fallback) {
        if (given != nullptr) {
            return *given;
        }
        return model != nullptr ? (model->*read)() : fallback;
    }
};

} // namespace VemoTest
