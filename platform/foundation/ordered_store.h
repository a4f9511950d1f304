// The hashed store behind NSDictionary and NSSet: entries kept in the order
// their keys were first added, found by the keys' own hash and isEqual:, as
// Foundation's collections compare. `Entry` holds its key as `Ref key`, the
// key's `unsigned long hash`, and what the collection keeps beside it (a
// dictionary's value, a counted set's count).
#pragma once

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ns {

template <typename Entry>
class OrderedStore {
 public:
  std::size_t size() const { return entries_.size(); }
  const std::vector<Entry>& entries() const { return entries_; }
  Entry& entry(std::size_t at) { return entries_[at]; }

  // Position of the entry whose key is equal to `key`, or size().
  std::size_t find(id key) const {
    if (key == nil) return entries_.size();
    auto [first, last] = index_.equal_range(objc::msg<unsigned long>(key, "hash"));
    for (auto it = first; it != last; ++it) {
      id stored = entries_[it->second].key.get();
      if (stored == key || objc::msg<BOOL>(stored, "isEqual:", key)) return it->second;
    }
    return entries_.size();
  }

  // Adds an entry whose key is not there yet, last in order.
  void append(Entry entry) {
    entries_.push_back(std::move(entry));
    index_.emplace(entries_.back().hash, entries_.size() - 1);
  }

  // Removes the entry at `at`. Its objects are released only once the store
  // is whole again, since a release may run code that reads the collection.
  void erase(std::size_t at) {
    Entry removed = std::move(entries_[at]);
    entries_.erase(entries_.begin() + static_cast<long>(at));
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].hash, i);
  }

  void clear() {
    std::vector<Entry> removed;
    removed.swap(entries_);
    index_.clear();
  }

 private:
  std::vector<Entry> entries_;
  std::unordered_multimap<unsigned long, std::size_t> index_;
};

}  // namespace ns
