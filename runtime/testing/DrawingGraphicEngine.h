// The memory graphic engine of the tests with viewports that draw. As the product's viewport handle does,
// the drawing operations of a DrawingViewportHandle (both FillRect forms, Blit, BlitScaled, SetClipRect and
// GetClipRect) act on the drawing buffer, buffer 1 when the viewport has a back buffer and buffer 0 else,
// through that buffer's graphic handle:
//
//     auto* engine = DrawingGraphicEngine::Make();
//     graphicSystem->AddEngine(engine);
//     Viewport viewport;
//     viewport.Open(description);                    // 640 x 480, one back buffer
//     viewport.FillRect(Rect(0, 0, 8, 8), 0xFF0000u, true, 3);
//     DrawingViewportHandle::Of(viewport)->DrawingBuffer()->PixelAt(0, 0);   // 0xFF0000
#pragma once

#include "engines/graphics/Viewport.h"
#include "engines/graphics/testing/MemoryGraphicEngine.h"

namespace VemoTest {

class DrawingViewportHandle : public TestViewportHandle {
public:
    using TestViewportHandle::TestViewportHandle;

    // The handle of an open viewport of this engine, else null.
    static DrawingViewportHandle* Of(Vemo::Viewport& viewport) {
        return dynamic_cast<DrawingViewportHandle*>(viewport.GetViewportHandle());
    }

    EngineGraphicHandle* DrawingBuffer() const {
        const std::size_t index = m_buffers.size() > 1 ? 1 : 0;
        return index < m_buffers.size() ? m_buffers[index] : nullptr;
    }
    EngineGraphicHandle* FrontBuffer() const { return m_buffers.empty() ? nullptr : m_buffers[0]; }

    bool FillRect(const Vemo::Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) override {
        EngineGraphicHandle* buffer = DrawingBuffer();
        return buffer != nullptr && buffer->FillRect(rect, pixel, filled, mode);
    }
    bool FillRect(const Vemo::Rect& rect, const Vemo::Color& color, bool filled,
                  std::uint32_t mode) override {
        EngineGraphicHandle* buffer = DrawingBuffer();
        return buffer != nullptr && buffer->FillRect(rect, color, filled, mode);
    }
    using TestViewportHandle::Blit;
    bool Blit(const Vemo::Point& destination, Vemo::GraphicHandle* source, const Vemo::Rect& sourceRect,
              std::uint32_t mode) override {
        EngineGraphicHandle* buffer = DrawingBuffer();
        return buffer != nullptr && buffer->Blit(destination, source, sourceRect, mode);
    }
    using TestViewportHandle::BlitScaled;
    bool BlitScaled(const Vemo::Rect& destination, Vemo::GraphicHandle* source, const Vemo::Rect& sourceRect,
                    std::uint32_t mode) override {
        EngineGraphicHandle* buffer = DrawingBuffer();
        return buffer != nullptr && buffer->BlitScaled(destination, source, sourceRect, mode);
    }
    bool SetClipRect(const Vemo::Rect& rect) override {
        EngineGraphicHandle* buffer = DrawingBuffer();
        return buffer != nullptr && buffer->SetClipRect(rect);
    }
    const Vemo::Rect* GetClipRect() override {
        EngineGraphicHandle* buffer = DrawingBuffer();
        return buffer != nullptr ? &buffer->GetClipRect() : EmptyClipRect();
    }
};

class DrawingGraphicEngine : public MemoryGraphicEngine {
public:
    DrawingGraphicEngine() : MemoryGraphicEngine(kMemoryGraphicEngineId, "Drawing Graphic Engine") {}

    // Through the factory, as an application makes its engines.
    static DrawingGraphicEngine* Make() {
        return static_cast<DrawingGraphicEngine*>(Create(new DrawingGraphicEngine()));
    }

    Vemo::ResourceHandle* CreateHandle(Vemo::ResourceSearchCriterion* criterion,
                                       Vemo::Resource* resource) override {
        auto* graphic = dynamic_cast<Vemo::GraphicSearchCriterion*>(criterion);
        if (graphic != nullptr && graphic->m_kind == Vemo::GraphicSearchCriterion::kViewport) {
            return new DrawingViewportHandle(this);
        }
        return MemoryGraphicEngine::CreateHandle(criterion, resource);
    }
};

} // namespace VemoTest
