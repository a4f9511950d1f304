// Salted XOR masking, the arithmetic under the Obfuscator class. A key is the
// SHA-1 digest of a salt text written as 40 lower-case hex digits; a text is
// masked by XORing byte i of its UTF-8 form with key byte (i mod key length),
// and revealed by the same XOR. Everything here is plain C++ over bytes; the
// runtime class only converts between these and its texts.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace obfuscator {

// Length of a derived key: two hex digits per SHA-1 digest byte.
inline constexpr std::size_t kDerivedKeyLength = 40;

// SHA-1 (FIPS 180-4) of `bytes` as 40 lower-case hex digits, digest bytes in
// order, high nibble first.
std::string sha1_hex(std::string_view bytes);

// XORs byte i of `bytes` with key byte (i mod key.size()). Masking and
// revealing are this one operation. An empty key leaves the bytes unchanged.
std::string apply_key(std::string_view bytes, std::string_view key);

// The text that the zero-terminated `masked` bytes hide under `key`: the bytes
// up to the first zero, XORed with the key, if they form valid UTF-8.
// Nothing when the key is empty (there is nothing to reveal with) or the
// result is not UTF-8. A lone zero byte reveals the empty text.
// The masked bytes are XORed as they are. Reading them through the 8-bit
// encoding first, as a text, would turn every byte of 0x80 or above into two
// UTF-8 bytes and lose any text that is not plain ASCII; for ASCII texts the
// two ways agree.
std::optional<std::string> reveal(const char* masked, std::string_view key);

// The zero-terminated bytes read as ISO 8859-1 (Latin-1), the 8-bit C-string
// encoding of this platform: each byte becomes the code unit of the same
// value, so every byte string survives the trip to text and back through
// `c_string_from_code_units`. A null pointer reads as no bytes.
std::u16string latin1_text(const char* bytes);

// A new zero-terminated byte string of text.size() + 1 bytes made with
// `allocate`: byte i is the low 8 bits of code unit i. The caller frees it
// with the matching deallocator (std::free for the default). Null when the
// allocation fails.
char* c_string_from_code_units(std::u16string_view text,
                               void* (*allocate)(std::size_t) = std::malloc);

// Named salt texts (UTF-8), added or replaced, never removed.
class SaltStore {
 public:
  // Stores `salt` under `name`, replacing any earlier entry of that name.
  void store(std::u16string name, std::string salt);
  // The salt text stored under `name`, or nothing.
  std::optional<std::string> find(std::u16string_view name) const;

 private:
  std::map<std::u16string, std::string, std::less<>> salts_;
};

}  // namespace obfuscator
