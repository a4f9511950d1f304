// NSString's searching, replacing, splitting, substrings and comparison.
// Lengths, indexes and ranges count UTF-16 code units; an index or range past
// the end raises NSRangeException, as on the device.
#include <string>
#include <vector>

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/string_operations.h"
#include "platform/objc/class_definition.h"

namespace ns {
namespace {

id by_appending_string(id self, SEL cmd, id other) {
  return text(units_of(self) + text_argument(self, cmd, other));
}

id by_replacing_occurrences(id self, SEL cmd, id target, id replacement) {
  const std::u16string& find = text_argument(self, cmd, target);
  const std::u16string& with = text_argument(self, cmd, replacement);
  const std::u16string& source = units_of(self);
  if (find.empty()) return text(source);
  std::u16string out;
  std::size_t from = 0;
  for (std::size_t at; (at = source.find(find, from)) != std::u16string::npos;
       from = at + find.size()) {
    out.append(source, from, at - from);
    out += with;
  }
  out.append(source, from, std::u16string::npos);
  return text(std::move(out));
}

NSRange range_of_string(id self, SEL cmd, id other) {
  const std::u16string& find = text_argument(self, cmd, other);
  if (find.empty()) return {NSNotFound, 0};
  std::size_t at = units_of(self).find(find);
  if (at == std::u16string::npos) return {NSNotFound, 0};
  return {at, find.size()};
}

id components_separated_by(id self, SEL cmd, id separator) {
  const std::u16string& by = text_argument(self, cmd, separator);
  const std::u16string& source = units_of(self);
  std::vector<id> parts;
  if (by.empty()) return array({text(source)});
  std::size_t from = 0;
  for (std::size_t at; (at = source.find(by, from)) != std::u16string::npos;
       from = at + by.size()) {
    parts.push_back(text(source.substr(from, at - from)));
  }
  parts.push_back(text(source.substr(from)));
  return array(parts);
}

id substring_with_range(id self, SEL cmd, NSRange range) {
  const std::u16string& source = units_of(self);
  if (range.location > source.size() || range.length > source.size() - range.location) {
    raise_range(
        self, cmd,
        "Range {" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}");
  }
  return text(source.substr(range.location, range.length));
}
id substring_from_index(id self, SEL cmd, unsigned long index) {
  if (index > units_of(self).size()) raise_range(self, cmd, "Index " + std::to_string(index));
  return text(units_of(self).substr(index));
}
id substring_to_index(id self, SEL cmd, unsigned long index) {
  if (index > units_of(self).size()) raise_range(self, cmd, "Index " + std::to_string(index));
  return text(units_of(self).substr(0, index));
}

long compare(id self, SEL cmd, id other) {
  int order = units_of(self).compare(text_argument(self, cmd, other));
  return order < 0 ? NSOrderedAscending : (order > 0 ? NSOrderedDescending : NSOrderedSame);
}

}  // namespace

void define_string_search_methods() {
  objc::ClassDefinition::extend(string_class())
      .method("stringByAppendingString:", by_appending_string)
      .method("stringByReplacingOccurrencesOfString:withString:", by_replacing_occurrences)
      .method("rangeOfString:", range_of_string)
      .method("componentsSeparatedByString:", components_separated_by)
      .method("substringWithRange:", substring_with_range)
      .method("substringFromIndex:", substring_from_index)
      .method("substringToIndex:", substring_to_index)
      .method("compare:", compare)
      .finish();
}

}  // namespace ns
