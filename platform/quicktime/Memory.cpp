#include "platform/quicktime/Calls.h"
#include "platform/quicktime/QuickTime.h"

#include <cstdlib>
#include <cstring>

namespace qt {

namespace {

using detail::HandleBlock;
using detail::Layer;
using detail::LayerGuard;

// The block of a live handle, or null (nilHandleErr, or the injected failure, as the memory error).
HandleBlock* Find(Layer& layer, const char* call, Handle handle) {
    if (std::optional<OSErr> failure = layer.TakeFailure(call)) {
        detail::SetMemoryError(*failure);
        return nullptr;
    }
    auto found = layer.handles.find(handle);
    if (found == layer.handles.end()) {
        detail::SetMemoryError(nilHandleErr);
        return nullptr;
    }
    detail::SetMemoryError(noErr);
    return found->second.get();
}

} // namespace

Handle NewHandle(Size size) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (std::optional<OSErr> failure = layer.TakeFailure("NewHandle")) {
        detail::SetMemoryError(*failure);
        return nullptr;
    }
    if (size < 0) {
        detail::SetMemoryError(paramErr);
        return nullptr;
    }
    auto block = std::make_unique<HandleBlock>();
    block->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(size) + 1, 1));
    if (block->data == nullptr) {
        detail::SetMemoryError(memFullErr);
        return nullptr;
    }
    block->size = size;
    Handle handle = &block->data;
    layer.handles.emplace(handle, std::move(block));
    detail::SetMemoryError(noErr);
    return handle;
}

void SetHandleSize(Handle handle, Size size) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    HandleBlock* block = Find(layer, "SetHandleSize", handle);
    if (block == nullptr) {
        return;
    }
    if (size < 0) {
        detail::SetMemoryError(paramErr);
        return;
    }
    if (block->locked && size > block->size) {
        detail::SetMemoryError(memFullErr);
        return;
    }
    auto* grown = static_cast<char*>(std::realloc(block->data, static_cast<std::size_t>(size) + 1));
    if (grown == nullptr) {
        detail::SetMemoryError(memFullErr);
        return;
    }
    if (size > block->size) {
        std::memset(grown + block->size, 0, static_cast<std::size_t>(size - block->size));
    }
    block->data = grown;
    block->size = size;
}

Size GetHandleSize(Handle handle) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    HandleBlock* block = Find(layer, "GetHandleSize", handle);
    return block != nullptr ? block->size : 0;
}

OSErr GetMemoryError() {
    return detail::MemoryError();
}

void LockHandle(Handle handle) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (HandleBlock* block = Find(layer, "LockHandle", handle)) {
        block->locked = true;
    }
}

void UnlockHandle(Handle handle) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (HandleBlock* block = Find(layer, "UnlockHandle", handle)) {
        block->locked = false;
    }
}

void DisposeHandle(Handle handle) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (HandleBlock* block = Find(layer, "DisposeHandle", handle)) {
        std::free(block->data);
        layer.handles.erase(handle);
    }
}

} // namespace qt
