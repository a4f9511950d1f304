// Test texts shown in test names and messages with their control and
// non-ASCII bytes escaped, so that every case name stays on one line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline std::string printable(std::string_view bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
      out += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out + "\"";
}
