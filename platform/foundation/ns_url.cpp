#include "platform/foundation/ns_url.h"

#include <cctype>
#include <string>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace ns {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kText{"NSURL", "_text"};

// An empty or absent text makes no URL, as Foundation answers nil for it.
id url_init_with_string(id self, SEL, id text) {
  if (!is_string(text) || characters(text).empty()) {
    msg<void>(self, "release");
    return nil;
  }
  kText.of(self) = Ref::adopt(msg<id>(text, "copy"));
  return self;
}
id url_with_string(id self, SEL, id text) {
  return autorelease(msg<id>(msg<id>(self, "alloc"), "initWithString:", text));
}
id url_absolute_string(id self, SEL) { return kText.of(self); }

// RFC 3986: a letter, then letters, digits, "+", "-" or ".", up to a colon.
id url_scheme(id self, SEL) {
  const std::string text = utf8(kText.of(self));
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 ||
      !std::isalpha(static_cast<unsigned char>(text[0]))) {
    return nil;
  }
  for (std::size_t i = 1; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return nil;
  }
  return string(text.substr(0, colon));
}
BOOL url_is_equal(id self, SEL, id other) {
  return other != nil && msg<BOOL>(other, "isKindOfClass:", objc_getClass("NSURL")) &&
         msg<BOOL>(kText.of(self), "isEqualToString:", kText.of(other));
}
unsigned long url_hash(id self, SEL) { return msg<unsigned long>(kText.of(self), "hash"); }
id url_copy(id self, SEL, void*) { return msg<id>(self, "retain"); }

}  // namespace

void define_url_classes() {
  objc::ClassDefinition("NSURL", objc_getClass("NSObject"))
      .member<Ref>("_text")
      .class_method("URLWithString:", url_with_string)
      .method("initWithString:", url_init_with_string)
      .method("absoluteString", url_absolute_string)
      .method("description", url_absolute_string)
      .method("scheme", url_scheme)
      .method("isEqual:", url_is_equal)
      .method("hash", url_hash)
      .method("copyWithZone:", url_copy)
      .finish();
}

}  // namespace ns
