// Ordered containers: sets with unique keys and multisets whose equivalent elements keep their insertion
// order.
#pragma once

#include "foundation/Less.h"

#include <cstddef>
#include <set>
#include <utility>

namespace Vemo {

template <class Container>
class BasicOrderedContainer {
public:
    using Key = typename Container::key_type;
    using KeyCompare = typename Container::key_compare;
    using Iterator = typename Container::iterator;
    using ConstIterator = typename Container::const_iterator;

    BasicOrderedContainer() = default;
    explicit BasicOrderedContainer(const KeyCompare& less) : m_elements(less) {}
    BasicOrderedContainer(const BasicOrderedContainer&) = default;
    BasicOrderedContainer& operator=(const BasicOrderedContainer&) = default;
    virtual ~BasicOrderedContainer() = default;

    // A lower bound and one equivalence test, so a multiset yields the first of its equivalent elements.
    Iterator Find(const Key& key) {
        Iterator found = m_elements.lower_bound(key);
        return found != m_elements.end() && !m_elements.key_comp()(key, KeyOf(*found)) ? found
                                                                                       : m_elements.end();
    }
    ConstIterator Find(const Key& key) const {
        ConstIterator found = m_elements.lower_bound(key);
        return found != m_elements.end() && !m_elements.key_comp()(key, KeyOf(*found)) ? found
                                                                                       : m_elements.end();
    }
    Iterator LowerBound(const Key& key) { return m_elements.lower_bound(key); }
    ConstIterator LowerBound(const Key& key) const { return m_elements.lower_bound(key); }
    Iterator UpperBound(const Key& key) { return m_elements.upper_bound(key); }
    ConstIterator UpperBound(const Key& key) const { return m_elements.upper_bound(key); }

    Iterator Erase(ConstIterator position) { return m_elements.erase(position); }
    Iterator EraseRange(ConstIterator first, ConstIterator last) { return m_elements.erase(first, last); }
    void Clear() { m_elements.clear(); }

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

protected:
    static const Key& KeyOf(const typename Container::value_type& element) {
        if constexpr (requires { typename Container::mapped_type; }) {
            return element.first;
        } else {
            return element;
        }
    }

    Container m_elements;
};

template <class T, class LessT = Less<T>>
class BasicSet : public BasicOrderedContainer<std::set<T, LessT>> {
    using Base = BasicOrderedContainer<std::set<T, LessT>>;

public:
    using Base::Base;

    std::pair<typename Base::Iterator, bool> Insert(const T& element) {
        return this->m_elements.insert(element);
    }
};

template <class T, class LessT = Less<T>>
class BasicMultiset : public BasicOrderedContainer<std::multiset<T, LessT>> {
    using Base = BasicOrderedContainer<std::multiset<T, LessT>>;

public:
    using Base::Base;

    // Always inserted, after every equivalent element.
    std::pair<typename Base::Iterator, bool> Insert(const T& element) {
        return {this->m_elements.insert(element), true};
    }
};

} // namespace Vemo
