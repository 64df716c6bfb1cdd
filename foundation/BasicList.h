// Doubly linked list for collections that are appended to, walked in order and pruned while walking.
#pragma once

#include <cstddef>
#include <list>

namespace Vemo {

template <class T>
class BasicList {
public:
    using Iterator = typename std::list<T>::iterator;
    using ConstIterator = typename std::list<T>::const_iterator;

    BasicList() = default;
    BasicList(const BasicList&) = default;
    BasicList& operator=(const BasicList&) = default;
    virtual ~BasicList() = default;

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
    T& Front() { return m_elements.front(); }
    T& Back() { return m_elements.back(); }

    void PushBack(const T& element) { m_elements.push_back(element); }
    Iterator Insert(ConstIterator position, const T& element) { return m_elements.insert(position, element); }
    void PopFront() { m_elements.pop_front(); }
    Iterator Erase(ConstIterator position) { return m_elements.erase(position); }
    Iterator EraseRange(ConstIterator first, ConstIterator last) { return m_elements.erase(first, last); }
    void Clear() { m_elements.clear(); }
    void Remove(const T& element) { m_elements.remove(element); }

private:
    std::list<T> m_elements;
};

} // namespace Vemo
