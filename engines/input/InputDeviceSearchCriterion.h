// What an input front-end asks the Input Device System for: a device of a kind, by index or by name. The
// criterion does not own what it points at; it lives for one open call.
#pragma once

#include "foundation/String.h"
#include "resources/ResourceSearchCriterion.h"

#include <cstdint>

namespace Vemo {

class InputDeviceSearchCriterion : public ResourceSearchCriterion {
public:
    // Any engine of the input family, quick search.
    InputDeviceSearchCriterion(std::uint32_t kind, const std::uint32_t* index, const String* name);
    ~InputDeviceSearchCriterion() override;

    std::uint32_t GetKind() const { return m_kind; }
    // Null when the device is asked for by name.
    const std::uint32_t* GetIndex() const { return m_index; }
    // Null when the device is asked for by index.
    const String* GetName() const { return m_name; }

private:
    std::uint32_t m_kind;
    const std::uint32_t* m_index;
    const String* m_name;
};

} // namespace Vemo
