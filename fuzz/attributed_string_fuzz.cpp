// Range operations on NSMutableAttributedString, as the text rules and the
// app drive them: every input is a program of edits (attribute changes,
// replacements, deletions, insertions, substrings and lookups, with ranges
// inside, at and far past the end) run against a plain model that keeps one
// attribute set per UTF-16 unit. After every step the text, each unit's
// attributes and each effective range agree with the model, and a range out
// of bounds raises NSRangeException and changes nothing.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace {

using objc::msg;
using objc::Ref;

constexpr std::size_t kNames = 3;
constexpr int kAbsent = -1;
// One unit's attributes: a small number under each name, or kAbsent.
using Attributes = std::array<int, kNames>;

struct Model {
  std::u16string text;
  std::vector<Attributes> attributes;
};

// Reads the program; past its end every byte is 0.
class Program {
 public:
  Program(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  // An index for a text of `length` units: mostly inside or just past it,
  // sometimes the largest index there is.
  NSUInteger index(std::size_t length) {
    const std::uint8_t b = byte();
    if (b == 0xFF) return std::numeric_limits<NSUInteger>::max();
    return b % (length + 3);
  }
  NSRange range(std::size_t length) {
    const NSUInteger location = index(length);
    return NSMakeRange(location, index(length));
  }
  // A unit: ASCII and Latin-1 mostly, surrogate halves now and then.
  char16_t unit() {
    const std::uint8_t b = byte();
    return b >= 0xF0 ? static_cast<char16_t>(0xD800 + (b & 0x0F) * 0x80) : b;
  }
  std::u16string text() {
    std::u16string out(byte() % 5, u'\0');
    for (char16_t& c : out) c = unit();
    return out;
  }
  Attributes attributes() {
    Attributes out;
    const std::uint8_t present = byte();
    for (std::size_t n = 0; n < kNames; ++n) out[n] = present >> n & 1 ? byte() % 4 : kAbsent;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

id name(std::size_t n) {
  static const id names[kNames] = {ns::constant_string("a"), ns::constant_string("b"),
                                   ns::constant_string("c")};
  return names[n];
}

id dictionary_of(const Attributes& attributes) {
  id out = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
  for (std::size_t n = 0; n < kNames; ++n) {
    if (attributes[n] != kAbsent) {
      msg<void>(out, "setObject:forKey:", ns::number(static_cast<long long>(attributes[n])), name(n));
    }
  }
  return out;
}

Attributes attributes_of(id dictionary) {
  FUZZ_CHECK(ns::is_dictionary(dictionary));
  Attributes out;
  for (std::size_t n = 0; n < kNames; ++n) {
    id value = msg<id>(dictionary, "objectForKey:", name(n));
    out[n] = value == nil ? kAbsent : static_cast<int>(msg<int>(value, "intValue"));
  }
  FUZZ_CHECK(msg<NSUInteger>(dictionary, "count") ==
             static_cast<NSUInteger>(kNames - static_cast<std::size_t>(std::count(
                                                  out.begin(), out.end(), kAbsent))));
  return out;
}

bool within(NSRange range, std::size_t length) {
  return range.location <= length && range.length <= length - range.location;
}

// The model's maximal stretch around `index` where `same(unit)` holds.
template <typename Same>
NSRange stretch(const Model& model, std::size_t index, Same same) {
  std::size_t from = index, to = index + 1;
  while (from > 0 && same(from - 1)) --from;
  while (to < model.text.size() && same(to)) ++to;
  return NSMakeRange(from, to - from);
}

void check_against(id string, const Model& model) {
  FUZZ_CHECK(ns::characters(msg<id>(string, "string")) == model.text);
  FUZZ_CHECK(msg<NSUInteger>(string, "length") == model.text.size());
  for (std::size_t i = 0; i < model.text.size(); ++i) {
    NSRange effective{};
    id attributes = msg<id>(string, "attributesAtIndex:effectiveRange:", NSUInteger{i}, &effective);
    FUZZ_CHECK(attributes_of(attributes) == model.attributes[i]);
    // Adjacent runs with equal attributes are one run.
    const NSRange expected =
        stretch(model, i, [&](std::size_t j) { return model.attributes[j] == model.attributes[i]; });
    FUZZ_CHECK(effective == expected);
  }
}

// Runs `edit`, which must raise NSRangeException exactly when `valid` is false.
template <typename Edit>
void expect_range_check(bool valid, Edit edit) {
  bool raised = false;
  try {
    edit();
  } catch (const objc::Exception& exception) {
    FUZZ_CHECK(ns::utf8(msg<id>(exception.object(), "name")) == "NSRangeException");
    raised = true;
  }
  FUZZ_CHECK(raised == !valid);
}

void step(Program& program, id string, Model& model) {
  const std::size_t length = model.text.size();
  switch (program.byte() % 8) {
    case 0: {  // addAttribute:value:range:
      const std::size_t n = program.byte() % kNames;
      const int value = program.byte() % 4;
      const NSRange range = program.range(length);
      const bool valid = within(range, length);
      expect_range_check(valid, [&] {
        msg<void>(string, "addAttribute:value:range:", name(n),
                  ns::number(static_cast<long long>(value)), range);
      });
      if (!valid) return;
      for (std::size_t i = range.location; i < range.location + range.length; ++i) {
        model.attributes[i][n] = value;
      }
      return;
    }
    case 1: {  // removeAttribute:range:
      const std::size_t n = program.byte() % kNames;
      const NSRange range = program.range(length);
      const bool valid = within(range, length);
      expect_range_check(valid, [&] { msg<void>(string, "removeAttribute:range:", name(n), range); });
      if (!valid) return;
      for (std::size_t i = range.location; i < range.location + range.length; ++i) {
        model.attributes[i][n] = kAbsent;
      }
      return;
    }
    case 2: {  // setAttributes:range:
      const Attributes attributes = program.attributes();
      const NSRange range = program.range(length);
      const bool valid = within(range, length);
      expect_range_check(valid, [&] {
        msg<void>(string, "setAttributes:range:", dictionary_of(attributes), range);
      });
      if (!valid) return;
      for (std::size_t i = range.location; i < range.location + range.length; ++i) {
        model.attributes[i] = attributes;
      }
      return;
    }
    case 3: {  // replaceCharactersInRange:withString:
      const NSRange range = program.range(length);
      const std::u16string text = program.text();
      const bool valid = within(range, length);
      expect_range_check(valid, [&] {
        msg<void>(string, "replaceCharactersInRange:withString:", range, ns::string(text));
      });
      if (!valid) return;
      // The first replaced unit's attributes, else the one before, else the first.
      Attributes inherited{kAbsent, kAbsent, kAbsent};
      if (length > 0) {
        std::size_t from =
            range.length > 0 || range.location == 0 ? range.location : range.location - 1;
        inherited = model.attributes[std::min(from, length - 1)];
      }
      const auto at = static_cast<std::ptrdiff_t>(range.location);
      const auto end = static_cast<std::ptrdiff_t>(range.location + range.length);
      model.text.replace(range.location, range.length, text);
      model.attributes.erase(model.attributes.begin() + at, model.attributes.begin() + end);
      model.attributes.insert(model.attributes.begin() + at, text.size(), inherited);
      return;
    }
    case 4: {  // deleteCharactersInRange:
      const NSRange range = program.range(length);
      const bool valid = within(range, length);
      expect_range_check(valid, [&] { msg<void>(string, "deleteCharactersInRange:", range); });
      if (!valid) return;
      model.text.erase(range.location, range.length);
      model.attributes.erase(
          model.attributes.begin() + static_cast<std::ptrdiff_t>(range.location),
          model.attributes.begin() + static_cast<std::ptrdiff_t>(range.location + range.length));
      return;
    }
    case 5: {  // insertAttributedString:atIndex:
      const std::u16string text = program.text();
      const Attributes attributes = program.attributes();
      const NSUInteger index = program.index(length);
      Ref inserted = Ref::adopt(msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                                        "initWithString:attributes:", ns::string(text),
                                        dictionary_of(attributes)));
      const bool valid = index <= length;
      expect_range_check(valid, [&] {
        msg<void>(string, "insertAttributedString:atIndex:", inserted.get(), index);
      });
      if (!valid) return;
      model.text.insert(index, text);
      model.attributes.insert(model.attributes.begin() + static_cast<std::ptrdiff_t>(index),
                              text.size(), attributes);
      return;
    }
    case 6: {  // attributedSubstringFromRange:
      const NSRange range = program.range(length);
      const bool valid = within(range, length);
      id part = nil;
      expect_range_check(valid,
                         [&] { part = msg<id>(string, "attributedSubstringFromRange:", range); });
      if (!valid) return;
      Model expected{model.text.substr(range.location, range.length),
                     {model.attributes.begin() + static_cast<std::ptrdiff_t>(range.location),
                      model.attributes.begin() +
                          static_cast<std::ptrdiff_t>(range.location + range.length)}};
      check_against(part, expected);
      return;
    }
    default: {  // attribute:atIndex:effectiveRange:
      const std::size_t n = program.byte() % kNames;
      const NSUInteger index = program.index(length);
      const bool valid = index < length;
      id value = nil;
      NSRange effective{};
      expect_range_check(valid, [&] {
        value = msg<id>(string, "attribute:atIndex:effectiveRange:", name(n), index, &effective);
      });
      if (!valid) return;
      const int expected = model.attributes[index][n];
      FUZZ_CHECK((value == nil) == (expected == kAbsent));
      if (value != nil) FUZZ_CHECK(msg<int>(value, "intValue") == expected);
      FUZZ_CHECK(effective == stretch(model, index, [&](std::size_t j) {
                   return model.attributes[j][n] == expected;
                 }));
      return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ns::AutoreleasePool pool;
  Program program(data, size);
  Ref string = Ref::adopt(msg<id>(objc_getClass("NSMutableAttributedString"), "new"));
  Model model;
  // A bounded program keeps each input quick; the model checks are quadratic.
  for (int steps = 0; steps < 64 && !program.done(); ++steps) {
    step(program, string.get(), model);
    check_against(string.get(), model);
  }
  return 0;
}
