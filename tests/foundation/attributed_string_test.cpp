// Attributed strings held against a simple model: one attribute map per
// UTF-16 code unit. After every edit of a table of edits, each index must
// report the model's attributes and, as its effective range, the longest
// stretch of equal maps around it (adjacent equal runs are one run).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/foundation/foundation.h"
#include "platform/foundation/foundation_types.h"
#include "platform/objc/block.h"
#include "platform/objc/exception.h"

namespace {

using objc::msg;
using objc::Ref;

using Attributes = std::map<std::string, std::string>;

std::string raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object()) + ": " + ns::exception_reason(e.object());
  }
  return "";
}

id dictionary_of(const Attributes& attributes) {
  id out = msg<id>(objc_getClass("NSMutableDictionary"), "new");
  ns::autorelease(out);
  for (const auto& [key, value] : attributes) {
    msg<void>(out, "setObject:forKey:", ns::string(value), ns::string(key));
  }
  return out;
}
Attributes attributes_of(id dictionary) {
  Attributes out;
  for (auto [key, value] : ns::dictionary_items(dictionary)) out[ns::utf8(key)] = ns::utf8(value);
  return out;
}

// The model: the text's code units and one map per unit.
struct Model {
  std::u16string text;
  std::vector<Attributes> units;

  void apply(NSRange r, const std::function<void(Attributes&)>& change) {
    for (std::size_t i = r.location; i < r.location + r.length; ++i) change(units[i]);
  }
  void replace(NSRange r, const std::u16string& with, const std::vector<Attributes>& attrs) {
    text.replace(r.location, r.length, with);
    units.erase(units.begin() + static_cast<long>(r.location),
                units.begin() + static_cast<long>(r.location + r.length));
    units.insert(units.begin() + static_cast<long>(r.location), attrs.begin(), attrs.end());
  }
  NSRange run_around(std::size_t i) const {
    std::size_t from = i, to = i + 1;
    while (from > 0 && units[from - 1] == units[i]) --from;
    while (to < units.size() && units[to] == units[i]) ++to;
    return NSMakeRange(from, to - from);
  }
};

struct Edit {
  const char* what;
  std::function<void(id)> on_string;
  std::function<void(Model&)> on_model;
};

NSRange R(unsigned long location, unsigned long length) { return NSMakeRange(location, length); }

class AttributedString : public testing::Test {
 protected:
  void expect_matches(id string, const Model& model, const char* after) {
    SCOPED_TRACE(after);
    ASSERT_EQ(msg<NSUInteger>(string, "length"), model.text.size());
    EXPECT_EQ(ns::characters(msg<id>(string, "string")), model.text);
    for (std::size_t i = 0; i < model.text.size(); ++i) {
      NSRange effective{};
      id attributes = msg<id>(string, "attributesAtIndex:effectiveRange:", i, &effective);
      EXPECT_EQ(attributes_of(attributes), model.units[i]) << "index " << i;
      EXPECT_EQ(effective, model.run_around(i)) << "index " << i;
    }
  }
  ns::AutoreleasePool pool_;
};

TEST_F(AttributedString, EditsKeepTheRunsOfTheModel) {
  // "é😀x" plus a combining acute: é is one unit, the emoji two, the mark one.
  const std::u16string start = u"\u00e9\U0001F600x e\u0301!";
  Ref string = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
                                  "initWithString:attributes:", ns::string(start),
                                  dictionary_of({{"font", "body"}})));
  Model model{start, std::vector<Attributes>(start.size(), Attributes{{"font", "body"}})};
  ASSERT_EQ(model.text.size(), 8u);

  const auto set = [](const char* key, const char* value) {
    return [=](Attributes& a) { a[key] = value; };
  };
  const std::vector<Edit> edits = {
      {"add colour over the emoji",
       [](id s) {
         msg<void>(s, "addAttribute:value:range:", ns::string("color"), ns::string("grey"),
                   R(1, 2));
       },
       [&](Model& m) { m.apply(R(1, 2), set("color", "grey")); }},
      {"add the same colour next to it: one run",
       [](id s) {
         msg<void>(s, "addAttribute:value:range:", ns::string("color"), ns::string("grey"),
                   R(3, 2));
       },
       [&](Model& m) { m.apply(R(3, 2), set("color", "grey")); }},
      {"add a dictionary over a run boundary",
       [](id s) {
         msg<void>(s, "addAttributes:range:", dictionary_of({{"link", "a"}, {"font", "bold"}}),
                   R(2, 4));
       },
       [&](Model& m) {
         m.apply(R(2, 4), [](Attributes& a) {
           a["link"] = "a";
           a["font"] = "bold";
         });
       }},
      {"set replaces everything in its range",
       [](id s) {
         msg<void>(s, "setAttributes:range:", dictionary_of({{"color", "grey"}}), R(0, 2));
       },
       [&](Model& m) { m.apply(R(0, 2), [](Attributes& a) {
                         a = {{"color", "grey"}};
                       }); }},
      {"set with nil clears", [](id s) { msg<void>(s, "setAttributes:range:", nil, R(7, 1)); },
       [&](Model& m) { m.apply(R(7, 1), [](Attributes& a) { a.clear(); }); }},
      {"remove an attribute",
       [](id s) { msg<void>(s, "removeAttribute:range:", ns::string("link"), R(0, 8)); },
       [&](Model& m) { m.apply(R(0, 8), [](Attributes& a) { a.erase("link"); }); }},
      {"replace takes the attributes of the first replaced unit",
       [](id s) {
         msg<void>(s, "replaceCharactersInRange:withString:", R(3, 2), ns::string("XYZ"));
       },
       [&](Model& m) { m.replace(R(3, 2), u"XYZ", std::vector<Attributes>(3, m.units[3])); }},
      {"an insertion takes the attributes of the unit before it",
       [](id s) {
         msg<void>(s, "replaceCharactersInRange:withString:", R(9, 0), ns::string("++"));
       },
       [&](Model& m) { m.replace(R(9, 0), u"++", std::vector<Attributes>(2, m.units[8])); }},
      {"an insertion at 0 takes the attributes of the first unit",
       [](id s) { msg<void>(s, "replaceCharactersInRange:withString:", R(0, 0), ns::string(">")); },
       [&](Model& m) { m.replace(R(0, 0), u">", {m.units[0]}); }},
      {"delete", [](id s) { msg<void>(s, "deleteCharactersInRange:", R(1, 3)); },
       [&](Model& m) { m.replace(R(1, 3), u"", {}); }},
      {"append keeps the appended runs",
       [](id s) {
         Ref tail = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                                       "initWithString:attributes:", ns::string("ab"),
                                       dictionary_of({{"color", "grey"}})));
         msg<void>(s, "appendAttributedString:", tail.get());
       },
       [&](Model& m) {
         m.replace(R(m.text.size(), 0), u"ab", std::vector<Attributes>(2, {{"color", "grey"}}));
       }},
      {"appending itself doubles the text",
       [](id s) { msg<void>(s, "appendAttributedString:", s); },
       [&](Model& m) {
         const Model before = m;
         m.replace(R(m.text.size(), 0), before.text, before.units);
       }},
      {"empty ranges change nothing",
       [](id s) {
         msg<void>(s, "addAttribute:value:range:", ns::string("k"), ns::string("v"), R(4, 0));
       },
       [](Model&) {}},
  };
  for (const Edit& edit : edits) {
    edit.on_string(string.get());
    edit.on_model(model);
    expect_matches(string.get(), model, edit.what);
  }
}

TEST_F(AttributedString, RangesPastTheEndRaiseAndChangeNothing) {
  Ref string = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
                                  "initWithString:", ns::string(u"\u00e9\U0001F600x")));
  Model model{u"\u00e9\U0001F600x", std::vector<Attributes>(4)};
  const unsigned long huge = ~0ul;
  struct Bad {
    NSRange range;
    const char* reason;
  };
  // A location of -1 arrives as the largest NSUInteger; location + length
  // that overflows must not wrap around to a small end.
  for (const Bad& bad : std::vector<Bad>{
           {R(2, 3), "Range {2, 3} out of bounds; string length 4"},
           {R(5, 0), "Range {5, 0} out of bounds; string length 4"},
           {R(huge, 1), "Range {18446744073709551615, 1} out of bounds; string length 4"},
           {R(1, huge), "Range {1, 18446744073709551615} out of bounds; string length 4"},
       }) {
    EXPECT_EQ(raised([&] {
                msg<void>(string.get(), "addAttribute:value:range:", ns::string("k"),
                          ns::string("v"), bad.range);
              }),
              std::string("NSRangeException: *** -[NSMutableAttributedString "
                          "addAttribute:value:range:]: ") +
                  bad.reason);
    EXPECT_NE(raised([&] { msg<void>(string.get(), "setAttributes:range:", nil, bad.range); }), "");
    EXPECT_NE(raised([&] {
                msg<void>(string.get(), "replaceCharactersInRange:withString:", bad.range,
                          ns::string("z"));
              }),
              "");
    EXPECT_NE(raised([&] { msg<id>(string.get(), "attributedSubstringFromRange:", bad.range); }),
              "");
  }
  EXPECT_EQ(raised([&] {
              msg<id>(string.get(), "attributesAtIndex:effectiveRange:", 4ul,
                      static_cast<NSRange*>(nullptr));
            }),
            "NSRangeException: *** -[NSMutableAttributedString attributesAtIndex:effectiveRange:]: "
            "Index 4 out of bounds; string length 4");
  EXPECT_NE(raised([&] {
              msg<void>(string.get(), "addAttribute:value:range:", ns::string("k"), nil, R(0, 1));
            }).find("NSInvalidArgumentException"),
            std::string::npos);
  EXPECT_NE(raised([&] {
              msg<void>(string.get(), "addAttribute:value:range:", nil, ns::string("v"), R(0, 1));
            }).find("NSInvalidArgumentException"),
            std::string::npos);
  expect_matches(string.get(), model, "after the refused edits");
}

TEST_F(AttributedString, EmptyAndOddTextsHaveClearAnswers) {
  Class plain = objc_getClass("NSAttributedString");
  Ref empty = Ref::adopt(msg<id>(msg<id>(plain, "alloc"), "initWithString:", ns::string("")));
  EXPECT_EQ(msg<NSUInteger>(empty.get(), "length"), 0u);
  EXPECT_NE(raised([&] {
              msg<id>(empty.get(), "attributesAtIndex:effectiveRange:", 0ul,
                      static_cast<NSRange*>(nullptr));
            }),
            "");
  // An unpaired surrogate is one code unit like any other.
  const std::u16string lone = {u'a', static_cast<char16_t>(0xD83D), u'b'};
  Ref odd =
      Ref::adopt(msg<id>(msg<id>(plain, "alloc"), "initWithString:attributes:", ns::string(lone),
                         dictionary_of({{"k", "v"}})));
  EXPECT_EQ(msg<NSUInteger>(odd.get(), "length"), 3u);
  NSRange effective{};
  EXPECT_EQ(ns::utf8(msg<id>(odd.get(), "attribute:atIndex:effectiveRange:", ns::string("k"), 2ul,
                             &effective)),
            "v");
  EXPECT_EQ(effective, R(0, 3));
  EXPECT_EQ(msg<id>(odd.get(), "attribute:atIndex:effectiveRange:", nil, 0ul,
                    static_cast<NSRange*>(nullptr)),
            nil);
}

TEST_F(AttributedString, CopiesAreValuesAndEqualByRuns) {
  Ref mutable_string = Ref::adopt(
      msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
              "initWithString:attributes:", ns::string("abcd"), dictionary_of({{"k", "v"}})));
  Ref frozen = Ref::adopt(msg<id>(mutable_string.get(), "copy"));
  EXPECT_EQ(ns::utf8(NSStringFromClass(object_getClass(frozen.get()))), "NSAttributedString");
  EXPECT_TRUE(msg<BOOL>(frozen.get(), "isEqual:", mutable_string.get()));
  // An immutable copy of an immutable string is the string itself.
  Ref again = Ref::adopt(msg<id>(frozen.get(), "copy"));
  EXPECT_EQ(again.get(), frozen.get());

  msg<void>(mutable_string.get(), "addAttribute:value:range:", ns::string("k"), ns::string("w"),
            R(1, 1));
  EXPECT_FALSE(msg<BOOL>(frozen.get(), "isEqual:", mutable_string.get()));
  Ref thawed = Ref::adopt(msg<id>(frozen.get(), "mutableCopy"));
  EXPECT_TRUE(msg<BOOL>(thawed.get(), "isEqual:", frozen.get()));
  EXPECT_TRUE(
      msg<BOOL>(thawed.get(), "respondsToSelector:", objc::sel("addAttribute:value:range:")));
  EXPECT_EQ(
      ns::utf8(msg<id>(msg<id>(mutable_string.get(), "attributedSubstringFromRange:", R(1, 2)),
                       "description")),
      "b{\n    k = w;\n}c{\n    k = v;\n}");
}

TEST_F(AttributedString, EnumerationJoinsEqualValuesUnlessToldNotTo) {
  Ref string = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSMutableAttributedString"), "alloc"),
                                  "initWithString:", ns::string("abcdef")));
  msg<void>(string.get(), "addAttribute:value:range:", ns::string("c"), ns::string("x"), R(0, 4));
  msg<void>(string.get(), "addAttribute:value:range:", ns::string("f"), ns::string("y"), R(2, 4));
  const auto collect = [&](NSRange range, NSUInteger options) {
    std::vector<std::pair<std::string, NSRange>> seen;
    objc::StackBlock<void(id, NSRange, BOOL*)> block([&](id value, NSRange r, BOOL*) {
      seen.emplace_back(value == nil ? "nil" : ns::utf8(value), r);
    });
    msg<void>(string.get(), "enumerateAttribute:inRange:options:usingBlock:", ns::string("c"),
              range, options, block.get());
    return seen;
  };
  using Seen = std::vector<std::pair<std::string, NSRange>>;
  EXPECT_EQ(collect(R(0, 6), 0), (Seen{{"x", R(0, 4)}, {"nil", R(4, 2)}}));
  EXPECT_EQ(collect(R(1, 4), NSAttributedStringEnumerationLongestEffectiveRangeNotRequired),
            (Seen{{"x", R(1, 1)}, {"x", R(2, 2)}, {"nil", R(4, 1)}}));
  EXPECT_EQ(collect(R(0, 6), NSAttributedStringEnumerationReverse),
            (Seen{{"nil", R(4, 2)}, {"x", R(0, 4)}}));

  std::vector<NSRange> runs;
  objc::StackBlock<void(id, NSRange, BOOL*)> stop_after_two([&](id, NSRange r, BOOL* stop) {
    runs.push_back(r);
    if (runs.size() == 2) *stop = YES;
  });
  msg<void>(string.get(), "enumerateAttributesInRange:options:usingBlock:", R(0, 6), 0ul,
            stop_after_two.get());
  EXPECT_EQ(runs, (std::vector<NSRange>{R(0, 2), R(2, 2)}));
}

}  // namespace
