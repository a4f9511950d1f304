#include "platform/foundation/string_encoding.h"

#include "platform/foundation/unicode.h"

namespace ns {
namespace {

bool has_unpaired_surrogate(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) return true;
  }
  return false;
}

std::optional<std::u16string> decode_utf16(std::string_view bytes, bool big_endian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    auto first = static_cast<unsigned char>(bytes[i]);
    auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(big_endian ? (first << 8 | second) : (second << 8 | first));
  }
  if (has_unpaired_surrogate(text)) return std::nullopt;
  return text;
}

std::string encode_utf16(std::u16string_view text, bool big_endian) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    char high = static_cast<char>(unit >> 8);
    char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

std::optional<std::u16string> decode_single_byte(std::string_view bytes, unsigned limit) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte > limit) return std::nullopt;
    text += static_cast<char16_t>(byte);
  }
  return text;
}

std::optional<std::string> encode_single_byte(std::u16string_view text, unsigned limit) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t unit : text) {
    if (unit > limit) return std::nullopt;
    bytes += static_cast<char>(unit);
  }
  return bytes;
}

}  // namespace

bool is_supported_encoding(NSStringEncoding encoding) {
  switch (encoding) {
    case NSASCIIStringEncoding:
    case NSUTF8StringEncoding:
    case NSISOLatin1StringEncoding:
    case NSUnicodeStringEncoding:
    case NSUTF16BigEndianStringEncoding:
    case NSUTF16LittleEndianStringEncoding:
      return true;
    default:
      return false;
  }
}

std::optional<std::u16string> decode(std::string_view bytes, NSStringEncoding encoding) {
  switch (encoding) {
    case NSASCIIStringEncoding:
      return decode_single_byte(bytes, 0x7F);
    case NSISOLatin1StringEncoding:
      return decode_single_byte(bytes, 0xFF);
    case NSUTF8StringEncoding:
      if (!is_valid_utf8(bytes)) return std::nullopt;
      return utf16_from_utf8(bytes);
    case NSUnicodeStringEncoding: {
      // A byte order mark says which; without one the platform reads big-endian.
      if (bytes.starts_with("\xFE\xFF")) return decode_utf16(bytes.substr(2), true);
      if (bytes.starts_with("\xFF\xFE")) return decode_utf16(bytes.substr(2), false);
      return decode_utf16(bytes, true);
    }
    case NSUTF16BigEndianStringEncoding:
      return decode_utf16(bytes, true);
    case NSUTF16LittleEndianStringEncoding:
      return decode_utf16(bytes, false);
    default:
      return std::nullopt;
  }
}

std::optional<std::string> encode(std::u16string_view text, NSStringEncoding encoding) {
  switch (encoding) {
    case NSASCIIStringEncoding:
      return encode_single_byte(text, 0x7F);
    case NSISOLatin1StringEncoding:
      return encode_single_byte(text, 0xFF);
    default:
      break;
  }
  if (!is_supported_encoding(encoding) || has_unpaired_surrogate(text)) return std::nullopt;
  switch (encoding) {
    case NSUTF8StringEncoding:
      return utf8_from_utf16(text);
    case NSUnicodeStringEncoding:
      // Written little-endian, the device's own order, behind a byte order mark.
      return "\xFF\xFE" + encode_utf16(text, false);
    case NSUTF16BigEndianStringEncoding:
      return encode_utf16(text, true);
    default:
      return encode_utf16(text, false);
  }
}

}  // namespace ns
