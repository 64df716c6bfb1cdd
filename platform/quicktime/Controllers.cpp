#include "platform/quicktime/Calls.h"
#include "platform/quicktime/MovieTask.h"
#include "platform/quicktime/QTVRInstanceRecord.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/Keyboard.h"

#include <cmath>

namespace qt {

namespace {

using detail::Enter;
using detail::Layer;
using detail::LayerGuard;

// Whether the call may go on with the controller; the result to give when it may not.
bool Usable(Layer& layer, const char* call, MovieController controller, ComponentResult& result) {
    OSErr error = Enter(layer, call, controller);
    result = error == paramErr && !layer.IsController(controller) ? badComponentInstance : error;
    return error == noErr;
}

std::intptr_t ValueOf(void* params) {
    return reinterpret_cast<std::intptr_t>(params);
}

void Task(Layer& layer, MovieRecord& movie) {
    layer.PumpAudio();
    if (layer.IsController(movie.controller) && movie.controller->vr != nullptr) {
        movie.controller->vr->Step();
    }
    detail::TaskMovie(movie);
}

} // namespace

MovieController NewMovieController(Movie movie, const Rect* bounds, std::int32_t flags) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    if (Enter(layer, "NewMovieController", movie) != noErr) {
        return nullptr;
    }
    if (bounds == nullptr || bounds->right < bounds->left || bounds->bottom < bounds->top) {
        detail::SetMoviesError(paramErr);
        return nullptr;
    }
    if (layer.movieServicesStarts == 0) {
        detail::SetMoviesError(movieToolboxUninitialized);
        return nullptr;
    }
    auto* controller = new ControllerRecord(movie, *bounds, flags);
    movie->controller = controller;
    movie->Changed();
    return controller;
}

void DisposeMovieController(MovieController controller) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    std::optional<OSErr> failure = layer.TakeFailure("DisposeMovieController");
    if (!layer.IsController(controller)) {
        detail::SetMoviesError(paramErr);
        return;
    }
    if (layer.IsMovie(controller->movie) && controller->movie->controller == controller) {
        controller->movie->controller = nullptr;
        detail::ForgetPicture(*controller->movie);
    }
    delete controller;
    detail::SetMoviesError(failure.value_or(noErr));
}

ComponentResult ControllerAction(MovieController controller, std::int16_t action, void* params) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "ControllerAction", controller, result)) {
        return result;
    }
    MovieRecord& movie = *controller->movie;
    switch (action) {
    case mcActionIdle:
    case mcActionDraw:
        Task(layer, movie);
        break;
    case mcActionActivate:
        controller->active = true;
        movie.Changed();
        break;
    case mcActionDeactivate:
        if (controller->vr != nullptr) {
            controller->vr->LetGo();
        }
        controller->active = false;
        movie.Changed();
        break;
    case mcActionPlay:
        movie.SetRate(static_cast<Fixed>(ValueOf(params)));
        break;
    case mcActionGoToTime: {
        const auto* time = static_cast<const TimeRecord*>(params);
        if (time == nullptr) {
            return paramErr;
        }
        double value = static_cast<double>(time->value);
        if (time->scale > 0 && time->scale != movie.scale) {
            value = value * movie.scale / time->scale;
        }
        movie.SetTime(value);
        break;
    }
    case mcActionSetVolume:
        movie.volume = static_cast<std::int16_t>(ValueOf(params));
        break;
    case mcActionGetVolume:
        if (params == nullptr) {
            return paramErr;
        }
        *static_cast<std::int16_t*>(params) = movie.volume;
        break;
    case mcActionSetLooping:
        movie.Now();
        movie.looping = ValueOf(params) != 0;
        break;
    case mcActionSetKeysEnabled:
        controller->keysEnabled = ValueOf(params) != 0;
        break;
    case mcActionSetFlags:
        controller->controllerFlags = static_cast<std::int32_t>(ValueOf(params));
        break;
    default:
        break;
    }
    return noErr;
}

TimeValue GetControllerTime(MovieController controller, TimeScale* scale) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "GetControllerTime", controller, result)) {
        return 0;
    }
    if (scale != nullptr) {
        *scale = controller->movie->scale;
    }
    return static_cast<TimeValue>(std::floor(controller->movie->Now()));
}

ComponentResult GetControllerBounds(MovieController controller, Rect* bounds) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "GetControllerBounds", controller, result)) {
        return result;
    }
    if (bounds == nullptr) {
        return paramErr;
    }
    *bounds = controller->Bounds();
    return noErr;
}

ComponentResult SetControllerPort(MovieController controller, CGrafPtr port) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "SetControllerPort", controller, result)) {
        return result;
    }
    if (port != nullptr && !layer.IsPort(port)) {
        return paramErr;
    }
    MovieRecord& movie = *controller->movie;
    if (movie.port != port) {
        detail::ForgetPicture(movie);
        movie.port = port;
    }
    return noErr;
}

ComponentResult ControllerMovieChanged(MovieController controller) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "ControllerMovieChanged", controller, result)) {
        return result;
    }
    controller->movie->Changed();
    return noErr;
}

Movie ControllerGetMovie(MovieController controller) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    return Usable(layer, "ControllerGetMovie", controller, result) ? controller->movie : nullptr;
}

ComponentResult ControllerIdle(MovieController controller) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "ControllerIdle", controller, result)) {
        return result;
    }
    Task(layer, *controller->movie);
    return noErr;
}

bool NativeEventToEvent(const win32::MSG* message, EventRecord* event) {
    if (message == nullptr || event == nullptr) {
        return false;
    }
    *event = EventRecord{};
    event->window = message->hwnd;
    event->when = message->time;
    event->where = {static_cast<std::int16_t>(win32::GET_Y_LPARAM(message->lParam)),
                    static_cast<std::int16_t>(win32::GET_X_LPARAM(message->lParam))};
    const bool mouse =
        message->message >= win32::WM_MOUSEFIRST && message->message <= win32::WM_LBUTTONDBLCLK;
    if (mouse) {
        event->modifiers =
            static_cast<std::uint16_t>(((message->wParam & win32::MK_SHIFT) != 0 ? shiftKey : 0) |
                                       ((message->wParam & win32::MK_CONTROL) != 0 ? controlKey : 0));
    }
    switch (message->message) {
    case win32::WM_LBUTTONDOWN:
    case win32::WM_LBUTTONDBLCLK:
        event->what = mouseDown;
        return true;
    case win32::WM_LBUTTONUP:
        event->what = mouseUp;
        return true;
    case win32::WM_MOUSEMOVE:
        event->what = osEvt;
        event->message = mouseMovedMessage << 24;
        return true;
    case win32::WM_KEYDOWN:
    case win32::WM_KEYUP: {
        const bool repeat = (message->lParam & (1 << 30)) != 0;
        event->what = message->message == win32::WM_KEYUP ? keyUp : repeat ? autoKey : keyDown;
        const auto virtualKey = static_cast<win32::BYTE>(message->wParam);
        const char typed = win32::CharacterFor(virtualKey, std::array<win32::BYTE, 256>{});
        event->message = (static_cast<std::uint32_t>(virtualKey) << 8) | static_cast<unsigned char>(typed);
        event->where = {};
        return true;
    }
    case win32::WM_PAINT:
        event->what = updateEvt;
        event->where = {};
        return true;
    case win32::WM_ACTIVATE:
        event->what = activateEvt;
        event->modifiers = win32::LOWORD(message->wParam) != 0 ? 1 : 0;
        event->where = {};
        return true;
    default:
        event->what = nullEvent;
        return false;
    }
}

ComponentResult ControllerHandleEvent(MovieController controller, const EventRecord* event) {
    Layer& layer = Layer::Instance();
    LayerGuard guard(layer.Lock());
    ComponentResult result = noErr;
    if (!Usable(layer, "ControllerHandleEvent", controller, result)) {
        return 0;
    }
    if (event == nullptr) {
        return 0;
    }
    return controller->HandleEvent(*event) ? 1 : 0;
}

} // namespace qt
