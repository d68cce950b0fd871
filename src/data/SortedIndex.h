#pragma once
// A read-only multimap in one sorted vector: built once per reload from its
// entries in load order, sorted stably (equal keys keep load order), then
// searched by binary search. Iteration, equal_range, lower_bound and count
// behave as std::multimap's, with entries as std::pair<Key, Mapped>.

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

namespace orv {

template <typename Key, typename Mapped, typename Less>
class SortedIndex {
public:
    using key_type = Key;
    using mapped_type = Mapped;
    using value_type = std::pair<Key, Mapped>;
    using const_iterator = typename std::vector<value_type>::const_iterator;
    using const_reverse_iterator = typename std::vector<value_type>::const_reverse_iterator;

    // Takes the entries in load order and sorts them by key, equal keys in
    // that order. Entries loaded in key order (the common case) skip the sort.
    void Assign(std::vector<value_type> entries) {
        const auto byKey = [](const value_type& a, const value_type& b) { return Less()(a.first, b.first); };
        if (!std::is_sorted(entries.begin(), entries.end(), byKey))
            std::stable_sort(entries.begin(), entries.end(), byKey);
        entries_ = std::move(entries);
    }
    void clear() { entries_.clear(); }

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    const_reverse_iterator rbegin() const { return entries_.rbegin(); }
    const_reverse_iterator rend() const { return entries_.rend(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    const_iterator lower_bound(const Key& key) const {
        return std::partition_point(begin(), end(), [&](const value_type& e) { return Less()(e.first, key); });
    }
    const_iterator upper_bound(const Key& key) const {
        return std::partition_point(begin(), end(), [&](const value_type& e) { return !Less()(key, e.first); });
    }
    std::pair<const_iterator, const_iterator> equal_range(const Key& key) const {
        return {lower_bound(key), upper_bound(key)};
    }
    std::size_t count(const Key& key) const {
        const auto [first, last] = equal_range(key);
        return static_cast<std::size_t>(last - first);
    }
    // The first entry with the key, or end().
    const_iterator find(const Key& key) const {
        const auto it = lower_bound(key);
        return it != end() && !Less()(key, it->first) ? it : end();
    }
    const Mapped& at(const Key& key) const {
        const auto it = find(key);
        if (it == end()) throw std::out_of_range("SortedIndex::at");
        return it->second;
    }

private:
    std::vector<value_type> entries_;
};

}  // namespace orv
