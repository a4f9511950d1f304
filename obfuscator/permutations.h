// The arrangements of a list, built pass by pass as the generator's salt
// search walks them. Pass one makes a one-element list of each element; each
// later pass extends every list of the pass before by each element it does not
// yet contain. For (A, B, C) the order is (C, B, A), (B, C, A), (C, A, B),
// (A, C, B), (B, A, C), (A, B, C): the input order itself comes last.
//
// With repeated elements a pass may find nothing to extend and leave the
// result empty; the next pass then starts again from one-element lists, so
// (A, A) gives no list and (A, A, A) gives three lists (A). The result grows
// factorially with the list's length: n distinct elements give n! lists.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

namespace obfuscator {

template <typename T, typename Equal = std::equal_to<T>>
std::vector<std::vector<T>> all_permutations(const std::vector<T>& items, Equal equal = {}) {
  std::vector<std::vector<T>> result;
  for (std::size_t pass = 0; pass < items.size(); ++pass) {
    if (result.empty()) {
      for (const T& item : items) result.push_back({item});
      continue;
    }
    std::vector<std::vector<T>> previous;
    previous.swap(result);
    for (const T& item : items) {
      for (const auto& list : previous) {
        const bool contains = std::any_of(list.begin(), list.end(),
                                          [&](const T& present) { return equal(present, item); });
        if (contains) continue;
        auto extended = list;
        extended.push_back(item);
        result.push_back(std::move(extended));
      }
    }
  }
  return result;
}

}  // namespace obfuscator
