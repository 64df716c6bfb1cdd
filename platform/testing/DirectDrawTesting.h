// Test-only access to DirectDraw: calls that answer a chosen result, lost surfaces, counts of the objects
// still alive, and the picture a window shows.
#pragma once

#include "platform/directx/DirectDraw.h"
#include "platform/directx/DirectDrawDisplay.h"
#include "platform/video/Frame.h"

#include <optional>

namespace ddraw::testing {

using detail::Call;
using Frame = video::Frame;

enum class Times { Once, Always };

// The call (on any object) answers result, a failure, and does nothing else: the next time only, or every
// time until ClearAnswers.
void Answer(Call call, HRESULT result, Times times = Times::Once);
void ClearAnswers();

// The surface is lost, as by a change of the display mode: with its flipping chain, unless it is on caller
// memory (false then).
bool LoseSurface(IDirectDrawSurface4* surface);

int LiveDirectDrawObjects();
int LiveSurfaces();
int LiveClippers();

// What the window shows, overlays included. Headless: the picture last presented for it, at the mode's size
// when full screen, else in its client area (from the corner, cut to it, black where the picture does not
// reach). Under SDL2: what its real window's renderer shows, read back at the renderer's output size, a
// full-screen picture stretched over all of it (call on the thread that runs SDL, after a look at the message
// queue has shown it). None when nothing was presented for it.
std::optional<Frame> ReadFrame(HWND window);

} // namespace ddraw::testing
