// What the framework's containers share: the one standard container each wraps, walking it, counting it,
// copying it and moving it. Each container adds the operations of its kind.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace Vemo {

template <class Container>
class BasicContainer {
public:
    using Iterator = typename Container::iterator;
    using ConstIterator = typename Container::const_iterator;

    BasicContainer() = default;
    BasicContainer(const BasicContainer&) = default;
    BasicContainer& operator=(const BasicContainer&) = default;
    // The elements change hands without being copied; the source is left empty and usable.
    BasicContainer(BasicContainer&& other) noexcept(std::is_nothrow_move_constructible_v<Container>)
        : m_elements(std::move(other.m_elements)) {
        other.m_elements.clear();
    }
    BasicContainer& operator=(BasicContainer&& other) noexcept(std::is_nothrow_move_assignable_v<Container>) {
        if (this != &other) {
            m_elements = std::move(other.m_elements);
            other.m_elements.clear();
        }
        return *this;
    }
    virtual ~BasicContainer();

    Iterator Begin() { return m_elements.begin(); }
    Iterator End() { return m_elements.end(); }
    ConstIterator Begin() const { return m_elements.begin(); }
    ConstIterator End() const { return m_elements.end(); }
    Iterator begin() { return m_elements.begin(); }
    Iterator end() { return m_elements.end(); }
    ConstIterator begin() const { return m_elements.begin(); }
    ConstIterator end() const { return m_elements.end(); }

    std::size_t Size() const { return m_elements.size(); }
    bool Empty() const { return m_elements.empty(); }

    Iterator EraseRange(ConstIterator first, ConstIterator last) { return m_elements.erase(first, last); }
    void Clear() { m_elements.clear(); }

protected:
    explicit BasicContainer(Container elements) : m_elements(std::move(elements)) {}

    Container m_elements;
};

// Defined apart so that it is instantiated only at the end of a translation unit: an array may hold the very
// type that holds it (a Fragment its child Fragments), whose elements are complete only there.
template <class Container>
BasicContainer<Container>::~BasicContainer() {}

} // namespace Vemo
