// NSString's numeric readings: intValue, integerValue, longLongValue,
// doubleValue, floatValue and boolValue.
#include <stdlib.h>

#include <climits>
#include <limits>
#include <string>

#include "platform/foundation/character_classes.h"
#include "platform/foundation/string_operations.h"
#include "platform/objc/class_definition.h"

namespace ns {
namespace {

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

}  // namespace

void define_string_number_methods() {
  objc::ClassDefinition::extend(string_class())
      .method("intValue", int_value)
      .method("integerValue", integer_value)
      .method("longLongValue", long_long_value)
      .method("doubleValue", double_value)
      .method("floatValue", float_value)
      .method("boolValue", bool_value)
      .finish();
}

}  // namespace ns
