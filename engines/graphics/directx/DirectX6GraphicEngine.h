// The graphic engine that the system installs: it owns the engine's DirectDraw 4 interface, keeps the DirectX
// 6 graphic and viewport handles it made, caches the display modes, translates between DirectDraw pixel
// formats and PixelFormat, makes the handles the Graphic System asks for (surfaces of their own, surfaces
// over caller memory, the buffers of a viewport, viewport handles) and restores lost surfaces.
//
// Activation needs the DirectX engine hook's main window: the engine hides it, keeps its styles (given back
// at deactivation) and sets DirectDraw's normal cooperative level on it. A full-screen viewport takes the
// main window for as long as it is full screen (main window in use). Restores run in the engine's periodic
// work while a restore is pending: the viewports set it on display changes and when their window is shown
// again, and a restore pass that fails leaves it set.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/directx/DirectXGraphicEngine.h"
#include "foundation/BasicArray.h"
#include "foundation/BasicList.h"
#include "platform/com/Unknown.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Vemo {

class DirectX6GraphicHandle;
class DirectX6ViewportHandle;
class DirectXWindow;
class GraphicSearchCriterion;
class ViewportDisplayModes;

class DirectX6GraphicEngine : public DirectXGraphicEngine {
public:
    // One display mode as DirectDraw reports it.
    struct DisplayMode {
        std::int32_t width = 0;
        std::int32_t height = 0;
        PixelFormat format;
        std::uint32_t refreshRate = 0;
    };

    // The modes of one display device; the primary device's GUID is all zero, and it is the only one used.
    struct GUIDDisplayMode {
        com::GUID device{};
        BasicArray<DisplayMode> modes;
    };

    // What a new surface is to be.
    struct SurfaceRequest {
        std::int32_t width = 0;
        std::int32_t height = 0;
        // 0: the display's format.
        std::uint32_t bitsPerPixel = 0;
        std::uint32_t redMask = 0;
        std::uint32_t greenMask = 0;
        std::uint32_t blueMask = 0;
        std::uint32_t alphaMask = 0;
        // The extra channel's usage: 0 none, 1 alpha, 2 depth.
        std::uint32_t extraUsage = 0;
        std::uint32_t colorTag = 1;
        // A GraphicSystem::Memory value.
        std::uint32_t placement = 0;
        // Bytes per row, negative for rows stored bottom-up.
        std::int32_t pitch = 0;
        // The caller's pixel memory (row 0), or null for memory the handle allocates.
        void* memory = nullptr;
        bool callerMemory = false;
    };

    DirectX6GraphicEngine(std::uint32_t typeId, const String& name);

    // Restores lost surfaces first while a restore is pending, then updates the handles.
    void Update() override;
    // Makes a viewport handle for a viewport criterion with a description, the graphic handle of a viewport
    // buffer, or a surface (over caller memory, like a model graphic, or of its own); refusals are reported
    // (GraphicSystemErrNotGraphicCriterion, ResourceEngineErrNotStarted and the criterion's own errors).
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Once a handle's count is 0: a graphic handle gives up its surface, a viewport handle shuts down; both
    // leave the engine's lists and are deleted.
    bool DestroyHandle(ResourceHandle* handle, Resource* resource) override;
    ~DirectX6GraphicEngine() override;
    // Fills the display-mode cache; true even when the display cannot be asked.
    bool Initialize() override;
    // Empties the display-mode cache.
    bool Terminate() override;
    bool Activate() override;
    // Releases the DirectDraw interfaces and gives the main window back its styles; true.
    bool Deactivate() override;
    bool MatchSearchCriterion(ResourceSearchCriterion* criterion) override;
    bool MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) override;
    ddraw::IDirectDraw4* GetDirectDraw() override;
    // Hands every cached mode of the primary display to the visitor, in DirectDraw's order, until it answers
    // false; fills the cache first when it is empty. False when the display cannot be asked.
    virtual bool EnumerateDisplayModes(ViewportDisplayModes& visitor);
    // Restores every lost viewport, then every lost graphic; a failure makes the answer false and leaves a
    // restore pending, and the pass goes on. Handles without a surface have nothing to restore.
    virtual bool RestoreSurfaces();
    // The DirectDraw description of a new surface for the handle: its size, placement and, unless its depth
    // is 0 (the display's format), its pixel format. False for a description smaller than 124 bytes, a colour
    // tag other than 1, or an indexed depth that DirectDraw has no palette flag for.
    virtual bool FillSurfaceDescription(ddraw::DDSURFACEDESC2& description,
                                        const DirectX6GraphicHandle& handle);
    // Makes a handle with a surface as requested, its format read back from the surface; null, with the
    // failure reported, when it cannot.
    virtual DirectX6GraphicHandle* CreateSurfaceHandle(const SurfaceRequest& request);

    // Runs the DirectX graphic engine's install step on the given engine, or on a new "DirectX6 Graphic
    // Engine"; an engine made here is deleted when that fails.
    static DirectX6GraphicEngine* Install(DirectX6GraphicEngine* engine = nullptr);

    // The main window while active and still the DirectX engine hook's main window, else null.
    DirectXWindow* GetMainWindow() const;
    // Whether the window is the one the engine took as its main window at activation; the window is only
    // compared, never used, so it may be gone.
    bool IsMainWindow(const DirectXWindow* window) const {
        return window != nullptr && window == m_mainWindow;
    }
    bool IsMainWindowInUse() const { return m_mainWindowInUse; }
    void SetMainWindowInUse(bool inUse) { m_mainWindowInUse = inUse; }
    bool IsRestorePending() const { return m_restorePending; }
    void SetRestorePending(bool pending) { m_restorePending = pending; }
    const BasicList<DirectX6GraphicHandle*>& GetGraphics() const { return m_graphics; }
    const BasicList<DirectX6ViewportHandle*>& GetViewports() const { return m_viewports; }

private:
    // The primary display's record, made and filled when missing; null when the display cannot be asked.
    GUIDDisplayMode* PrimaryDisplayModes();
    void ReleaseDirectDraw();
    ResourceHandle* CreateBufferHandle(const GraphicSearchCriterion& criterion);
    ResourceHandle* CreateSurfaceFor(const GraphicSearchCriterion& criterion);
    // The request of a new surface, what the criterion leaves open taken from the display; false with the
    // refusal reported.
    bool RequestNewSurface(const GraphicSearchCriterion& criterion, SurfaceRequest& request);
    // Puts the new surface on the caller's memory when it was asked for there; false with the failure
    // reported.
    bool MakeSurface(DirectX6GraphicHandle& handle, const SurfaceRequest& request,
                     ddraw::DDSURFACEDESC2& description);

    DirectXWindow* m_mainWindow = nullptr;
    bool m_mainWindowInUse = false;
    bool m_restorePending = false;
    ddraw::IDirectDraw* m_directDraw = nullptr;
    ddraw::IDirectDraw4* m_directDraw4 = nullptr;
    BasicList<DirectX6GraphicHandle*> m_graphics;
    BasicList<DirectX6ViewportHandle*> m_viewports;
    win32::LONG_PTR m_savedStyle = 0;
    win32::LONG_PTR m_savedExStyle = 0;
    std::vector<std::unique_ptr<GUIDDisplayMode>> m_displayModes;
};

} // namespace Vemo
