// NSString's files and encodings: making a text from a file, bytes, a C
// string, data or code units in a given encoding, and writing or encoding it
// back. A failed reading answers nil and, where asked, an NSError.
#include <optional>
#include <string>

#include "platform/device/files.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_error.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/string_encoding.h"
#include "platform/foundation/string_operations.h"
#include "platform/objc/class_definition.h"

namespace ns {
namespace {

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

}  // namespace

void define_string_file_methods() {
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
      .finish();
}

}  // namespace ns
