#include "platform/foundation/ns_character_set.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/string_encoding.h"

namespace ns {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A set's members: a predicate for the fixed sets, sorted code points for
// sets made from a text.
struct Members {
  bool (*fixed)(char32_t) = nullptr;
  std::vector<char32_t> listed;

  bool contains(char32_t c) const {
    if (fixed != nullptr) return fixed(c);
    return std::binary_search(listed.begin(), listed.end(), c);
  }
};

const objc::Member<Members> kMembers{"NSCharacterSet", "_members"};

// The code points of a text; an unpaired surrogate stands for itself.
std::vector<char32_t> code_points(std::u16string_view text) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
      points.push_back(0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      points.push_back(text[i]);
    }
  }
  return points;
}

// The characters a URL query may hold unencoded (RFC 3986): ASCII letters
// and digits and - . _ ~ ! $ & ' ( ) * + , ; = : @ / ?
bool is_url_query_allowed(char32_t c) {
  if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9')) {
    return true;
  }
  return std::u32string_view(U"-._~!$&'()*+,;=:@/?").find(c) != std::u32string_view::npos;
}

// `text` percent-encoded, keeping the characters the set holds.
std::optional<std::u16string> percent_encoded(std::u16string_view text, const Members& allowed) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair =
        is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1]);
    const std::u16string_view unit = text.substr(i, pair ? 2 : 1);
    const char32_t point = code_points(unit).front();
    if (pair) ++i;
    if (allowed.contains(point)) {
      out += unit;
      continue;
    }
    std::optional<std::string> bytes = encode(unit, NSUTF8StringEncoding);
    if (!bytes) return std::nullopt;
    for (unsigned char byte : *bytes) {
      out += u'%';
      out += static_cast<char16_t>(kHexDigits[byte >> 4]);
      out += static_cast<char16_t>(kHexDigits[byte & 0xF]);
    }
  }
  return out;
}

id url_query_allowed(id self, SEL) {
  static id shared = [self] {  // lives for the process, as the device's does
    id set = msg<id>(self, "new");
    kMembers.of(set).fixed = is_url_query_allowed;
    return set;
  }();
  return shared;
}

id with_characters_in_string(id self, SEL, id text) {
  id set = autorelease(msg<id>(self, "new"));
  if (is_string(text)) {
    std::vector<char32_t> points = code_points(characters(text));
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    kMembers.of(set).listed = std::move(points);
  }
  return set;
}

BOOL character_is_member(id self, SEL, unsigned short c) {
  return kMembers.of(self).contains(c) ? YES : NO;
}
BOOL long_character_is_member(id self, SEL, unsigned int c) {
  return kMembers.of(self).contains(c) ? YES : NO;
}

id by_adding_percent_encoding(id self, SEL, id allowed) {
  if (!is_kind_of(allowed, objc_getClass("NSCharacterSet"))) return nil;
  std::optional<std::u16string> encoded = percent_encoded(characters(self), kMembers.of(allowed));
  return encoded ? string(*encoded) : nil;
}

}  // namespace

void define_character_set_classes() {
  objc::ClassDefinition("NSCharacterSet", objc_getClass("NSObject"))
      .member<Members>("_members")
      .class_method("URLQueryAllowedCharacterSet", url_query_allowed)
      .class_method("characterSetWithCharactersInString:", with_characters_in_string)
      .method("characterIsMember:", character_is_member)
      .method("longCharacterIsMember:", long_character_is_member)
      .finish();
  objc::ClassDefinition::extend(objc_getClass("NSString"))
      .method("stringByAddingPercentEncodingWithAllowedCharacters:", by_adding_percent_encoding);
}

}  // namespace ns
