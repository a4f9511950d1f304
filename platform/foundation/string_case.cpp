// NSString's case changes: lowercaseString and uppercaseString, by simple
// (one-to-one) Unicode case mapping over UTF-16 texts.
#include <locale.h>
#include <wctype.h>

#include <string>

#include "platform/foundation/string_operations.h"
#include "platform/foundation/unicode.h"
#include "platform/objc/class_definition.h"

namespace ns {
namespace {

// Simple (one-to-one) Unicode case mapping from the C library's UTF-8
// locale; without that locale only ASCII letters change.
template <bool kUpper>
std::u16string change_case(const std::u16string& source) {
  static locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  auto map = [](char32_t c) -> char32_t {
    if (unicode != static_cast<locale_t>(nullptr)) {
      return static_cast<char32_t>(kUpper ? towupper_l(static_cast<wint_t>(c), unicode)
                                          : towlower_l(static_cast<wint_t>(c), unicode));
    }
    if (kUpper && c >= U'a' && c <= U'z') return c - 32;
    if (!kUpper && c >= U'A' && c <= U'Z') return c + 32;
    return c;
  };
  std::u16string out;
  out.reserve(source.size());
  for (std::size_t i = 0; i < source.size(); ++i) {
    char32_t c = source[i];
    bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < source.size() && source[i + 1] >= 0xDC00 &&
                source[i + 1] <= 0xDFFF;
    if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (source[++i] - 0xDC00);
    if (c >= 0xD800 && c <= 0xDFFF) {
      out += static_cast<char16_t>(c);  // an unpaired surrogate stays as it is
      continue;
    }
    append_utf16(out, map(c));
  }
  return out;
}
id lowercase_string(id self, SEL) { return text(change_case<false>(units_of(self))); }
id uppercase_string(id self, SEL) { return text(change_case<true>(units_of(self))); }

}  // namespace

void define_string_case_methods() {
  objc::ClassDefinition::extend(string_class())
      .method("lowercaseString", lowercase_string)
      .method("uppercaseString", uppercase_string)
      .finish();
}

}  // namespace ns
