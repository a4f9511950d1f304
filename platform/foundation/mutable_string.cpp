// NSMutableString's edits: inserting, replacing and deleting code units in
// place. An index or range past the end raises NSRangeException.
#include <string>

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/string_operations.h"
#include "platform/objc/class_definition.h"

namespace ns {
namespace {

void insert_string(id self, SEL cmd, id other, unsigned long index) {
  const std::u16string& more = text_argument(self, cmd, other);
  auto& units = mutable_characters(self);
  if (index > units.size()) raise_range(self, cmd, "Index " + std::to_string(index));
  units.insert(index, more);
}
void replace_characters(id self, SEL cmd, NSRange range, id other) {
  const std::u16string& with = text_argument(self, cmd, other);
  auto& units = mutable_characters(self);
  if (range.location > units.size() || range.length > units.size() - range.location) {
    raise_range(
        self, cmd,
        "Range {" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}");
  }
  units.replace(range.location, range.length, with);
}
void delete_characters(id self, SEL cmd, NSRange range) {
  replace_characters(self, cmd, range, text(u""));
}

}  // namespace

void define_mutable_string_methods() {
  objc::ClassDefinition::extend(objc_getClass("NSMutableString"))
      .method("insertString:atIndex:", insert_string)
      .method("replaceCharactersInRange:withString:", replace_characters)
      .method("deleteCharactersInRange:", delete_characters)
      .finish();
}

}  // namespace ns
