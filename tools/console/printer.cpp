#include "tools/console/printer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
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
  Class cls = objc_getClass(class_name);
  if (cls == Nil || object == nil) return false;
  for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
    if (c == cls) return true;
  }
  return false;
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

// Struct layouts as the x86-64 C ABI gives them: every scalar aligned to its
// own size, a struct to its strictest field, its size rounded up to that.
struct Layout {
  std::size_t size = 0;
  std::size_t alignment = 1;
};

bool is_qualifier(char c) {
  return c == 'r' || c == 'n' || c == 'N' || c == 'o' || c == 'O' || c == 'R' || c == 'V';
}

void skip_qualifiers(std::string_view encoding, std::size_t& at) {
  while (at < encoding.size() && is_qualifier(encoding[at])) ++at;
}

void skip_offset(std::string_view encoding, std::size_t& at) {
  while (at < encoding.size() && encoding[at] >= '0' && encoding[at] <= '9') ++at;
}

std::size_t scalar_size(char c) {
  switch (c) {
    case 'c':
    case 'C':
    case 'B':
      return 1;
    case 's':
    case 'S':
      return 2;
    case 'i':
    case 'I':
    case 'f':
      return 4;
    case 'l':
    case 'L':
    case 'q':
    case 'Q':
    case 'd':
    case '*':
    case '@':
    case '#':
    case ':':
    case '^':
      return 8;
    default:
      return 0;
  }
}

// Passes over one type (a pointer's pointee may be any type, even one that
// cannot be laid out here).
bool skip_type(std::string_view encoding, std::size_t& at) {
  skip_qualifiers(encoding, at);
  if (at >= encoding.size()) return false;
  const char c = encoding[at++];
  if (c == '^') return skip_type(encoding, at);
  if (c == '{' || c == '(' || c == '[') {
    const char close = c == '{' ? '}' : c == '(' ? ')' : ']';
    int depth = 1;
    while (at < encoding.size() && depth > 0) {
      if (encoding[at] == c) ++depth;
      if (encoding[at] == close) --depth;
      ++at;
    }
    return depth == 0;
  }
  return true;
}

std::optional<Layout> measure(std::string_view encoding, std::size_t& at, int depth);

std::optional<Layout> measure_struct(std::string_view encoding, std::size_t& at, int depth) {
  if (depth > kMaxDepth * 4) return std::nullopt;
  ++at;  // {
  while (at < encoding.size() && encoding[at] != '=' && encoding[at] != '}') ++at;
  if (at < encoding.size() && encoding[at] == '=') ++at;
  Layout layout;
  while (at < encoding.size() && encoding[at] != '}') {
    const auto field = measure(encoding, at, depth + 1);
    if (!field) return std::nullopt;
    layout.size = (layout.size + field->alignment - 1) / field->alignment * field->alignment;
    layout.size += field->size;
    if (field->alignment > layout.alignment) layout.alignment = field->alignment;
    skip_offset(encoding, at);
  }
  if (at >= encoding.size()) return std::nullopt;
  ++at;  // }
  layout.size = (layout.size + layout.alignment - 1) / layout.alignment * layout.alignment;
  return layout;
}

std::optional<Layout> measure(std::string_view encoding, std::size_t& at, int depth) {
  skip_qualifiers(encoding, at);
  if (at >= encoding.size()) return std::nullopt;
  const char c = encoding[at];
  if (c == '{') return measure_struct(encoding, at, depth);
  const std::size_t size = scalar_size(c);
  if (size == 0) return std::nullopt;
  ++at;
  if (c == '^' && !skip_type(encoding, at)) return std::nullopt;
  return Layout{size, size};
}

template <typename T>
T read(const unsigned char* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Writes the type at `at` whose bytes start at `bytes`; the layout has been
// checked by `measure` already.
std::string render(std::string_view encoding, std::size_t& at, const unsigned char* bytes) {
  skip_qualifiers(encoding, at);
  const char c = encoding[at];
  if (c == '{') {
    ++at;
    while (encoding[at] != '=' && encoding[at] != '}') ++at;
    if (encoding[at] == '=') ++at;
    std::string out = "{";
    std::size_t offset = 0;
    bool first = true;
    while (encoding[at] != '}') {
      std::size_t probe = at;
      const Layout field = *measure(encoding, probe, 0);
      offset = (offset + field.alignment - 1) / field.alignment * field.alignment;
      if (!first) out += ", ";
      first = false;
      out += render(encoding, at, bytes + offset);
      offset += field.size;
      skip_offset(encoding, at);
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
    case '^':
      skip_type(encoding, at);
      [[fallthrough]];
    default:
      return pointer_text(read<const void*>(bytes));
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
  std::size_t at = 0;
  const auto layout = measure(encoding, at, 0);
  if (!layout || layout->size != size || encoding.empty() || encoding.front() != '{') return {};
  at = 0;
  return render(encoding, at, bytes);
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
