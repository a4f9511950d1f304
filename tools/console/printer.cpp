#include "tools/console/printer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/ffi_types.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"

namespace console {
namespace {

constexpr int kMaxDepth = 8;

std::string pointer_text(const void* pointer) {
  if (pointer == nullptr) return "NULL";
  char text[32];
  std::snprintf(text, sizeof text, "%p", pointer);
  return text;
}

bool is_kind(id object, const char* class_name) {
  return objc::is_kind_of(object, objc_getClass(class_name));
}

std::string show_object(id object, bool nested, int depth);

std::string description_of(id object) {
  id text = objc::msg<id>(object, "description");
  if (ns::is_string(text)) return ns::utf8(text);
  return std::string("<") + objc::class_name_of(object) + ": " + pointer_text(object) + ">";
}

std::string show_array(id array, int depth) {
  if (depth >= kMaxDepth) return "@[...]";
  const auto count = objc::msg<unsigned long>(array, "count");
  std::string out = "@[";
  for (unsigned long i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    out += show_object(objc::msg<id>(array, "objectAtIndex:", i), true, depth + 1);
  }
  return out + "]";
}

std::string show_dictionary(id dictionary, int depth) {
  if (depth >= kMaxDepth) return "@{...}";
  id keys = objc::msg<id>(dictionary, "allKeys");
  const auto count = objc::msg<unsigned long>(keys, "count");
  std::string out = "@{";
  for (unsigned long i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    id key = objc::msg<id>(keys, "objectAtIndex:", i);
    out += show_object(key, true, depth + 1) + ": " +
           show_object(objc::msg<id>(dictionary, "objectForKey:", key), true, depth + 1);
  }
  return out + "}";
}

// A number as the value it holds: a Boolean as YES or NO, a floating value
// in the shortest form that reads back as the same double.
std::string show_number(id number) {
  switch (ns::number_kind(number)) {
    case ns::NumberKind::kBoolean:
      return objc::msg<BOOL>(number, "boolValue") ? "YES" : "NO";
    case ns::NumberKind::kInteger:
      return std::to_string(objc::msg<long long>(number, "longLongValue"));
    case ns::NumberKind::kLargeUnsigned:
      return std::to_string(objc::msg<unsigned long long>(number, "unsignedLongLongValue"));
    case ns::NumberKind::kReal:
      return format_number(objc::msg<double>(number, "doubleValue"));
  }
  return description_of(number);
}

// A colour as its class, model, components and colour text.
std::string show_color(id color) {
  const toolkit::Color value = *toolkit::color_of(color);
  const char* model = value.model() == toolkit::ColorModel::kRgb    ? "rgb"
                      : value.model() == toolkit::ColorModel::kGrey ? "grey"
                                                                    : "other";
  std::string out = std::string(objc::class_name_of(color)) + " " + model + "(";
  for (std::size_t i = 0; i < value.count(); ++i) {
    if (i > 0) out += ", ";
    out += format_number(value.components()[i]);
  }
  return out + ") " + std::string(toolkit::color_text(value).view());
}

std::string show_object(id object, bool nested, int depth) {
  if (object == nil) return "nil";
  if (class_isMetaClass(object_getClass(object))) {
    return class_getName(reinterpret_cast<Class>(object));
  }
  if (ns::is_string(object)) return (nested ? "@" : "") + quote(ns::utf8(object));
  if (ui::is_color(object)) return show_color(object);
  if (ns::is_number(object)) return (nested ? "@" : "") + show_number(object);
  if (is_kind(object, "NSArray")) return show_array(object, depth);
  if (is_kind(object, "NSDictionary")) return show_dictionary(object, depth);
  return description_of(object);
}

template <typename T>
T read(const unsigned char* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Writes the type at `at` of an encoding as libffi keeps it (no qualifiers,
// offsets or quoted names), its bytes at `bytes` laid out as libffi lays out
// `type` for this machine; nothing for a type this cannot show (an array or
// a union inside the struct).
std::optional<std::string> render(std::string_view encoding, std::size_t& at, ffi_type* type,
                                  const unsigned char* bytes) {
  const char c = encoding[at];
  if (c == '{') {
    at = encoding.find('=', at) + 1;
    std::size_t count = 0;
    while (type->elements[count] != nullptr) ++count;
    std::vector<std::size_t> offsets(count);
    if (ffi_get_struct_offsets(FFI_DEFAULT_ABI, type, offsets.data()) != FFI_OK) {
      return std::nullopt;
    }
    std::string out = "{";
    for (std::size_t i = 0; encoding[at] != '}'; ++i) {
      if (i >= count) return std::nullopt;
      const auto field = render(encoding, at, type->elements[i], bytes + offsets[i]);
      if (!field) return std::nullopt;
      if (i > 0) out += ", ";
      out += *field;
    }
    ++at;
    return out + "}";
  }
  ++at;
  switch (c) {
    case 'c':
      return std::to_string(read<signed char>(bytes));
    case 'C':
      return std::to_string(read<unsigned char>(bytes));
    case 'B':
      return read<bool>(bytes) ? "YES" : "NO";
    case 's':
      return std::to_string(read<short>(bytes));
    case 'S':
      return std::to_string(read<unsigned short>(bytes));
    case 'i':
      return std::to_string(read<int>(bytes));
    case 'I':
      return std::to_string(read<unsigned int>(bytes));
    case 'l':
      return std::to_string(read<long>(bytes));
    case 'L':
      return std::to_string(read<unsigned long>(bytes));
    case 'q':
      return std::to_string(read<long long>(bytes));
    case 'Q':
      return std::to_string(read<unsigned long long>(bytes));
    case 'f':
      return format_number(read<float>(bytes));
    case 'd':
      return format_number(read<double>(bytes));
    case '#': {
      Class cls = read<Class>(bytes);
      return cls ? class_getName(cls) : "nil";
    }
    case ':': {
      SEL sel = read<SEL>(bytes);
      return sel ? std::string("@selector(") + sel_getName(sel) + ")" : "NULL";
    }
    case '@':
      if (at < encoding.size() && encoding[at] == '?') ++at;  // a block
      return pointer_text(read<const void*>(bytes));
    case '^':
      if (!objc::read_type(encoding, at)) return std::nullopt;  // the pointee
      return pointer_text(read<const void*>(bytes));
    case '*':
      return pointer_text(read<const void*>(bytes));
    default:
      return std::nullopt;
  }
}

template <typename T>
std::string shortest(T value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char text[64];
  const auto [end, status] = std::to_chars(text, text + sizeof text, value);
  return status == std::errc() ? std::string(text, end) : "?";
}

}  // namespace

std::string format_number(double value) { return shortest(value); }
std::string format_number(float value) { return shortest(value); }

std::string quote(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
          out += escape;
        } else {
          out.push_back(c);
        }
    }
  }
  return out + "\"";
}

std::string show_struct(std::string_view encoding, const unsigned char* bytes, std::size_t size) {
  const objc::FfiType* type = objc::ffi_type_of(encoding);
  if (type == nullptr || type->size != size || type->encoding.front() != '{') return {};
  std::size_t at = 0;
  return render(type->encoding, at, type->type, bytes).value_or("");
}

std::string show(const objc::Boxed& value) {
  struct Visitor {
    const objc::Boxed& box;
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(id object) const { return show_object(object, false, 0); }
    std::string operator()(Class cls) const { return cls ? class_getName(cls) : "nil"; }
    std::string operator()(SEL sel) const {
      return sel ? std::string("@selector(") + sel_getName(sel) + ")" : "NULL";
    }
    std::string operator()(long long v) const {
      if (box.encoding() == "B") return v ? "YES" : "NO";
      return std::to_string(v);
    }
    std::string operator()(unsigned long long v) const { return std::to_string(v); }
    std::string operator()(double v) const { return format_number(v); }
    std::string operator()(float v) const { return format_number(v); }
    std::string operator()(BOOL v) const {
      if (v == YES) return "YES";
      if (v == NO) return "NO";
      return std::to_string(v);
    }
    std::string operator()(const std::string& text) const { return quote(text); }
    std::string operator()(void* pointer) const { return pointer_text(pointer); }
    std::string operator()(const objc::Boxed::Bytes& bytes) const {
      std::string text = show_struct(box.encoding(), bytes.data.data(), bytes.data.size());
      if (!text.empty()) return text;
      return "<" + box.encoding() + ", " + std::to_string(bytes.data.size()) + " bytes>";
    }
  };
  return std::visit(Visitor{value}, value.value());
}

}  // namespace console
