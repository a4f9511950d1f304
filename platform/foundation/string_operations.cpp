// What the NSString operations share, and the one call that adds them all
// to NSString and NSMutableString.
#include "platform/foundation/string_operations.h"

#include "platform/foundation/ns_object.h"
#include "platform/objc/exception.h"

namespace ns {

id text(std::u16string units) { return autorelease(new_string(string_class(), std::move(units))); }

const std::u16string& text_argument(id self, SEL cmd, id argument) {
  if (!is_string(argument)) {
    objc::raise("NSInvalidArgumentException",
                "*** " + objc::method_name(self, cmd) + ": nil or non-string argument");
  }
  return characters(argument);
}

void raise_range(id self, SEL cmd, const std::string& what) {
  objc::raise("NSRangeException", "*** " + objc::method_name(self, cmd) + ": " + what +
                                      " out of bounds; string length " +
                                      std::to_string(units_of(self).size()));
}

void define_string_operations() {
  define_string_file_methods();
  define_string_search_methods();
  define_string_case_methods();
  define_string_number_methods();
  define_string_path_methods();
  define_mutable_string_methods();
}

}  // namespace ns
