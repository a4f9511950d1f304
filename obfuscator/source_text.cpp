#include "obfuscator/source_text.h"

#include <cstdio>

namespace obfuscator {
namespace {

std::string upper_hex(unsigned value) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%X", value);
  return digits;
}

}  // namespace

std::string array_line(std::u16string_view text, std::optional<std::string_view> name) {
  std::string line = "const unsigned char _";
  line += name.value_or(kDefaultName);
  line += "[] = { ";
  for (char16_t unit : text) {
    line += "0x" + upper_hex(unit) + ", ";
  }
  line += "0x00 };";
  return line;
}

std::optional<std::string> unsuccessful_record(const std::vector<std::string>& texts) {
  if (texts.empty()) return std::nullopt;
  std::string report = "Could not obfuscate these strings:\n";
  for (const auto& text : texts) report += text + "\n";
  return report + "-------------------------------";
}

std::optional<std::string> source_record(const std::vector<GeneratedEntry>& entries) {
  if (entries.empty()) return std::nullopt;
  std::string declarations;
  std::string definitions;
  for (const auto& entry : entries) {
    const std::string name(entry.name.value_or(std::string(kDefaultName)));
    declarations += "extern const unsigned char *" + name + ";\n";
    definitions += "//Original: \"" + entry.original + "\"\n";
    definitions += array_line(entry.obfuscated, name) + "\n";
    definitions += "const unsigned char *" + name + " = &_" + name + "[0];\n\n";
  }
  return "Objective-C Code:\n**********Globals.h**********\n" + declarations +
         "\n**********Globals.m**********\n" + definitions;
}

}  // namespace obfuscator
