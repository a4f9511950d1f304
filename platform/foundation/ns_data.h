// NSData, an immutable run of bytes (what a property list's <data> reads
// as), and NSDate, a moment kept as seconds since 1970-01-01 00:00:00 UTC.
#pragma once

#include <string>
#include <string_view>

#include "platform/objc/runtime.h"

namespace ns {

void define_data_classes();

// A new autoreleased NSData holding a copy of `bytes`.
id data(std::string_view bytes);
// The bytes of an NSData; empty for nil or another kind of object. Valid
// while the data object lives.
std::string_view data_bytes(id data);
bool is_data(id object);

// Seconds between 1970-01-01 and the platform's reference date 2001-01-01.
inline constexpr double kReferenceDateSince1970 = 978307200.0;

// A new autoreleased NSDate.
id date_since_1970(double seconds);
// The date's seconds since 1970; 0 for nil or another kind of object.
double seconds_since_1970(id date);
bool is_date(id object);

}  // namespace ns
