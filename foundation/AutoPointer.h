// Owning pointer whose copies take the ownership over, so a list of them owns its pointees.
#pragma once

namespace Vemo {

template <class T>
class AutoPointer {
public:
    explicit AutoPointer(T* pointer = nullptr, bool owns = true) : m_owns(pointer != nullptr && owns), m_pointer(pointer) {}

    // A copy takes the pointer and the ownership; the source keeps the pointer but no longer owns it.
    AutoPointer(const AutoPointer& other) : m_owns(other.m_owns), m_pointer(other.m_pointer) { other.m_owns = false; }

    AutoPointer& operator=(const AutoPointer& other) {
        if (this != &other) {
            if (m_owns && m_pointer != other.m_pointer) {
                delete m_pointer;
            }
            m_owns = other.m_owns;
            m_pointer = other.m_pointer;
            other.m_owns = false;
        }
        return *this;
    }

    ~AutoPointer() {
        if (m_owns) {
            delete m_pointer;
        }
    }

    T* Get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    T& operator*() const { return *m_pointer; }
    bool Owns() const { return m_owns; }

    // Gives up the ownership and returns the pointer.
    T* Release() {
        m_owns = false;
        return m_pointer;
    }

    bool operator==(const AutoPointer& other) const { return m_pointer == other.m_pointer; }

private:
    mutable bool m_owns;
    T* m_pointer;
};

} // namespace Vemo
