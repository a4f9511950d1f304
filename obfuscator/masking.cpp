#include "obfuscator/masking.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/foundation/unicode.h"

namespace obfuscator {

std::string sha1_hex(std::string_view bytes) {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int digest_length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &digest_length, EVP_sha1(), nullptr) !=
      1) {
    // Only a broken libcrypto fails to compute SHA-1: nothing sound can follow.
    std::fprintf(stderr, "obfuscator: libcrypto could not compute SHA-1\n");
    std::abort();
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * digest_length);
  for (unsigned int i = 0; i < digest_length; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
}

std::string apply_key(std::string_view bytes, std::string_view key) {
  std::string result(bytes);
  if (key.empty()) return result;
  std::size_t j = 0;
  for (char& byte : result) {
    byte = static_cast<char>(byte ^ key[j]);
    if (++j == key.size()) j = 0;
  }
  return result;
}

std::optional<std::string> reveal(const char* masked, std::string_view key) {
  if (key.empty()) return std::nullopt;
  std::string text = apply_key(masked != nullptr ? masked : "", key);
  if (!ns::is_valid_utf8(text)) return std::nullopt;
  return text;
}

std::u16string latin1_text(const char* bytes) {
  std::u16string text;
  if (bytes == nullptr) return text;
  for (const char* p = bytes; *p != '\0'; ++p) {
    text += static_cast<char16_t>(static_cast<unsigned char>(*p));
  }
  return text;
}

char* c_string_from_code_units(std::u16string_view text, void* (*allocate)(std::size_t)) {
  auto* bytes = static_cast<char*>(allocate(text.size() + 1));
  if (bytes == nullptr) return nullptr;
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes[i] = static_cast<char>(text[i] & 0xFF);
  }
  bytes[text.size()] = '\0';
  return bytes;
}

void SaltStore::store(std::u16string name, std::string salt) {
  salts_.insert_or_assign(std::move(name), std::move(salt));
}

std::optional<std::string> SaltStore::find(std::u16string_view name) const {
  auto found = salts_.find(name);
  if (found == salts_.end()) return std::nullopt;
  return found->second;
}

}  // namespace obfuscator
