#include "platform/foundation/description.h"

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_set.h"
#include "platform/foundation/ns_string.h"

namespace ns {
namespace {

bool is_plain_word(const std::u16string& text) {
  if (text.empty()) return false;
  for (char16_t c : text) {
    bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                 c == u'_' || c == u'$' || c == u'.' || c == u':' || c == u'/';
    if (!plain) return false;
  }
  return true;
}

std::u16string quoted(const std::u16string& text) {
  if (is_plain_word(text)) return text;
  std::u16string out = u"\"";
  for (char16_t c : text) {
    switch (c) {
      case u'"':
        out += u"\\\"";
        break;
      case u'\\':
        out += u"\\\\";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\t':
        out += u"\\t";
        break;
      default:
        out += c;
    }
  }
  out += u'"';
  return out;
}

std::u16string indentation(unsigned depth) { return std::u16string(depth * 4, u' '); }

}  // namespace

std::u16string describe(id object, unsigned depth) {
  auto list = [depth](const std::vector<id>& items, std::u16string_view open,
                      std::u16string_view close) {
    std::u16string out = std::u16string(open) + u"\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
      out += indentation(depth + 1) + describe(items[i], depth + 1);
      out += i + 1 < items.size() ? u",\n" : u"\n";
    }
    return out + indentation(depth) + std::u16string(close);
  };
  if (object == nil) return u"(null)";
  if (is_string(object)) return quoted(characters(object));
  if (is_array(object)) return list(array_items(object), u"(", u")");
  if (is_set(object)) return list(set_items(object), u"{(", u")}");
  if (is_dictionary(object)) {
    std::u16string out = u"{\n";
    for (auto [key, value] : dictionary_items(object)) {
      out += indentation(depth + 1) + describe(key, depth + 1) + u" = " +
             describe(value, depth + 1) + u";\n";
    }
    return out + indentation(depth) + u"}";
  }
  return characters(msg<id>(object, "description"));
}

}  // namespace ns
