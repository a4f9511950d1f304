// The source text that the generator writes to the log: masked texts declared
// and defined as zero-terminated byte arrays, labelled as the contents of a
// header "Globals.h" and a source file "Globals.m", and the report of texts
// that could not be masked. Plain C++ over UTF-8 text; the runtime class
// gathers the lists and writes the records.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace obfuscator {

// The variable name used when an entry names none.
inline constexpr std::string_view kDefaultName = "key";

// A masked text to write out: the variable's name (absent: "key"), the
// unmasked text for the comment, and the masked text whose code units become
// the array's bytes.
struct GeneratedEntry {
  std::optional<std::string> name;
  std::string original;
  std::u16string obfuscated;
};

// One line declaring the zero-terminated byte array _NAME that holds the code
// units of `text`: "const unsigned char _NAME[] = { 0x41, 0x42, 0x00 };".
// Each code unit is written in upper-case hex without leading zeros (a code
// unit above 0xFF keeps all its digits). An empty text gives an array of the
// terminating zero alone.
std::string array_line(std::u16string_view text, std::optional<std::string_view> name);

// The log record listing texts that could not be masked: a heading line, one
// line per text, and a line of 31 hyphens. Nothing for an empty list.
std::optional<std::string> unsuccessful_record(const std::vector<std::string>& texts);

// The log record of the generated source: the declarations of "Globals.h",
// then the definition blocks of "Globals.m". Nothing for an empty list.
std::optional<std::string> source_record(const std::vector<GeneratedEntry>& entries);

}  // namespace obfuscator
