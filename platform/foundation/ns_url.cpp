#include "platform/foundation/ns_url.h"

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"

namespace ns {
namespace {

bool is_ascii_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool is_ascii_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_hex_digit(char16_t c) {
  return is_ascii_digit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// RFC 3986's unreserved and reserved characters; '%' is checked apart.
bool is_url_character(char16_t c) {
  if (is_ascii_letter(c) || is_ascii_digit(c)) return true;
  return std::u16string_view(u"-._~:/?#[]@!$&'()*+,;=").find(c) != std::u16string_view::npos;
}

bool is_scheme_name(std::u16string_view text) {
  if (text.empty() || !is_ascii_letter(text.front())) return false;
  for (char16_t c : text) {
    if (!is_ascii_letter(c) && !is_ascii_digit(c) && c != u'+' && c != u'-' && c != u'.') {
      return false;
    }
  }
  return true;
}

const objc::Member<Ref> kText{"NSURL", "_string"};

id init_with_string(id self, SEL, id text) {
  if (!is_string(text) || !is_valid_url_text(characters(text))) {
    msg<void>(self, "release");
    return nil;
  }
  kText.of(self) = Ref::adopt(msg<id>(text, "copy"));
  return self;
}
id url_with_string(id self, SEL, id text) {
  return autorelease(init_with_string(msg<id>(self, "alloc"), nullptr, text));
}
id absolute_string(id self, SEL) { return kText.of(self); }
id scheme(id self, SEL) {
  std::optional<std::u16string> name = url_scheme(characters(kText.of(self)));
  return name ? string(*name) : nil;
}
BOOL is_equal(id self, SEL, id other) {
  if (self == other) return YES;
  if (!is_kind_of(other, objc_getClass("NSURL"))) return NO;
  return msg<BOOL>(kText.of(self).get(), "isEqualToString:", kText.of(other).get());
}
unsigned long hash(id self, SEL) { return msg<unsigned long>(kText.of(self).get(), "hash"); }
id copy_with_zone(id self, SEL, void*) { return Ref::retain(self).leak(); }

}  // namespace

bool is_valid_url_text(std::u16string_view text) {
  if (text.empty()) return false;
  bool fragment = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'%') {
      if (i + 2 >= text.size() || !is_hex_digit(text[i + 1]) || !is_hex_digit(text[i + 2])) {
        return false;
      }
      i += 2;
    } else if (c == u'#') {
      if (fragment) return false;
      fragment = true;
    } else if (!is_url_character(c)) {
      return false;
    }
  }
  return true;
}

std::optional<std::u16string> url_scheme(std::u16string_view text) {
  const std::size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view name = text.substr(0, colon);
  if (!is_scheme_name(name)) return std::nullopt;
  return std::u16string(name);
}

void define_url_classes() {
  objc::ClassDefinition("NSURL", objc_getClass("NSObject"))
      .member<Ref>("_string")
      .class_method("URLWithString:", url_with_string)
      .method("initWithString:", init_with_string)
      .method("absoluteString", absolute_string)
      .method("description", absolute_string)
      .method("scheme", scheme)
      .method("isEqual:", is_equal)
      .method("hash", hash)
      .method("copyWithZone:", copy_with_zone)
      .finish();
}

}  // namespace ns
