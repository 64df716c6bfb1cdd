#include "engines/input/InputDeviceHandle.h"

#include "engines/input/InputDeviceEngine.h"
#include "engines/input/InputDeviceEvent.h"
#include "engines/input/InputDeviceSystem.h"

namespace Vemo {

namespace {

// Stands for a priority in a lookup of the filter set.
class PriorityKey final : public InputDeviceFilter {
public:
    explicit PriorityKey(std::uint32_t priority) : InputDeviceFilter(priority) {}
    bool Filter(InputDeviceEvent*) override { return false; }
};

} // namespace

InputDeviceHandle::InputDeviceHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

InputDeviceHandle::~InputDeviceHandle() {
    *m_alive = false;
    m_filters.Clear();
    // A handle taken away without its last close (an engine shutting down after a failed close) must not
    // stay listed.
    if (auto* engine = dynamic_cast<InputDeviceEngine*>(GetEngine())) {
        engine->ForgetHandle(this);
        if (auto* system = dynamic_cast<InputDeviceSystem*>(engine->GetSystem())) {
            system->ForgetHandle(this);
        }
    }
}

void InputDeviceHandle::Update() {
    // What the filters and the front-ends are told may close the device's last front-end, which destroys this
    // handle: from then on nothing of it is touched, and the events still queued are only freed.
    const std::shared_ptr<const bool> alive = m_alive;
    EventQueue events;
    ReadEvents(events);
    while (!events.Empty()) {
        InputDeviceEvent* event = events.Front();
        events.PopFront();
        if (*alive) {
            RunFilters(event, *alive);
        }
        if (*alive && event->kind != InputDeviceEvent::None) {
            Dispatch(event);
        }
        delete event;
    }
}

void InputDeviceHandle::RunFilters(InputDeviceEvent* event, const bool& alive) {
    auto next = m_filters.Begin();
    while (next != m_filters.End()) {
        InputDeviceFilter* filter = *next;
        // Read before the call: the filter may leave the set, and even be deleted, while it runs.
        const std::uint32_t priority = filter->GetPriority();
        filter->Filter(event);
        if (!alive) {
            return;
        }
        PriorityKey key(priority);
        next = m_filters.UpperBound(&key);
    }
}

std::uint32_t InputDeviceHandle::Kind() {
    return kNoKind;
}

bool InputDeviceHandle::GetIdentifier(String&) {
    return true;
}

std::uint32_t InputDeviceHandle::GetIndex() {
    return 0;
}

bool InputDeviceHandle::GetName(String&) {
    return true;
}

bool InputDeviceHandle::IsAttached() {
    return false;
}

bool InputDeviceHandle::HasForceFeedback() {
    return false;
}

InputDeviceHandle::FilterSet::Iterator InputDeviceHandle::FindPriority(std::uint32_t priority) {
    PriorityKey key(priority);
    return m_filters.Find(&key);
}

void InputDeviceHandle::AddFilter(InputDeviceFilter* filter) {
    m_filters.Insert(filter);
}

void InputDeviceHandle::RemoveFilter(InputDeviceFilter* filter) {
    auto found = FindPriority(filter->GetPriority());
    if (found != m_filters.End()) {
        m_filters.Erase(found);
    }
}

bool InputDeviceHandle::HasFilter(InputDeviceFilter* filter) {
    return FindPriority(filter->GetPriority()) != m_filters.End();
}

InputDeviceFilter* InputDeviceHandle::NextFilter(InputDeviceFilter* filter) {
    if (filter == nullptr) {
        return m_filters.Empty() ? nullptr : *m_filters.Begin();
    }
    auto found = FindPriority(filter->GetPriority());
    if (found == m_filters.End() || ++found == m_filters.End()) {
        return nullptr;
    }
    return *found;
}

void InputDeviceHandle::ReadEvents(EventQueue& events) {
    events.PushBack(new InputDeviceEvent(0, InputDeviceEvent::None));
}

void InputDeviceHandle::Dispatch(InputDeviceEvent*) {}

bool InputDeviceHandle::HoldsFilter(const InputDeviceFilter* filter) const {
    for (const InputDeviceFilter* held : m_filters) {
        if (held == filter) {
            return true;
        }
    }
    return false;
}

} // namespace Vemo
