// The pass-by-pass arrangements and their order.
#include "obfuscator/permutations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using Lists = std::vector<std::vector<char>>;

TEST(Permutations, FollowThePassOrderWithTheInputOrderLast) {
  struct Case {
    std::vector<char> input;
    Lists arrangements;
  };
  const Case cases[] = {
      {{}, {}},
      {{'A'}, {{'A'}}},
      {{'A', 'B'}, {{'B', 'A'}, {'A', 'B'}}},
      {{'A', 'B', 'C'},
       {{'C', 'B', 'A'},
        {'B', 'C', 'A'},
        {'C', 'A', 'B'},
        {'A', 'C', 'B'},
        {'B', 'A', 'C'},
        {'A', 'B', 'C'}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(obfuscator::all_permutations(c.input), c.arrangements)
        << std::string(c.input.begin(), c.input.end());
  }
}

TEST(Permutations, RepeatedElementsEmptyAPassAndTheNextStartsAgain) {
  // (A, A): pass two finds nothing to extend.
  EXPECT_EQ(obfuscator::all_permutations(std::vector<char>{'A', 'A'}), Lists{});
  // (A, A, A): pass three starts again from one-element lists.
  EXPECT_EQ(obfuscator::all_permutations(std::vector<char>{'A', 'A', 'A'}),
            (Lists{{'A'}, {'A'}, {'A'}}));
  // (A, B, A): each list of pass two already holds both values.
  EXPECT_EQ(obfuscator::all_permutations(std::vector<char>{'A', 'B', 'A'}), Lists{});
}

TEST(Permutations, DistinctElementsGiveEveryArrangementOnce) {
  std::vector<int> items = {1, 2, 3, 4, 5};
  auto result = obfuscator::all_permutations(items);
  ASSERT_EQ(result.size(), 120u);
  std::sort(result.begin(), result.end());
  EXPECT_EQ(std::adjacent_find(result.begin(), result.end()), result.end());
  for (const auto& list : result) {
    EXPECT_TRUE(std::is_permutation(list.begin(), list.end(), items.begin()));
  }
}

}  // namespace
