// NSNumber: a boxed Boolean, integer or floating-point value. Booleans are
// their own class (`__NSCFBoolean`, as on the device), with two shared
// instances that live for the process, so a Boolean read from a property
// list stays distinguishable from the number 1. Numbers compare by value
// across kinds (YES equals 1 equals 1.0), and equal numbers hash alike.
#pragma once

#include <concepts>

#include "platform/objc/runtime.h"

namespace ns {

void define_number_classes();

// New autoreleased numbers (Booleans are the shared instances).
id number(long long value);
id number(unsigned long long value);
id number(double value);
// Any other integer type, by its signedness (Booleans use `boolean`).
template <std::integral T>
requires(!std::same_as<T, bool>) id number(T value) {
  if constexpr (std::signed_integral<T>) {
    return number(static_cast<long long>(value));
  } else {
    return number(static_cast<unsigned long long>(value));
  }
}
id boolean(bool value);

bool is_number(id object);

// What a number holds: a Boolean, an integer that fits a long long, an
// integer above LLONG_MAX, or a floating-point value.
enum class NumberKind { kBoolean, kInteger, kLargeUnsigned, kReal };
// The kind of an NSNumber; `object` must be one.
NumberKind number_kind(id object);
// Whether `object` is one of the two Boolean numbers.
bool is_boolean(id object);

}  // namespace ns
