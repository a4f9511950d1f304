#include "platform/corefoundation/darwin_notify.h"

#include "platform/device/device_paths.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace cf {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool kept_as_is(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

std::string sha256_hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHexDigits[digest[i] >> 4];
    hex += kHexDigits[digest[i] & 0xF];
  }
  return hex;
}

}  // namespace

std::string notify_directory() { return device::resolve("/var/run/notify"); }

std::string notify_file_name(std::string_view name) {
  std::string file = "n-";
  for (unsigned char c : name) {
    if (kept_as_is(c)) {
      file += static_cast<char>(c);
    } else {
      file += '%';
      file += kHexDigits[c >> 4];
      file += kHexDigits[c & 0xF];
    }
  }
  if (file.size() <= NAME_MAX) return file;
  return "h-" + sha256_hex(name);
}

bool post_darwin_notification(std::string_view name) {
  std::string directory = notify_directory();
  if (directory.empty()) return false;
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  std::string path = directory + "/" + notify_file_name(name);
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  return close(fd) == 0;
}

}  // namespace cf
