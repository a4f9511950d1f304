#include "platform/foundation/ns_attributed_string.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/block.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

// One run: a length in code units and its attributes (an immutable
// NSDictionary, never nil; no attributes is the empty dictionary).
struct Run {
  std::size_t length;
  Ref attributes;
};

struct Storage {
  std::u16string text;
  std::vector<Run> runs;  // lengths add up to text.size(); none is empty
};

const objc::Member<Storage> kStorage{"NSAttributedString", "_storage"};

const objc::ClassRef attributed_string_class{"NSAttributedString"};
const objc::ClassRef mutable_attributed_string_class{"NSMutableAttributedString"};

[[noreturn]] void raise_range(id self, SEL cmd, const std::string& what) {
  objc::raise("NSRangeException", "*** " + objc::method_name(self, cmd) + ": " + what +
                                      " out of bounds; string length " +
                                      std::to_string(kStorage.of(self).text.size()));
}

void check_range(id self, SEL cmd, NSRange range) {
  const std::size_t size = kStorage.of(self).text.size();
  if (range.location > size || range.length > size - range.location) {
    raise_range(
        self, cmd,
        "Range {" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}");
  }
}
void check_index(id self, SEL cmd, NSUInteger index) {
  if (index >= kStorage.of(self).text.size()) {
    raise_range(self, cmd, "Index " + std::to_string(index));
  }
}
void require(id self, SEL cmd, id argument, const char* what) {
  if (argument == nil) {
    objc::raise("NSInvalidArgumentException",
                "*** " + objc::method_name(self, cmd) + ": nil " + what);
  }
}

id empty_attributes() {
  static id empty = msg<id>(objc_getClass("NSDictionary"), "new");
  return empty;
}
// An immutable copy of the caller's dictionary (nil counts as none).
Ref frozen(id attributes) {
  if (attributes == nil) return Ref::retain(empty_attributes());
  return Ref::adopt(msg<id>(attributes, "copy"));
}
bool same_attributes(id a, id b) { return a == b || msg<BOOL>(a, "isEqual:", b); }
bool same_value(id a, id b) { return a == b || (a != nil && msg<BOOL>(a, "isEqual:", b)); }

// Joins adjacent runs with equal attributes.
void merge_runs(Storage& storage) {
  std::vector<Run> merged;
  merged.reserve(storage.runs.size());
  for (Run& run : storage.runs) {
    if (!merged.empty() && same_attributes(merged.back().attributes, run.attributes)) {
      merged.back().length += run.length;
    } else {
      merged.push_back(std::move(run));
    }
  }
  storage.runs = std::move(merged);
}

// The run holding `index` (< text size) and where it starts.
std::pair<std::size_t, std::size_t> run_at(const Storage& storage, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < storage.runs.size(); ++i) {
    if (index < start + storage.runs[i].length) return {i, start};
    start += storage.runs[i].length;
  }
  return {storage.runs.size(), start};
}

// Makes a run boundary at `position` (<= text size); returns the index of
// the run that starts there (runs.size() at the end).
std::size_t split_at(Storage& storage, std::size_t position) {
  if (position >= storage.text.size()) return storage.runs.size();
  auto [i, start] = run_at(storage, position);
  if (start == position) return i;
  Run& run = storage.runs[i];
  Run tail{run.length - (position - start), run.attributes};
  run.length = position - start;
  storage.runs.insert(storage.runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
  return i + 1;
}

// Gives every run inside `range` the attributes `change` makes of its own.
template <typename Change>
void change_runs(Storage& storage, NSRange range, Change change) {
  if (range.length == 0) return;
  const std::size_t first = split_at(storage, range.location);
  const std::size_t last = split_at(storage, range.location + range.length);
  for (std::size_t i = first; i < last; ++i) {
    storage.runs[i].attributes = change(storage.runs[i].attributes.get());
  }
  merge_runs(storage);
}

// Copies of a part of the runs, for substrings and inserted texts.
std::vector<Run> runs_in(const Storage& storage, NSRange range) {
  std::vector<Run> out;
  std::size_t start = 0;
  const std::size_t end = range.location + range.length;
  for (const Run& run : storage.runs) {
    const std::size_t run_end = start + run.length;
    const std::size_t from = std::max(start, range.location);
    const std::size_t to = std::min(run_end, end);
    if (from < to) out.push_back({to - from, run.attributes});
    start = run_end;
  }
  return out;
}

// Replaces the characters and runs of `range` with `text` and `runs`.
void splice(Storage& storage, NSRange range, std::u16string_view text, std::vector<Run> runs) {
  const std::size_t first = split_at(storage, range.location);
  const std::size_t last = split_at(storage, range.location + range.length);
  storage.runs.erase(storage.runs.begin() + static_cast<std::ptrdiff_t>(first),
                     storage.runs.begin() + static_cast<std::ptrdiff_t>(last));
  storage.runs.insert(storage.runs.begin() + static_cast<std::ptrdiff_t>(first),
                      std::make_move_iterator(runs.begin()), std::make_move_iterator(runs.end()));
  storage.text.replace(range.location, range.length, text);
  merge_runs(storage);
}

void set_plain(Storage& storage, std::u16string text, id attributes) {
  storage.runs.clear();
  if (!text.empty()) storage.runs.push_back({text.size(), frozen(attributes)});
  storage.text = std::move(text);
}

id make(Class cls, const Storage& storage) {
  id object = allocate_instance(cls);
  kStorage.of(object) = storage;
  return object;
}

// ---- NSAttributedString --------------------------------------------------

id init_with_string_attributes(id self, SEL cmd, id text, id attributes) {
  require(self, cmd, text, "string");
  set_plain(kStorage.of(self), characters(text), attributes);
  return self;
}
id init_with_string(id self, SEL cmd, id text) {
  return init_with_string_attributes(self, cmd, text, nil);
}
id init_with_attributed_string(id self, SEL cmd, id other) {
  require(self, cmd, other, "attributed string");
  kStorage.of(self) = kStorage.of(other);
  return self;
}

id string_of(id self, SEL) { return string(std::u16string_view(kStorage.of(self).text)); }
NSUInteger length(id self, SEL) { return kStorage.of(self).text.size(); }

id attributes_at(id self, SEL cmd, NSUInteger index, NSRange* effective) {
  check_index(self, cmd, index);
  const Storage& storage = kStorage.of(self);
  auto [i, start] = run_at(storage, index);
  if (effective != nullptr) *effective = NSMakeRange(start, storage.runs[i].length);
  return storage.runs[i].attributes;
}

id attribute_at(id self, SEL cmd, id name, NSUInteger index, NSRange* effective) {
  check_index(self, cmd, index);
  const Storage& storage = kStorage.of(self);
  auto [i, start] = run_at(storage, index);
  id value = msg<id>(storage.runs[i].attributes.get(), "objectForKey:", name);
  if (effective != nullptr) {
    // The whole stretch of neighbouring runs where the value is the same.
    std::size_t first = i, last = i, from = start, to = start + storage.runs[i].length;
    while (first > 0 &&
           same_value(msg<id>(storage.runs[first - 1].attributes.get(), "objectForKey:", name),
                      value)) {
      from -= storage.runs[--first].length;
    }
    while (last + 1 < storage.runs.size() &&
           same_value(msg<id>(storage.runs[last + 1].attributes.get(), "objectForKey:", name),
                      value)) {
      to += storage.runs[++last].length;
    }
    *effective = NSMakeRange(from, to - from);
  }
  return value;
}

id substring_from_range(id self, SEL cmd, NSRange range) {
  check_range(self, cmd, range);
  const Storage& storage = kStorage.of(self);
  Storage part{storage.text.substr(range.location, range.length), runs_in(storage, range)};
  return autorelease(make(attributed_string_class(), part));
}

// Calls `visit(attributes-or-value, range, stop)` for each stretch inside
// `range`, in order or reversed, stopping when the block sets *stop.
template <typename Key>
void enumerate(id self, SEL cmd, NSRange range, NSUInteger options, Key key, id block) {
  check_range(self, cmd, range);
  const Storage& storage = kStorage.of(self);
  struct Stretch {
    id value;
    NSRange range;
  };
  std::vector<Stretch> stretches;
  std::size_t start = 0;
  for (const Run& run : storage.runs) {
    const std::size_t from = std::max(start, range.location);
    const std::size_t to = std::min(start + run.length, range.location + range.length);
    start += run.length;
    if (from >= to) continue;
    id value = key(run.attributes.get());
    const bool joins = !stretches.empty() &&
                       !(options & NSAttributedStringEnumerationLongestEffectiveRangeNotRequired) &&
                       same_value(stretches.back().value, value);
    if (joins) {
      stretches.back().range.length += to - from;
    } else {
      stretches.push_back({value, NSMakeRange(from, to - from)});
    }
  }
  if (options & NSAttributedStringEnumerationReverse) {
    std::reverse(stretches.begin(), stretches.end());
  }
  for (const Stretch& stretch : stretches) {
    BOOL stop = NO;
    objc::call_block(block, stretch.value, stretch.range, &stop);
    if (stop) break;
  }
}
void enumerate_attributes(id self, SEL cmd, NSRange range, NSUInteger options, id block) {
  enumerate(
      self, cmd, range, options, [](id attributes) { return attributes; }, block);
}
void enumerate_attribute(id self, SEL cmd, id name, NSRange range, NSUInteger options, id block) {
  enumerate(
      self, cmd, range, options,
      [name](id attributes) { return msg<id>(attributes, "objectForKey:", name); }, block);
}

BOOL is_equal_to_attributed_string(id self, SEL, id other) {
  if (self == other) return YES;
  if (!is_kind_of(other, attributed_string_class())) return NO;
  const Storage& a = kStorage.of(self);
  const Storage& b = kStorage.of(other);
  if (a.text != b.text || a.runs.size() != b.runs.size()) return NO;
  for (std::size_t i = 0; i < a.runs.size(); ++i) {
    if (a.runs[i].length != b.runs[i].length ||
        !same_attributes(a.runs[i].attributes, b.runs[i].attributes)) {
      return NO;
    }
  }
  return YES;
}
NSUInteger hash(id self, SEL) { return std::hash<std::u16string>{}(kStorage.of(self).text); }

id copy_with_zone(id self, SEL, void*) {
  if (object_getClass(self) == attributed_string_class()) return Ref::retain(self).leak();
  return make(attributed_string_class(), kStorage.of(self));
}
id mutable_copy_with_zone(id self, SEL, void*) {
  return make(mutable_attributed_string_class(), kStorage.of(self));
}

// As Foundation writes it: each run's text followed by its attributes.
id description(id self, SEL) {
  const Storage& storage = kStorage.of(self);
  std::u16string out;
  std::size_t start = 0;
  for (const Run& run : storage.runs) {
    out += storage.text.substr(start, run.length);
    out += u"{";
    id keys = msg<id>(run.attributes.get(), "allKeys");
    const NSUInteger count = msg<NSUInteger>(keys, "count");
    for (NSUInteger k = 0; k < count; ++k) {
      id key = msg<id>(keys, "objectAtIndex:", k);
      id value = msg<id>(run.attributes.get(), "objectForKey:", key);
      out += u"\n    " + characters(msg<id>(key, "description")) + u" = " +
             characters(msg<id>(value, "description")) + u";";
    }
    out += u"\n}";
    start += run.length;
  }
  return string(std::u16string_view(out));
}

// ---- NSMutableAttributedString -------------------------------------------

void add_attribute(id self, SEL cmd, id name, id value, NSRange range) {
  require(self, cmd, name, "attribute name");
  require(self, cmd, value, "attribute value");
  check_range(self, cmd, range);
  change_runs(kStorage.of(self), range, [name, value](id attributes) {
    Ref changed = Ref::adopt(msg<id>(attributes, "mutableCopy"));
    msg<void>(changed.get(), "setObject:forKey:", value, name);
    return Ref::adopt(msg<id>(changed.get(), "copy"));
  });
}
void add_attributes(id self, SEL cmd, id attributes, NSRange range) {
  check_range(self, cmd, range);
  if (attributes == nil) return;
  change_runs(kStorage.of(self), range, [attributes](id own) {
    Ref changed = Ref::adopt(msg<id>(own, "mutableCopy"));
    msg<void>(changed.get(), "addEntriesFromDictionary:", attributes);
    return Ref::adopt(msg<id>(changed.get(), "copy"));
  });
}
void set_attributes(id self, SEL cmd, id attributes, NSRange range) {
  check_range(self, cmd, range);
  Ref replacement = frozen(attributes);
  change_runs(kStorage.of(self), range, [&replacement](id) { return replacement; });
}
void remove_attribute(id self, SEL cmd, id name, NSRange range) {
  require(self, cmd, name, "attribute name");
  check_range(self, cmd, range);
  change_runs(kStorage.of(self), range, [name](id attributes) {
    Ref changed = Ref::adopt(msg<id>(attributes, "mutableCopy"));
    msg<void>(changed.get(), "removeObjectForKey:", name);
    return Ref::adopt(msg<id>(changed.get(), "copy"));
  });
}

// New characters take the attributes of the first character they replace,
// else of the character before them, else of the first character.
void replace_characters(id self, SEL cmd, NSRange range, id text) {
  require(self, cmd, text, "string");
  check_range(self, cmd, range);
  Storage& storage = kStorage.of(self);
  const std::u16string inserted = characters(text);
  std::vector<Run> runs;
  if (!inserted.empty()) {
    Ref attributes = Ref::retain(empty_attributes());
    if (!storage.text.empty()) {
      std::size_t from =
          range.length > 0 || range.location == 0 ? range.location : range.location - 1;
      if (from >= storage.text.size()) from = storage.text.size() - 1;
      attributes = storage.runs[run_at(storage, from).first].attributes;
    }
    runs.push_back({inserted.size(), attributes});
  }
  splice(storage, range, inserted, std::move(runs));
}
void replace_with_attributed(id self, SEL cmd, NSRange range, id other) {
  require(self, cmd, other, "attributed string");
  check_range(self, cmd, range);
  // A copy first: `other` may be the receiver itself.
  const Storage inserted = kStorage.of(other);
  splice(kStorage.of(self), range, inserted.text, inserted.runs);
}
void append_attributed(id self, SEL cmd, id other) {
  const std::size_t end = kStorage.of(self).text.size();
  replace_with_attributed(self, cmd, NSMakeRange(end, 0), other);
}
void insert_attributed(id self, SEL cmd, id other, NSUInteger index) {
  if (index > kStorage.of(self).text.size())
    raise_range(self, cmd, "Index " + std::to_string(index));
  replace_with_attributed(self, cmd, NSMakeRange(index, 0), other);
}
void delete_characters(id self, SEL cmd, NSRange range) {
  check_range(self, cmd, range);
  splice(kStorage.of(self), range, u"", {});
}
void set_attributed_string(id self, SEL cmd, id other) {
  require(self, cmd, other, "attributed string");
  kStorage.of(self) = kStorage.of(other);
}

}  // namespace

void define_attributed_string_classes() {
  objc::ClassDefinition("NSAttributedString", objc_getClass("NSObject"))
      .member<Storage>("_storage")
      .method("initWithString:", init_with_string)
      .method("initWithString:attributes:", init_with_string_attributes)
      .method("initWithAttributedString:", init_with_attributed_string)
      .method("string", string_of)
      .method("length", length)
      .method("attributesAtIndex:effectiveRange:", attributes_at)
      .method("attribute:atIndex:effectiveRange:", attribute_at)
      .method("attributedSubstringFromRange:", substring_from_range)
      .method("enumerateAttributesInRange:options:usingBlock:", enumerate_attributes)
      .method("enumerateAttribute:inRange:options:usingBlock:", enumerate_attribute)
      .method("isEqualToAttributedString:", is_equal_to_attributed_string)
      .method("isEqual:", is_equal_to_attributed_string)
      .method("hash", hash)
      .method("copyWithZone:", copy_with_zone)
      .method("mutableCopyWithZone:", mutable_copy_with_zone)
      .method("description", description)
      .finish();
  objc::ClassDefinition("NSMutableAttributedString", attributed_string_class())
      .method("addAttribute:value:range:", add_attribute)
      .method("addAttributes:range:", add_attributes)
      .method("setAttributes:range:", set_attributes)
      .method("removeAttribute:range:", remove_attribute)
      .method("replaceCharactersInRange:withString:", replace_characters)
      .method("replaceCharactersInRange:withAttributedString:", replace_with_attributed)
      .method("appendAttributedString:", append_attributed)
      .method("insertAttributedString:atIndex:", insert_attributed)
      .method("deleteCharactersInRange:", delete_characters)
      .method("setAttributedString:", set_attributed_string)
      .finish();
}

}  // namespace ns
