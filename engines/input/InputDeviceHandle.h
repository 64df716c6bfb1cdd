// An open input device. Each update polls it: the events read since the last poll pass, one by one, through
// the handle's filters in priority order and, unless a filter swallowed them, into Dispatch, which applies
// them to the handle's state and tells the front-ends.
//
// The base is a device that is not there: every query answers its default.
#pragma once

#include "engines/input/InputDeviceFilter.h"
#include "foundation/BasicDeque.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/ResourceHandle.h"

#include <cstdint>
#include <memory>

namespace Vemo {

struct InputDeviceEvent;

class InputDeviceHandle : public ResourceHandle {
public:
    using EventQueue = BasicDeque<InputDeviceEvent*>;

    // Device kinds.
    static constexpr std::uint32_t kNoKind = 0;
    static constexpr std::uint32_t kKeyboard = 1;
    static constexpr std::uint32_t kMouse = 2;
    static constexpr std::uint32_t kJoystick = 3;

    explicit InputDeviceHandle(ResourceEngine* engine);
    // Forgets the filters; they are not the handle's.
    ~InputDeviceHandle() override;

    // One poll. Every filter sees every event, the marker included, whatever earlier filters did to it. A
    // filter may add and remove filters, itself included: after each one the next to run is looked up afresh
    // as the first with a higher priority, so a removed filter is not called again, one added with a higher
    // priority sees the same event and one added with a lower priority sees the next. A filter or a
    // front-end's notification may close front-ends, the last one among them: the handle is then destroyed,
    // and the poll stops where it is without touching it.
    void Update() override;

    virtual std::uint32_t Kind();
    // Leaves out unchanged; true.
    virtual bool GetIdentifier(String& out);
    virtual std::uint32_t GetIndex();
    virtual bool GetName(String& out);
    // The physical device is connected.
    virtual bool IsAttached();
    virtual bool HasForceFeedback();
    // Nothing when the set has a filter of that priority already, this one or another.
    virtual void AddFilter(InputDeviceFilter* filter);
    // Removes the filter of that priority, whichever object it is.
    virtual void RemoveFilter(InputDeviceFilter* filter);
    // A filter of that priority is in the set.
    virtual bool HasFilter(InputDeviceFilter* filter);
    // Null: the first filter; else the one after the filter of that priority, null after the last or when no
    // filter has that priority.
    virtual InputDeviceFilter* NextFilter(InputDeviceFilter* filter);
    // Appends the events read since the last call; the base appends only the marker (time 0, kind none).
    virtual void ReadEvents(EventQueue& events);
    // Applies one event that came through the filters.
    virtual void Dispatch(InputDeviceEvent* event);

    // The set holds this very filter.
    bool HoldsFilter(const InputDeviceFilter* filter) const;

private:
    using FilterSet = BasicSet<InputDeviceFilter*, InputDeviceFilterSort>;

    FilterSet::Iterator FindPriority(std::uint32_t priority);
    // Stops as soon as alive reads false: a filter has destroyed the handle.
    void RunFilters(InputDeviceEvent* event, const bool& alive);

    FilterSet m_filters;
    // Reads false once the handle is gone; a poll keeps a share of it.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace Vemo
