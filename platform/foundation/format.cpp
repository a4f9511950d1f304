#include "platform/foundation/format.h"

#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

// What travels in the variadic list for one argument.
enum class Kind {
  kNone,
  kInt,
  kLong,
  kLongLong,
  kSize,
  kIntmax,
  kPtrdiff,
  kDouble,
  kLongDouble,
  kCString,
  kUnicharString,
  kPointer,
  kObject,
};

struct Value {
  Kind kind = Kind::kNone;
  long long integer = 0;  // every integer kind, widened
  std::uintmax_t wide = 0;
  double real = 0;
  long double long_real = 0;
  const void* pointer = nullptr;
};

struct Spec {
  std::size_t begin = 0, end = 0;  // the conversion's span in the format
  std::string flags;
  int width = -1;
  int width_argument = -1;
  int precision = -1;
  int precision_argument = -1;
  std::string length;
  char conversion = 0;
  int argument = -1;
  Kind kind = Kind::kNone;
};

struct Piece {
  bool is_spec;
  std::size_t begin, end;  // literal span, or the conversion's index in `begin`
};

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }

Kind kind_for(const std::string& length, char conversion) {
  switch (conversion) {
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X':
      if (length == "l") return Kind::kLong;
      if (length == "ll" || length == "q") return Kind::kLongLong;
      if (length == "z") return Kind::kSize;
      if (length == "j") return Kind::kIntmax;
      if (length == "t") return Kind::kPtrdiff;
      if (length.empty() || length == "h" || length == "hh") return Kind::kInt;
      return Kind::kNone;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
      if (length == "L") return Kind::kLongDouble;
      return length.empty() || length == "l" ? Kind::kDouble : Kind::kNone;
    case 'c':
    case 'C':
      return length.empty() ? Kind::kInt : Kind::kNone;
    case 's':
      return length.empty() ? Kind::kCString : Kind::kNone;
    case 'S':
      return length.empty() ? Kind::kUnicharString : Kind::kNone;
    case 'p':
    case 'n':
      return Kind::kPointer;
    case '@':
      return length.empty() ? Kind::kObject : Kind::kNone;
    default:
      return Kind::kNone;
  }
}

// Reads "n$" at `at`; returns n - 1, or -1 (leaving `at`) when absent.
int positional(const std::u16string& text, std::size_t& at) {
  std::size_t scan = at;
  int number = 0;
  while (scan < text.size() && is_digit(text[scan]) && number < 100000) {
    number = number * 10 + (text[scan++] - u'0');
  }
  if (scan == at || scan >= text.size() || text[scan] != u'$' || number == 0) return -1;
  at = scan + 1;
  return number - 1;
}

// Parses one conversion starting after its '%'; false when the text there
// is not a conversion the platform knows.
bool parse_spec(const std::u16string& text, std::size_t& at, int& next_argument, Spec& spec) {
  int position = positional(text, at);
  while (at < text.size() && (text[at] == u'-' || text[at] == u'+' || text[at] == u' ' ||
                              text[at] == u'#' || text[at] == u'0' || text[at] == u'\'')) {
    spec.flags += static_cast<char>(text[at++]);
  }
  auto number_or_star = [&](int& value, int& argument) {
    if (at < text.size() && text[at] == u'*') {
      ++at;
      argument = positional(text, at);
      if (argument < 0) argument = next_argument++;
      return;
    }
    if (at < text.size() && is_digit(text[at])) {
      value = 0;
      while (at < text.size() && is_digit(text[at])) {
        if (value < 100000) value = value * 10 + (text[at] - u'0');
        ++at;
      }
    }
  };
  number_or_star(spec.width, spec.width_argument);
  if (at < text.size() && text[at] == u'.') {
    ++at;
    spec.precision = 0;
    number_or_star(spec.precision, spec.precision_argument);
  }
  while (at < text.size() &&
         (text[at] == u'h' || text[at] == u'l' || text[at] == u'q' || text[at] == u'z' ||
          text[at] == u'j' || text[at] == u't' || text[at] == u'L') &&
         spec.length.size() < 2) {
    spec.length += static_cast<char>(text[at++]);
  }
  if (at >= text.size() || text[at] > 0x7F) return false;
  spec.conversion = static_cast<char>(text[at++]);
  spec.kind = kind_for(spec.length, spec.conversion);
  if (spec.kind == Kind::kNone) return false;
  spec.argument = position >= 0 ? position : next_argument++;
  return true;
}

Value fetch(Kind kind, va_list& arguments) {
  Value value;
  value.kind = kind;
  switch (kind) {
    case Kind::kInt:
      value.integer = va_arg(arguments, int);
      break;
    case Kind::kLong:
      value.integer = va_arg(arguments, long);
      break;
    case Kind::kLongLong:
      value.integer = va_arg(arguments, long long);
      break;
    case Kind::kSize:
      value.wide = va_arg(arguments, std::size_t);
      break;
    case Kind::kIntmax:
      value.wide = static_cast<std::uintmax_t>(va_arg(arguments, std::intmax_t));
      break;
    case Kind::kPtrdiff:
      value.integer = va_arg(arguments, std::ptrdiff_t);
      break;
    case Kind::kDouble:
      value.real = va_arg(arguments, double);
      break;
    case Kind::kLongDouble:
      value.long_real = va_arg(arguments, long double);
      break;
    case Kind::kCString:
    case Kind::kUnicharString:
    case Kind::kPointer:
      value.pointer = va_arg(arguments, const void*);
      break;
    case Kind::kObject:
      value.pointer = va_arg(arguments, id);
      break;
    case Kind::kNone:
      break;
  }
  return value;
}

template <typename T>
std::string printed(const std::string& narrow, T value) {
  int size = std::snprintf(nullptr, 0, narrow.c_str(), value);
  if (size < 0) return {};
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), narrow.c_str(), value);
  out.pop_back();
  return out;
}

std::u16string widened(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

std::u16string padded(std::u16string text, int width, bool left) {
  if (width < 0 || text.size() >= static_cast<std::size_t>(width)) return text;
  std::u16string fill(static_cast<std::size_t>(width) - text.size(), u' ');
  return left ? text + fill : fill + text;
}

std::u16string render(const Spec& spec, const std::vector<Value>& values) {
  auto integer_at = [&](int index) {
    return static_cast<int>(values[static_cast<std::size_t>(index)].integer);
  };
  std::string flags = spec.flags;
  int width = spec.width;
  int precision = spec.precision;
  if (spec.width_argument >= 0) {
    width = integer_at(spec.width_argument);
    if (width < 0) {
      flags += '-';
      width = width == INT32_MIN ? INT32_MAX : -width;
    }
  }
  if (spec.precision_argument >= 0) {
    precision = integer_at(spec.precision_argument);
    if (precision < 0) precision = -1;
  }
  bool left = flags.find('-') != std::string::npos;
  const Value& value = values[static_cast<std::size_t>(spec.argument)];

  switch (spec.conversion) {
    case '@': {
      id object = static_cast<id>(const_cast<void*>(value.pointer));
      std::u16string text = object == nil ? u"(null)" : characters(msg<id>(object, "description"));
      if (precision >= 0 && text.size() > static_cast<std::size_t>(precision))
        text.resize(precision);
      return padded(std::move(text), width, left);
    }
    case 's': {
      if (value.pointer == nullptr) return padded(u"(null)", width, left);
      const auto* bytes = static_cast<const unsigned char*>(value.pointer);
      std::u16string text;
      for (std::size_t i = 0;
           bytes[i] != 0 && (precision < 0 || i < static_cast<std::size_t>(precision)); ++i) {
        text += static_cast<char16_t>(bytes[i]);
      }
      return padded(std::move(text), width, left);
    }
    case 'S': {
      if (value.pointer == nullptr) return padded(u"(null)", width, left);
      const auto* units = static_cast<const unsigned short*>(value.pointer);
      std::u16string text;
      for (std::size_t i = 0;
           units[i] != 0 && (precision < 0 || i < static_cast<std::size_t>(precision)); ++i) {
        text += static_cast<char16_t>(units[i]);
      }
      return padded(std::move(text), width, left);
    }
    case 'c':
      return padded(
          std::u16string(1, static_cast<char16_t>(static_cast<unsigned char>(value.integer))),
          width, left);
    case 'C':
      return padded(
          std::u16string(1, static_cast<char16_t>(static_cast<unsigned short>(value.integer))),
          width, left);
    case 'p':
      return padded(
          widened(printed("0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(value.pointer))), width,
          left);
    case 'n':
      return {};
    default:
      break;
  }

  std::string narrow = "%" + flags;
  if (width >= 0) narrow += std::to_string(width);
  if (precision >= 0) narrow += "." + std::to_string(precision);
  switch (value.kind) {
    case Kind::kInt:
      narrow += spec.length + spec.conversion;
      return widened(printed(narrow, static_cast<int>(value.integer)));
    case Kind::kLong:
      return widened(printed(narrow + "l" + spec.conversion, static_cast<long>(value.integer)));
    case Kind::kLongLong:
      return widened(printed(narrow + "ll" + spec.conversion, value.integer));
    case Kind::kSize:
      return widened(printed(narrow + "z" + spec.conversion, static_cast<std::size_t>(value.wide)));
    case Kind::kIntmax:
      return widened(
          printed(narrow + "j" + spec.conversion, static_cast<std::intmax_t>(value.wide)));
    case Kind::kPtrdiff:
      return widened(
          printed(narrow + "t" + spec.conversion, static_cast<std::ptrdiff_t>(value.integer)));
    case Kind::kDouble:
      return widened(printed(narrow + spec.conversion, value.real));
    case Kind::kLongDouble:
      return widened(printed(narrow + "L" + spec.conversion, value.long_real));
    default:
      return {};
  }
}

}  // namespace

std::u16string vformat_characters(id format, va_list arguments) {
  if (!is_string(format)) {
    objc::raise("NSInvalidArgumentException", "format: nil or non-string format");
  }
  const std::u16string& text = characters(format);
  std::vector<Spec> specs;
  std::vector<Piece> pieces;
  int next_argument = 0;
  std::size_t literal = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != u'%') {
      ++at;
      continue;
    }
    if (at + 1 < text.size() && text[at + 1] == u'%') {
      pieces.push_back({false, literal, at + 1});  // keeps one '%'
      at += 2;
      literal = at;
      continue;
    }
    Spec spec;
    spec.begin = at;
    std::size_t scan = at + 1;
    int saved_next = next_argument;
    if (!parse_spec(text, scan, next_argument, spec)) {
      next_argument = saved_next;  // copied as it stands, taking no argument
      at = scan > at + 1 ? scan : at + 1;
      continue;
    }
    spec.end = scan;
    pieces.push_back({false, literal, at});
    pieces.push_back({true, specs.size(), 0});
    specs.push_back(spec);
    at = scan;
    literal = at;
  }
  pieces.push_back({false, literal, text.size()});

  // Every argument's kind, by position; then they are taken in order, up to
  // the first position no conversion names (whose type is unknown).
  std::vector<Kind> kinds;
  auto claim = [&](int index, Kind kind) {
    if (index < 0) return;
    if (kinds.size() <= static_cast<std::size_t>(index)) kinds.resize(index + 1, Kind::kNone);
    if (kinds[index] == Kind::kNone) kinds[index] = kind;
  };
  for (const auto& spec : specs) {
    claim(spec.width_argument, Kind::kInt);
    claim(spec.precision_argument, Kind::kInt);
    claim(spec.argument, spec.kind);
  }
  std::vector<Value> values;
  va_list walk;
  va_copy(walk, arguments);
  for (Kind kind : kinds) {
    if (kind == Kind::kNone) break;
    values.push_back(fetch(kind, walk));
  }
  va_end(walk);

  auto available = [&](int index) {
    return index < 0 || static_cast<std::size_t>(index) < values.size();
  };
  std::u16string out;
  for (const auto& piece : pieces) {
    if (!piece.is_spec) {
      out.append(text, piece.begin, piece.end - piece.begin);
      continue;
    }
    const Spec& spec = specs[piece.begin];
    if (available(spec.argument) && available(spec.width_argument) &&
        available(spec.precision_argument)) {
      out += render(spec, values);
    } else {
      out.append(text, spec.begin, spec.end - spec.begin);
    }
  }
  return out;
}

id vformat(id format, va_list arguments) { return string(vformat_characters(format, arguments)); }

id format(id format, ...) {
  va_list arguments;
  va_start(arguments, format);
  // Released on every path, also when the format raises.
  struct End {
    va_list& list;
    ~End() { va_end(list); }
  } end{arguments};
  return vformat(format, arguments);
}

}  // namespace ns
