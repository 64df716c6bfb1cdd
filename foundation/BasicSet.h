// Ordered containers: sets with unique keys and multisets whose equivalent elements keep their insertion
// order.
#pragma once

#include "foundation/BasicContainer.h"
#include "foundation/Less.h"

#include <set>
#include <utility>

namespace Vemo {

template <class Container>
class BasicOrderedContainer : public BasicContainer<Container> {
    using Base = BasicContainer<Container>;

public:
    using Key = typename Container::key_type;
    using KeyCompare = typename Container::key_compare;
    using typename Base::ConstIterator;
    using typename Base::Iterator;
    // An element taken out together with its storage; inserting it again allocates nothing.
    using Node = typename Container::node_type;

    BasicOrderedContainer() = default;
    explicit BasicOrderedContainer(const KeyCompare& less) : Base(Container(less)) {}

    // A lower bound and one equivalence test, so a multiset yields the first of its equivalent elements.
    Iterator Find(const Key& key) {
        Iterator found = this->m_elements.lower_bound(key);
        return found != this->m_elements.end() && !this->m_elements.key_comp()(key, KeyOf(*found))
                   ? found
                   : this->m_elements.end();
    }
    ConstIterator Find(const Key& key) const {
        ConstIterator found = this->m_elements.lower_bound(key);
        return found != this->m_elements.end() && !this->m_elements.key_comp()(key, KeyOf(*found))
                   ? found
                   : this->m_elements.end();
    }
    Iterator LowerBound(const Key& key) { return this->m_elements.lower_bound(key); }
    ConstIterator LowerBound(const Key& key) const { return this->m_elements.lower_bound(key); }
    Iterator UpperBound(const Key& key) { return this->m_elements.upper_bound(key); }
    ConstIterator UpperBound(const Key& key) const { return this->m_elements.upper_bound(key); }

    Iterator Erase(ConstIterator position) { return this->m_elements.erase(position); }
    Node Extract(ConstIterator position) { return this->m_elements.extract(position); }

protected:
    static const Key& KeyOf(const typename Container::value_type& element) {
        if constexpr (requires { typename Container::mapped_type; }) {
            return element.first;
        } else {
            return element;
        }
    }
};

template <class T, class LessT = Less<T>>
class BasicSet : public BasicOrderedContainer<std::set<T, LessT>> {
    using Base = BasicOrderedContainer<std::set<T, LessT>>;

public:
    using Base::Base;

    std::pair<typename Base::Iterator, bool> Insert(const T& element) {
        return this->m_elements.insert(element);
    }
    // Inserts the element a node holds, reusing its storage; when an equivalent element is present the node
    // stays the caller's, unchanged.
    std::pair<typename Base::Iterator, bool> Insert(typename Base::Node& node) {
        auto result = this->m_elements.insert(std::move(node));
        node = std::move(result.node);
        return {result.position, result.inserted};
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
