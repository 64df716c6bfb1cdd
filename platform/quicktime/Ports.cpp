#include "platform/quicktime/Calls.h"
#include "platform/quicktime/FrameWriter.h"
#include "platform/quicktime/MovieTask.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/win32/windows/WindowSystem.h"

#include <cstdlib>

namespace qt {

namespace {

using detail::Enter;
using detail::Layer;
using detail::LayerGuard;

bool WindowExists(win32::HWND window) {
    win32::WindowSystem& windows = win32::WindowSystem::Instance();
    std::lock_guard guard(windows.Lock());
    return windows.Find(window, false) != nullptr;
}

// Movies that draw into a port that goes lose it.
void Release(Layer& layer, CGrafPtr port) {
    for (MovieRecord* movie : layer.movies) {
        if (movie->port == port) {
            detail::ForgetPicture(*movie);
            movie->port = nullptr;
        }
    }
    delete port;
}

GrafPortRecord* WorldOf(Layer& layer, PixMapHandle pixels) {
    for (GrafPortRecord* port : layer.ports) {
        if (port->kind == GrafPortRecord::Kind::World && port->PixMapHandleOf() == pixels) {
            return port;
        }
    }
    return nullptr;
}

} // namespace

CGrafPtr CreatePortAssociation(win32::HWND window, Ptr, std::int32_t) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "CreatePortAssociation") != noErr) {
        return nullptr;
    }
    if (layer.qtmlStarts == 0) {
        detail::SetMoviesError(movieToolboxUninitialized);
        return nullptr;
    }
    if (window == nullptr || !WindowExists(window)) {
        detail::SetMoviesError(paramErr);
        return nullptr;
    }
    for (GrafPortRecord* port : layer.ports) {
        if (port->kind == GrafPortRecord::Kind::Window && port->window == window) {
            ++port->associations;
            return port;
        }
    }
    auto* port = new GrafPortRecord(GrafPortRecord::Kind::Window);
    port->window = window;
    port->associations = 1;
    return port;
}

void DestroyPortAssociation(CGrafPtr port) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "DestroyPortAssociation") != noErr) {
        return;
    }
    if (!layer.IsPort(port) || port->kind != GrafPortRecord::Kind::Window) {
        detail::SetMoviesError(paramErr);
        return;
    }
    if (--port->associations == 0) {
        Release(layer, port);
    }
}

CGrafPtr GetNativeWindowPort(win32::HWND window) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "GetNativeWindowPort") != noErr) {
        return nullptr;
    }
    for (GrafPortRecord* port : layer.ports) {
        if (port->kind == GrafPortRecord::Kind::Window && port->window == window) {
            return port;
        }
    }
    return nullptr;
}

QDErr NewGraphicsWorldFromMemory(GWorldPtr* world, OSType pixelFormat, const Rect* bounds, CTabHandle cTable,
                                 GDHandle, std::uint32_t, Ptr buffer, std::int32_t rowBytes) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (world != nullptr) {
        *world = nullptr;
    }
    if (OSErr error = Enter(layer, "NewGraphicsWorldFromMemory"); error != noErr) {
        return error;
    }
    const int bits = detail::BitsPerPixel(pixelFormat);
    if (bits == 0) {
        return cDepthErr;
    }
    if (world == nullptr || bounds == nullptr || buffer == nullptr || bounds->right <= bounds->left ||
        bounds->bottom <= bounds->top) {
        return paramErr;
    }
    const std::int64_t width = bounds->right - bounds->left;
    if (std::abs(static_cast<std::int64_t>(rowBytes)) * 8 < width * bits) {
        return paramErr;
    }
    auto* port = new GrafPortRecord(GrafPortRecord::Kind::World);
    port->pixMap.baseAddr = buffer;
    port->pixMap.rowBytes = rowBytes;
    port->pixMap.bounds = {0, 0, static_cast<std::int16_t>(bounds->bottom - bounds->top),
                           static_cast<std::int16_t>(width)};
    port->pixMap.pixelFormat = pixelFormat;
    port->pixMap.pixelSize = static_cast<std::int16_t>(bits);
    if (bits <= 8) {
        port->colors = cTable != nullptr && *cTable != nullptr ? **cTable : StandardColorTable(bits);
    }
    *world = port;
    return noErr;
}

PixMapHandle GetGWorldPixMap(GWorldPtr world) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (!layer.IsPort(world) || world->kind != GrafPortRecord::Kind::World) {
        return nullptr;
    }
    return world->PixMapHandleOf();
}

Boolean LockPixels(PixMapHandle pixels) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "LockPixels") != noErr) {
        return 0;
    }
    GrafPortRecord* world = WorldOf(layer, pixels);
    if (world == nullptr) {
        return 0;
    }
    world->locked = true;
    return 1;
}

void UnlockPixels(PixMapHandle pixels) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (GrafPortRecord* world = WorldOf(layer, pixels)) {
        world->locked = false;
    }
}

void DisposeGraphicsWorld(GWorldPtr world) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (layer.IsPort(world) && world->kind == GrafPortRecord::Kind::World) {
        Release(layer, world);
    }
}

} // namespace qt
