// Owning pointer whose copies take the ownership over, so a list of them owns its pointees. AutoPointer<T[]>
// holds a block from new[] (a loader's whole-file buffer) and frees it with delete[].
#pragma once

#include <cstddef>
#include <type_traits>

namespace Vemo {

template <class T>
class AutoPointer {
public:
    using Element = std::remove_extent_t<T>;

    explicit AutoPointer(Element* pointer = nullptr, bool owns = true)
        : m_owns(pointer != nullptr && owns), m_pointer(pointer) {}

    // A copy takes the pointer and the ownership; the source keeps the pointer but no longer owns it.
    AutoPointer(const AutoPointer& other) : m_owns(other.m_owns), m_pointer(other.m_pointer) {
        other.m_owns = false;
    }

    AutoPointer& operator=(const AutoPointer& other) {
        if (this == &other) {
            return *this;
        }
        if (m_pointer != other.m_pointer) {
            Destroy();
            m_owns = other.m_owns;
        } else {
            // The same object seen through two holders: whichever of them owned it, this one does now.
            m_owns = m_owns || other.m_owns;
        }
        m_pointer = other.m_pointer;
        other.m_owns = false;
        return *this;
    }

    ~AutoPointer() { Destroy(); }

    Element* Get() const { return m_pointer; }
    Element* operator->() const { return m_pointer; }
    Element& operator*() const { return *m_pointer; }
    Element& operator[](std::size_t index) const { return m_pointer[index]; }
    bool Owns() const { return m_owns; }

    // Gives up the ownership and returns the pointer.
    Element* Release() {
        m_owns = false;
        return m_pointer;
    }

    bool operator==(const AutoPointer& other) const { return m_pointer == other.m_pointer; }

private:
    void Destroy() {
        if (!m_owns) {
            return;
        }
        if constexpr (std::is_array_v<T>) {
            delete[] m_pointer;
        } else {
            delete m_pointer;
        }
    }

    mutable bool m_owns;
    Element* m_pointer;
};

} // namespace Vemo
