#include "platform/foundation/ns_data.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>

#include "platform/device/files.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"

namespace ns {
namespace {

const objc::Member<std::string> kBytes{"NSData", "_bytes"};
const objc::Member<double> kSeconds{"NSDate", "_secondsSince1970"};

const objc::ClassRef data_class{"NSData"};
const objc::ClassRef date_class{"NSDate"};

id new_data(Class cls, std::string bytes) {
  id object = allocate_instance(cls);
  kBytes.of(object) = std::move(bytes);
  return object;
}

std::string copy_bytes(const void* bytes, unsigned long length) {
  if (length == 0) return {};
  return std::string(static_cast<const char*>(bytes), length);
}

id data_empty(id self, SEL) { return autorelease(new_data(reinterpret_cast<Class>(self), {})); }
id data_with_bytes(id self, SEL, const void* bytes, unsigned long length) {
  return autorelease(new_data(reinterpret_cast<Class>(self), copy_bytes(bytes, length)));
}
id init_with_bytes(id self, SEL, const void* bytes, unsigned long length) {
  kBytes.of(self) = copy_bytes(bytes, length);
  return self;
}
id data_with_contents_of_file(id self, SEL, id path) {
  if (!is_string(path)) return nil;
  std::error_code error;
  auto content = device::read_file(utf8(path), error);
  if (!content) return nil;
  return autorelease(new_data(reinterpret_cast<Class>(self), std::move(*content)));
}
const void* bytes(id self, SEL) { return kBytes.of(self).data(); }
unsigned long length(id self, SEL) { return kBytes.of(self).size(); }
BOOL is_equal_to_data(id self, SEL, id other) {
  return is_data(other) && kBytes.of(self) == kBytes.of(other) ? YES : NO;
}
BOOL data_is_equal(id self, SEL, id other) {
  return self == other || is_equal_to_data(self, nullptr, other) ? YES : NO;
}
unsigned long data_hash(id self, SEL) { return std::hash<std::string>{}(kBytes.of(self)); }
// "<0a0b0c0d 0e>": bytes in hexadecimal, a space after every fourth.
id data_description(id self, SEL) {
  const std::string& content = kBytes.of(self);
  std::string text = "<";
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (i > 0 && i % 4 == 0) text += ' ';
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(content[i]));
    text += pair;
  }
  text += '>';
  return string(text);
}
id data_copy(id self, SEL, void*) { return Ref::retain(self).leak(); }
BOOL data_write_to_file(id self, SEL, id path, BOOL atomically) {
  if (!is_string(path)) return NO;
  auto error =
      device::write_file(utf8(path), kBytes.of(self),
                         atomically ? device::WriteMode::kAtomic : device::WriteMode::kInPlace);
  return error ? NO : YES;
}

id new_date(Class cls, double seconds) {
  id object = allocate_instance(cls);
  kSeconds.of(object) = seconds;
  return object;
}
double now() {
  timespec time{};
  clock_gettime(CLOCK_REALTIME, &time);
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}
id date_now(id self, SEL) { return autorelease(new_date(reinterpret_cast<Class>(self), now())); }
id date_init(id self, SEL) {
  kSeconds.of(self) = now();
  return self;
}
id date_with_since_1970(id self, SEL, double seconds) {
  return autorelease(new_date(reinterpret_cast<Class>(self), seconds));
}
id date_with_since_reference(id self, SEL, double seconds) {
  return autorelease(new_date(reinterpret_cast<Class>(self), seconds + kReferenceDateSince1970));
}
id init_with_since_1970(id self, SEL, double seconds) {
  kSeconds.of(self) = seconds;
  return self;
}
double since_1970(id self, SEL) { return kSeconds.of(self); }
double since_reference(id self, SEL) { return kSeconds.of(self) - kReferenceDateSince1970; }
long date_compare(id self, SEL, id other) {
  double a = kSeconds.of(self);
  double b = seconds_since_1970(other);
  return a < b ? NSOrderedAscending : (b < a ? NSOrderedDescending : NSOrderedSame);
}
BOOL is_equal_to_date(id self, SEL, id other) {
  return is_date(other) && kSeconds.of(self) == kSeconds.of(other) ? YES : NO;
}
BOOL date_is_equal(id self, SEL, id other) {
  return self == other || is_equal_to_date(self, nullptr, other) ? YES : NO;
}
unsigned long date_hash(id self, SEL) { return std::hash<double>{}(kSeconds.of(self)); }
// "2001-01-01 00:00:00 +0000", in UTC.
id date_description(id self, SEL) {
  double seconds = std::floor(kSeconds.of(self));
  if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15) return string("(invalid date)");
  std::time_t whole = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&whole, &parts);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &parts);
  return string(text);
}
id date_copy(id self, SEL, void*) { return Ref::retain(self).leak(); }

}  // namespace

void define_data_classes() {
  objc::ClassDefinition("NSData", objc_getClass("NSObject"))
      .member<std::string>("_bytes")
      .class_method("data", data_empty)
      .class_method("dataWithBytes:length:", data_with_bytes)
      .class_method("dataWithContentsOfFile:", data_with_contents_of_file)
      .method("initWithBytes:length:", init_with_bytes)
      .method("bytes", bytes)
      .method("length", length)
      .method("isEqualToData:", is_equal_to_data)
      .method("isEqual:", data_is_equal)
      .method("hash", data_hash)
      .method("description", data_description)
      .method("copyWithZone:", data_copy)
      .method("writeToFile:atomically:", data_write_to_file)
      .finish();
  objc::ClassDefinition("NSDate", objc_getClass("NSObject"))
      .member<double>("_secondsSince1970")
      .class_method("date", date_now)
      .class_method("dateWithTimeIntervalSince1970:", date_with_since_1970)
      .class_method("dateWithTimeIntervalSinceReferenceDate:", date_with_since_reference)
      .method("init", date_init)
      .method("initWithTimeIntervalSince1970:", init_with_since_1970)
      .method("timeIntervalSince1970", since_1970)
      .method("timeIntervalSinceReferenceDate", since_reference)
      .method("compare:", date_compare)
      .method("isEqualToDate:", is_equal_to_date)
      .method("isEqual:", date_is_equal)
      .method("hash", date_hash)
      .method("description", date_description)
      .method("copyWithZone:", date_copy)
      .finish();
}

id data(std::string_view bytes) { return autorelease(new_data(data_class(), std::string(bytes))); }

std::string_view data_bytes(id data) {
  return is_data(data) ? std::string_view(kBytes.of(data)) : std::string_view();
}

bool is_data(id object) { return objc::is_kind_of(object, data_class()); }

id date_since_1970(double seconds) { return autorelease(new_date(date_class(), seconds)); }

double seconds_since_1970(id date) { return is_date(date) ? kSeconds.of(date) : 0.0; }

bool is_date(id object) { return objc::is_kind_of(object, date_class()); }

}  // namespace ns
