// The NSString operations beyond the core class: files and encodings,
// searching, replacing and splitting, case, numeric readings, comparison and
// path texts. Lengths, indexes and ranges count UTF-16 code units.
#include <locale.h>
#include <stdlib.h>
#include <wctype.h>

#include <climits>
#include <limits>
#include <string>

#include "platform/device/files.h"
#include "platform/foundation/character_classes.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_error.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/string_encoding.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

const objc::ClassRef string_class{"NSString"};

// A new autoreleased immutable text.
id text(std::u16string units) { return autorelease(new_string(string_class(), std::move(units))); }

const std::u16string& units_of(id self) { return characters(self); }

// The text argument of `cmd`; nil or a non-text raises, as on the device.
const std::u16string& text_argument(id self, SEL cmd, id argument) {
  if (!is_string(argument)) {
    objc::raise("NSInvalidArgumentException",
                "*** " + objc::method_name(self, cmd) + ": nil or non-string argument");
  }
  return characters(argument);
}

[[noreturn]] void raise_range(id self, SEL cmd, const std::string& what) {
  objc::raise("NSRangeException", "*** " + objc::method_name(self, cmd) + ": " + what +
                                      " out of bounds; string length " +
                                      std::to_string(units_of(self).size()));
}

// ---- Files and encodings -------------------------------------------------

// Replaces an initialised receiver's text, or releases it and answers nil.
id settle(id self, std::optional<std::u16string> units) {
  if (!units) {
    msg<void>(self, "release");
    return nil;
  }
  mutable_characters(self) = std::move(*units);
  return self;
}

id init_with_contents_of_file(id self, SEL, id path, unsigned long encoding, id* error) {
  std::string device_path = utf8(path);
  if (!is_string(path)) {
    report_file_error(error, NSFileReadNoSuchFileError, device_path);
    return settle(self, std::nullopt);
  }
  std::error_code cause;
  auto bytes = device::read_file(device_path, cause);
  if (!bytes) {
    report_file_error(error, read_error_code(cause), device_path, cause);
    return settle(self, std::nullopt);
  }
  auto units = decode(*bytes, encoding);
  if (!units) report_file_error(error, NSFileReadInapplicableStringEncodingError, device_path);
  return settle(self, std::move(units));
}
id string_with_contents_of_file(id self, SEL, id path, unsigned long encoding, id* error) {
  return autorelease(
      init_with_contents_of_file(msg<id>(self, "alloc"), nullptr, path, encoding, error));
}

id init_with_bytes(id self, SEL, const void* bytes, unsigned long length, unsigned long encoding) {
  if (bytes == nullptr && length > 0) return settle(self, std::nullopt);
  std::string_view view =
      length == 0 ? std::string_view() : std::string_view(static_cast<const char*>(bytes), length);
  return settle(self, decode(view, encoding));
}
id init_with_c_string(id self, SEL, const char* bytes, unsigned long encoding) {
  if (bytes == nullptr) return settle(self, std::nullopt);
  return settle(self, decode(bytes, encoding));
}
id string_with_c_string(id self, SEL, const char* bytes, unsigned long encoding) {
  return autorelease(init_with_c_string(msg<id>(self, "alloc"), nullptr, bytes, encoding));
}
id init_with_data(id self, SEL, id data, unsigned long encoding) {
  if (!is_data(data)) return settle(self, std::nullopt);
  return settle(self, decode(data_bytes(data), encoding));
}
id init_with_characters(id self, SEL, const unsigned short* units, unsigned long length) {
  std::u16string copied;
  for (unsigned long i = 0; i < length; ++i) copied += static_cast<char16_t>(units[i]);
  return settle(self, std::move(copied));
}
id string_with_characters(id self, SEL, const unsigned short* units, unsigned long length) {
  return autorelease(init_with_characters(msg<id>(self, "alloc"), nullptr, units, length));
}

BOOL write_to_file(id self, SEL, id path, BOOL atomically, unsigned long encoding, id* error) {
  std::string device_path = utf8(path);
  if (!is_string(path)) {
    report_file_error(error, NSFileNoSuchFileError, device_path);
    return NO;
  }
  auto bytes = encode(units_of(self), encoding);
  if (!bytes) {
    report_file_error(error, NSFileWriteInapplicableStringEncodingError, device_path);
    return NO;
  }
  auto cause = device::write_file(
      device_path, *bytes, atomically ? device::WriteMode::kAtomic : device::WriteMode::kInPlace);
  if (cause) {
    report_file_error(error, write_error_code(cause), device_path, cause);
    return NO;
  }
  return YES;
}

// The bytes live in an autoreleased data object, so the pointer stays valid
// until the current pool drains, as on the device.
const char* c_string_using_encoding(id self, SEL, unsigned long encoding) {
  auto bytes = encode(units_of(self), encoding);
  if (!bytes) return nullptr;
  bool wide = encoding == NSUnicodeStringEncoding || encoding == NSUTF16BigEndianStringEncoding ||
              encoding == NSUTF16LittleEndianStringEncoding;
  bytes->append(wide ? 2 : 1, '\0');
  return data_bytes(ns::data(*bytes)).data();
}
id data_using_encoding(id self, SEL, unsigned long encoding) {
  auto bytes = encode(units_of(self), encoding);
  return bytes ? ns::data(*bytes) : nil;
}
unsigned long length_of_bytes(id self, SEL, unsigned long encoding) {
  auto bytes = encode(units_of(self), encoding);
  return bytes ? bytes->size() : 0;
}
BOOL can_be_converted(id self, SEL, unsigned long encoding) {
  return encode(units_of(self), encoding) ? YES : NO;
}

// ---- Searching, replacing, splitting --------------------------------------

id by_appending_string(id self, SEL cmd, id other) {
  return text(units_of(self) + text_argument(self, cmd, other));
}

id by_replacing_occurrences(id self, SEL cmd, id target, id replacement) {
  const std::u16string& find = text_argument(self, cmd, target);
  const std::u16string& with = text_argument(self, cmd, replacement);
  const std::u16string& source = units_of(self);
  if (find.empty()) return text(source);
  std::u16string out;
  std::size_t from = 0;
  for (std::size_t at; (at = source.find(find, from)) != std::u16string::npos;
       from = at + find.size()) {
    out.append(source, from, at - from);
    out += with;
  }
  out.append(source, from, std::u16string::npos);
  return text(std::move(out));
}

NSRange range_of_string(id self, SEL cmd, id other) {
  const std::u16string& find = text_argument(self, cmd, other);
  if (find.empty()) return {NSNotFound, 0};
  std::size_t at = units_of(self).find(find);
  if (at == std::u16string::npos) return {NSNotFound, 0};
  return {at, find.size()};
}

id components_separated_by(id self, SEL cmd, id separator) {
  const std::u16string& by = text_argument(self, cmd, separator);
  const std::u16string& source = units_of(self);
  std::vector<id> parts;
  if (by.empty()) return array({text(source)});
  std::size_t from = 0;
  for (std::size_t at; (at = source.find(by, from)) != std::u16string::npos;
       from = at + by.size()) {
    parts.push_back(text(source.substr(from, at - from)));
  }
  parts.push_back(text(source.substr(from)));
  return array(parts);
}

id substring_with_range(id self, SEL cmd, NSRange range) {
  const std::u16string& source = units_of(self);
  if (range.location > source.size() || range.length > source.size() - range.location) {
    raise_range(
        self, cmd,
        "Range {" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}");
  }
  return text(source.substr(range.location, range.length));
}
id substring_from_index(id self, SEL cmd, unsigned long index) {
  if (index > units_of(self).size()) raise_range(self, cmd, "Index " + std::to_string(index));
  return text(units_of(self).substr(index));
}
id substring_to_index(id self, SEL cmd, unsigned long index) {
  if (index > units_of(self).size()) raise_range(self, cmd, "Index " + std::to_string(index));
  return text(units_of(self).substr(0, index));
}

long compare(id self, SEL cmd, id other) {
  int order = units_of(self).compare(text_argument(self, cmd, other));
  return order < 0 ? NSOrderedAscending : (order > 0 ? NSOrderedDescending : NSOrderedSame);
}

// ---- Case ---------------------------------------------------------------

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
    char32_t mapped = map(c);
    if (mapped >= 0x10000) {
      mapped -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (mapped >> 10));
      out += static_cast<char16_t>(0xDC00 + (mapped & 0x3FF));
    } else {
      out += static_cast<char16_t>(mapped);
    }
  }
  return out;
}
id lowercase_string(id self, SEL) { return text(change_case<false>(units_of(self))); }
id uppercase_string(id self, SEL) { return text(change_case<true>(units_of(self))); }

// ---- Numeric readings ---------------------------------------------------
// Each reads a decimal number at the start of the text after white space and
// line breaks, ignores what follows, and gives 0 when there is none.

std::size_t after_blanks(const std::u16string& source) {
  std::size_t at = 0;
  while (at < source.size() && is_whitespace_or_newline(source[at])) ++at;
  return at;
}

// An integer, saturating at the type's ends as the platform does.
template <typename T>
T integer_reading(const std::u16string& source) {
  std::size_t at = after_blanks(source);
  bool negative = false;
  if (at < source.size() && (source[at] == u'-' || source[at] == u'+')) {
    negative = source[at] == u'-';
    ++at;
  }
  // Accumulated as a negative number, whose range is the larger one.
  T value = 0;
  for (; at < source.size() && is_decimal_digit(source[at]); ++at) {
    T digit = static_cast<T>(source[at] - u'0');
    if (value < (std::numeric_limits<T>::min() + digit) / 10) {
      return negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
    }
    value = static_cast<T>(value * 10 - digit);
  }
  if (negative) return value;
  return value == std::numeric_limits<T>::min() ? std::numeric_limits<T>::max() : -value;
}

double double_reading(const std::u16string& source) {
  std::size_t at = after_blanks(source);
  std::string number;
  auto take_digits = [&] {
    std::size_t count = 0;
    for (; at < source.size() && is_decimal_digit(source[at]); ++at, ++count) {
      number += static_cast<char>(source[at]);
    }
    return count;
  };
  if (at < source.size() && (source[at] == u'-' || source[at] == u'+')) {
    number += static_cast<char>(source[at++]);
  }
  std::size_t digits = take_digits();
  if (at < source.size() && source[at] == u'.') {
    number += '.';
    ++at;
    digits += take_digits();
  }
  if (digits == 0) return 0.0;
  if (at < source.size() && (source[at] == u'e' || source[at] == u'E')) {
    std::size_t mark = at++;
    std::string exponent = "e";
    if (at < source.size() && (source[at] == u'-' || source[at] == u'+')) {
      exponent += static_cast<char>(source[at++]);
    }
    std::string saved = number;
    number.clear();
    if (take_digits() > 0) {
      number = saved + exponent + number;
    } else {
      number = saved;
      at = mark;
    }
  }
  // Read in the "C" locale: the decimal separator is always ".".
  static locale_t plain = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(number.c_str(), nullptr, plain);
}

int int_value(id self, SEL) { return integer_reading<int>(units_of(self)); }
long integer_value(id self, SEL) { return integer_reading<long>(units_of(self)); }
long long long_long_value(id self, SEL) { return integer_reading<long long>(units_of(self)); }
double double_value(id self, SEL) { return double_reading(units_of(self)); }
float float_value(id self, SEL) { return static_cast<float>(double_reading(units_of(self))); }

// YES when, after blanks, an optional sign and any zeros, the text goes on
// with Y, y, T, t or a digit 1 to 9; whatever follows is ignored.
BOOL bool_value(id self, SEL) {
  const std::u16string& source = units_of(self);
  std::size_t at = after_blanks(source);
  if (at < source.size() && (source[at] == u'-' || source[at] == u'+')) ++at;
  while (at < source.size() && source[at] == u'0') ++at;
  if (at == source.size()) return NO;
  char16_t c = source[at];
  return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9') ? YES : NO;
}

// ---- Path texts ---------------------------------------------------------

std::u16string without_trailing_slashes(std::u16string path) {
  while (path.size() > 1 && path.back() == u'/') path.pop_back();
  return path;
}

// Where the last component starts in a path without trailing slashes.
std::size_t last_component_start(const std::u16string& path) {
  std::size_t slash = path.rfind(u'/');
  return slash == std::u16string::npos ? 0 : slash + 1;
}

// Where the extension's dot is in the last component, or npos. A leading
// dot names a hidden file, not an extension.
std::size_t extension_dot(const std::u16string& path) {
  std::size_t start = last_component_start(path);
  std::size_t dot = path.rfind(u'.');
  if (dot == std::u16string::npos || dot <= start || path == u"/") return std::u16string::npos;
  return dot;
}

id last_path_component(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  if (path == u"/") return text(path);
  return text(path.substr(last_component_start(path)));
}
id by_deleting_last_path_component(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::size_t slash = path.rfind(u'/');
  if (slash == std::u16string::npos) return text(u"");
  if (slash == 0) return text(u"/");
  return text(without_trailing_slashes(path.substr(0, slash)));
}
id by_appending_path_component(id self, SEL cmd, id component) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::u16string more = text_argument(self, cmd, component);
  while (!more.empty() && more.front() == u'/') more.erase(0, 1);
  if (path.empty()) return text(more);
  if (more.empty()) return text(path);
  return text(path == u"/" ? path + more : path + u"/" + more);
}
id path_extension(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::size_t dot = extension_dot(path);
  return text(dot == std::u16string::npos ? u"" : path.substr(dot + 1));
}
id by_deleting_path_extension(id self, SEL) {
  std::u16string path = without_trailing_slashes(units_of(self));
  std::size_t dot = extension_dot(path);
  return text(dot == std::u16string::npos ? path : path.substr(0, dot));
}
id by_appending_path_extension(id self, SEL cmd, id extension) {
  const std::u16string& more = text_argument(self, cmd, extension);
  return text(without_trailing_slashes(units_of(self)) + u"." + more);
}

// ---- NSMutableString ----------------------------------------------------

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

void define_string_operations() {
  objc::ClassDefinition::extend(string_class())
      .class_method("stringWithContentsOfFile:encoding:error:", string_with_contents_of_file)
      .class_method("stringWithCString:encoding:", string_with_c_string)
      .class_method("stringWithCharacters:length:", string_with_characters)
      .method("initWithContentsOfFile:encoding:error:", init_with_contents_of_file)
      .method("initWithBytes:length:encoding:", init_with_bytes)
      .method("initWithCString:encoding:", init_with_c_string)
      .method("initWithData:encoding:", init_with_data)
      .method("initWithCharacters:length:", init_with_characters)
      .method("writeToFile:atomically:encoding:error:", write_to_file)
      .method("cStringUsingEncoding:", c_string_using_encoding)
      .method("dataUsingEncoding:", data_using_encoding)
      .method("lengthOfBytesUsingEncoding:", length_of_bytes)
      .method("canBeConvertedToEncoding:", can_be_converted)
      .method("stringByAppendingString:", by_appending_string)
      .method("stringByReplacingOccurrencesOfString:withString:", by_replacing_occurrences)
      .method("rangeOfString:", range_of_string)
      .method("componentsSeparatedByString:", components_separated_by)
      .method("substringWithRange:", substring_with_range)
      .method("substringFromIndex:", substring_from_index)
      .method("substringToIndex:", substring_to_index)
      .method("compare:", compare)
      .method("lowercaseString", lowercase_string)
      .method("uppercaseString", uppercase_string)
      .method("intValue", int_value)
      .method("integerValue", integer_value)
      .method("longLongValue", long_long_value)
      .method("doubleValue", double_value)
      .method("floatValue", float_value)
      .method("boolValue", bool_value)
      .method("lastPathComponent", last_path_component)
      .method("stringByDeletingLastPathComponent", by_deleting_last_path_component)
      .method("stringByAppendingPathComponent:", by_appending_path_component)
      .method("pathExtension", path_extension)
      .method("stringByDeletingPathExtension", by_deleting_path_extension)
      .method("stringByAppendingPathExtension:", by_appending_path_extension)
      .finish();
  objc::ClassDefinition::extend(objc_getClass("NSMutableString"))
      .method("insertString:atIndex:", insert_string)
      .method("replaceCharactersInRange:withString:", replace_characters)
      .method("deleteCharactersInRange:", delete_characters)
      .finish();
}

}  // namespace ns
