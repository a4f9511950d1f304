#include "platform/foundation/ns_number.h"

#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ns {
namespace {

// A fresh instance is the integer 0.
enum Kind : unsigned char { kSigned, kBoolean, kUnsigned, kFloat, kDouble };

const objc::Member<unsigned char> kKind{"NSNumber", "_kind"};
// kBoolean and kSigned keep their value here; kUnsigned only values above LLONG_MAX.
const objc::Member<long long> kSignedValue{"NSNumber", "_signed"};
const objc::Member<unsigned long long> kUnsignedValue{"NSNumber", "_unsigned"};
const objc::Member<double> kRealValue{"NSNumber", "_real"};

const objc::ClassRef number_class{"NSNumber"};
const objc::ClassRef boolean_class{"__NSCFBoolean"};

id shared_boolean(bool value) {
  static id yes = [] {
    id object = allocate_instance(boolean_class());
    kKind.of(object) = kBoolean;
    kSignedValue.of(object) = 1;
    return object;
  }();
  static id no = [] {
    id object = allocate_instance(boolean_class());
    kKind.of(object) = kBoolean;
    return object;
  }();
  return value ? yes : no;
}

// Fills a fresh instance; numbers that fit a long long are kept signed.
id fill_signed(id object, long long value) {
  kKind.of(object) = kSigned;
  kSignedValue.of(object) = value;
  return object;
}
id fill_unsigned(id object, unsigned long long value) {
  if (value <= static_cast<unsigned long long>(LLONG_MAX)) {
    return fill_signed(object, static_cast<long long>(value));
  }
  kKind.of(object) = kUnsigned;
  kUnsignedValue.of(object) = value;
  return object;
}
id fill_real(id object, double value, Kind kind) {
  kKind.of(object) = kind;
  kRealValue.of(object) = value;
  return object;
}

bool is_real(id number) {
  auto kind = kKind.of(number);
  return kind == kFloat || kind == kDouble;
}

double as_double(id self) {
  switch (kKind.of(self)) {
    case kUnsigned:
      return static_cast<double>(kUnsignedValue.of(self));
    case kFloat:
    case kDouble:
      return kRealValue.of(self);
    default:
      return static_cast<double>(kSignedValue.of(self));
  }
}

// A floating-point value narrowed to an integer type saturates at the
// type's ends and gives 0 for NaN, as the device's conversion does, instead
// of being undefined.
template <typename T>
T saturate(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<T>::min())) {
    return std::numeric_limits<T>::min();
  }
  if (value >= static_cast<double>(std::numeric_limits<T>::max())) {
    return std::numeric_limits<T>::max();
  }
  return static_cast<T>(value);
}

long long as_long_long(id self) {
  switch (kKind.of(self)) {
    case kUnsigned:
      return static_cast<long long>(kUnsignedValue.of(self));
    case kFloat:
    case kDouble:
      return saturate<long long>(kRealValue.of(self));
    default:
      return kSignedValue.of(self);
  }
}

unsigned long long as_unsigned_long_long(id self) {
  switch (kKind.of(self)) {
    case kUnsigned:
      return kUnsignedValue.of(self);
    case kFloat:
    case kDouble: {
      double value = kRealValue.of(self);
      // A negative real converts through the signed type, as a C cast would.
      if (value < 0) return static_cast<unsigned long long>(saturate<long long>(value));
      return saturate<unsigned long long>(value);
    }
    default:
      return static_cast<unsigned long long>(kSignedValue.of(self));
  }
}

// Orders two numbers by value: integers exactly, anything with a real part
// as long double (exact for every 64-bit integer here); NaN sorts first and
// equals NaN.
NSComparisonResult compare_numbers(id a, id b) {
  auto order = [](auto x, auto y) -> NSComparisonResult {
    return x < y ? NSOrderedAscending : (y < x ? NSOrderedDescending : NSOrderedSame);
  };
  if (!is_real(a) && !is_real(b)) {
    bool a_big = kKind.of(a) == kUnsigned;
    bool b_big = kKind.of(b) == kUnsigned;
    if (a_big || b_big) {
      if (a_big && b_big) return order(kUnsignedValue.of(a), kUnsignedValue.of(b));
      return a_big ? NSOrderedDescending : NSOrderedAscending;
    }
    return order(kSignedValue.of(a), kSignedValue.of(b));
  }
  auto wide = [](id n) -> long double {
    if (kKind.of(n) == kUnsigned) return static_cast<long double>(kUnsignedValue.of(n));
    if (is_real(n)) return kRealValue.of(n);
    return static_cast<long double>(kSignedValue.of(n));
  };
  long double x = wide(a);
  long double y = wide(b);
  if (std::isnan(x) || std::isnan(y)) {
    if (std::isnan(x) && std::isnan(y)) return NSOrderedSame;
    return std::isnan(x) ? NSOrderedAscending : NSOrderedDescending;
  }
  return order(x, y);
}

id with_bool(id, SEL, BOOL value) { return shared_boolean(value != NO); }
id with_int(id self, SEL, int value) {
  return autorelease(fill_signed(msg<id>(self, "alloc"), value));
}
id with_integer(id self, SEL, long value) {
  return autorelease(fill_signed(msg<id>(self, "alloc"), value));
}
id with_long_long(id self, SEL, long long value) {
  return autorelease(fill_signed(msg<id>(self, "alloc"), value));
}
id with_unsigned_int(id self, SEL, unsigned int value) {
  return autorelease(fill_signed(msg<id>(self, "alloc"), value));
}
id with_unsigned_integer(id self, SEL, unsigned long value) {
  return autorelease(fill_unsigned(msg<id>(self, "alloc"), value));
}
id with_unsigned_long_long(id self, SEL, unsigned long long value) {
  return autorelease(fill_unsigned(msg<id>(self, "alloc"), value));
}
id with_float(id self, SEL, float value) {
  return autorelease(fill_real(msg<id>(self, "alloc"), value, kFloat));
}
id with_double(id self, SEL, double value) {
  return autorelease(fill_real(msg<id>(self, "alloc"), value, kDouble));
}

id init_with_bool(id self, SEL, BOOL value) {
  msg<void>(self, "release");
  return shared_boolean(value != NO);
}
id init_with_int(id self, SEL, int value) { return fill_signed(self, value); }
id init_with_integer(id self, SEL, long value) { return fill_signed(self, value); }
id init_with_long_long(id self, SEL, long long value) { return fill_signed(self, value); }
id init_with_unsigned_integer(id self, SEL, unsigned long value) {
  return fill_unsigned(self, value);
}
id init_with_float(id self, SEL, float value) { return fill_real(self, value, kFloat); }
id init_with_double(id self, SEL, double value) { return fill_real(self, value, kDouble); }

BOOL bool_value(id self, SEL) {
  if (is_real(self)) return kRealValue.of(self) != 0.0 ? YES : NO;
  if (kKind.of(self) == kUnsigned) return YES;
  return kSignedValue.of(self) != 0 ? YES : NO;
}
// Integer narrowing keeps the low bits, as the device's C conversion does.
int int_value(id self, SEL) {
  return is_real(self) ? saturate<int>(kRealValue.of(self)) : static_cast<int>(as_long_long(self));
}
unsigned int unsigned_int_value(id self, SEL) {
  return static_cast<unsigned int>(as_unsigned_long_long(self));
}
long integer_value(id self, SEL) { return as_long_long(self); }
unsigned long unsigned_integer_value(id self, SEL) { return as_unsigned_long_long(self); }
long long long_long_value(id self, SEL) { return as_long_long(self); }
unsigned long long unsigned_long_long_value(id self, SEL) { return as_unsigned_long_long(self); }
double double_value(id self, SEL) { return as_double(self); }
float float_value(id self, SEL) { return static_cast<float>(as_double(self)); }

long compare(id self, SEL, id other) {
  if (!is_number(other)) {
    objc::raise("NSInvalidArgumentException", "-[NSNumber compare:]: nil or non-number argument");
  }
  return compare_numbers(self, other);
}
BOOL is_equal_to_number(id self, SEL, id other) {
  return is_number(other) && compare_numbers(self, other) == NSOrderedSame ? YES : NO;
}
BOOL is_equal(id self, SEL, id other) {
  return self == other || is_equal_to_number(self, nullptr, other) ? YES : NO;
}
// Equal numbers hash alike: a real with an integral value hashes as that integer.
unsigned long hash(id self, SEL) {
  if (!is_real(self)) return static_cast<unsigned long>(as_unsigned_long_long(self));
  double value = kRealValue.of(self);
  if (value == std::trunc(value) && value >= -9.2e18 && value <= 9.2e18) {
    return static_cast<unsigned long>(static_cast<long long>(value));
  }
  if (std::isnan(value)) return 0;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return std::hash<std::uint64_t>{}(bits);
}

id description(id self, SEL) {
  char text[64];
  switch (kKind.of(self)) {
    case kBoolean:
    case kSigned:
      std::snprintf(text, sizeof text, "%lld", kSignedValue.of(self));
      break;
    case kUnsigned:
      std::snprintf(text, sizeof text, "%llu", kUnsignedValue.of(self));
      break;
    case kFloat:
      std::snprintf(text, sizeof text, "%0.7g", kRealValue.of(self));
      break;
    case kDouble:
      std::snprintf(text, sizeof text, "%0.16g", kRealValue.of(self));
      break;
  }
  return string(text);
}

// Numbers are immutable: a copy is the number itself.
id copy_with_zone(id self, SEL, void*) { return Ref::retain(self).leak(); }

// The shared Booleans are never freed.
id immortal_retain(id self, SEL) { return self; }
void immortal_release(id, SEL) {}
id immortal_autorelease(id self, SEL) { return self; }
unsigned long immortal_retain_count(id, SEL) { return ULONG_MAX; }

}  // namespace

void define_number_classes() {
  objc::ClassDefinition("NSValue", objc_getClass("NSObject")).finish();
  objc::ClassDefinition("NSNumber", objc_getClass("NSValue"))
      .member<unsigned char>("_kind")
      .member<long long>("_signed")
      .member<unsigned long long>("_unsigned")
      .member<double>("_real")
      .class_method("numberWithBool:", with_bool)
      .class_method("numberWithInt:", with_int)
      .class_method("numberWithUnsignedInt:", with_unsigned_int)
      .class_method("numberWithInteger:", with_integer)
      .class_method("numberWithUnsignedInteger:", with_unsigned_integer)
      .class_method("numberWithLongLong:", with_long_long)
      .class_method("numberWithUnsignedLongLong:", with_unsigned_long_long)
      .class_method("numberWithFloat:", with_float)
      .class_method("numberWithDouble:", with_double)
      .method("initWithBool:", init_with_bool)
      .method("initWithInt:", init_with_int)
      .method("initWithInteger:", init_with_integer)
      .method("initWithUnsignedInteger:", init_with_unsigned_integer)
      .method("initWithLongLong:", init_with_long_long)
      .method("initWithFloat:", init_with_float)
      .method("initWithDouble:", init_with_double)
      .method("boolValue", bool_value)
      .method("intValue", int_value)
      .method("unsignedIntValue", unsigned_int_value)
      .method("integerValue", integer_value)
      .method("unsignedIntegerValue", unsigned_integer_value)
      .method("longLongValue", long_long_value)
      .method("unsignedLongLongValue", unsigned_long_long_value)
      .method("doubleValue", double_value)
      .method("floatValue", float_value)
      .method("compare:", compare)
      .method("isEqualToNumber:", is_equal_to_number)
      .method("isEqual:", is_equal)
      .method("hash", hash)
      .method("description", description)
      .method("stringValue", description)
      .method("copyWithZone:", copy_with_zone)
      .finish();
  objc::ClassDefinition("__NSCFBoolean", number_class())
      .method("retain", immortal_retain)
      .method("release", immortal_release)
      .method("autorelease", immortal_autorelease)
      .method("retainCount", immortal_retain_count)
      .finish();
}

id number(long long value) { return msg<id>(number_class(), "numberWithLongLong:", value); }
id number(unsigned long long value) {
  return msg<id>(number_class(), "numberWithUnsignedLongLong:", value);
}
id number(double value) { return msg<id>(number_class(), "numberWithDouble:", value); }
id boolean(bool value) { return shared_boolean(value); }

bool is_number(id object) { return objc::is_kind_of(object, number_class()); }

NumberKind number_kind(id object) {
  switch (kKind.of(object)) {
    case kBoolean:
      return NumberKind::kBoolean;
    case kSigned:
      return NumberKind::kInteger;
    case kUnsigned:
      return NumberKind::kLargeUnsigned;
    default:
      return NumberKind::kReal;
  }
}

bool is_boolean(id object) { return object != nil && object_getClass(object) == boolean_class(); }

}  // namespace ns
