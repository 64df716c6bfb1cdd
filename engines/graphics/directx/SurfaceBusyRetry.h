// How the DirectX 6 handles call DirectDraw on a surface that may be busy: a surface that another thread has
// locked, or whose device context is out, answers DDERR_SURFACEBUSY until it is given back. The call is
// repeated at once a few times and then after short pauses of the host's clock (never the platform clock, so
// that a test's fake clock neither stops the retries ending nor is moved by them), about a tenth of a second
// in all; a surface still busy then, as one whose device context the calling thread itself keeps, is answered
// with the last DDERR_SURFACEBUSY.
#pragma once

#include "platform/directx/DirectDraw.h"

#include <chrono>
#include <thread>

namespace Vemo {

inline constexpr int kSurfaceBusyQuickRetries = 16;
inline constexpr int kSurfaceBusyPausedRetries = 100;

template <class Call>
win32::HRESULT RetryWhileBusy(Call call) {
    win32::HRESULT result = call();
    for (int attempt = 0;
         result == ddraw::DDERR_SURFACEBUSY && attempt < kSurfaceBusyQuickRetries + kSurfaceBusyPausedRetries;
         ++attempt) {
        if (attempt < kSurfaceBusyQuickRetries) {
            std::this_thread::yield();
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        result = call();
    }
    return result;
}

} // namespace Vemo
