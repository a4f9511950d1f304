// The generated source text: array lines and the two log records.
#include "obfuscator/source_text.h"

#include <gtest/gtest.h>

namespace {

using obfuscator::array_line;

TEST(ArrayLine, WritesEachCodeUnitInUpperCaseHexWithoutLeadingZeros) {
  struct Case {
    std::u16string text;
    std::optional<std::string_view> name;
    std::string line;
  };
  const Case cases[] = {
      {u"A", "title", "const unsigned char _title[] = { 0x41, 0x00 };"},
      {u"Az\n", std::nullopt, "const unsigned char _key[] = { 0x41, 0x7A, 0xA, 0x00 };"},
      {std::u16string(u"\x01\x00\xff", 3), "k",
       "const unsigned char _k[] = { 0x1, 0x0, 0xFF, 0x00 };"},
      {u"\u0142\u20AC", "wide", "const unsigned char _wide[] = { 0x142, 0x20AC, 0x00 };"},
      // An empty text still makes a well-formed array: the terminating zero alone.
      {u"", std::nullopt, "const unsigned char _key[] = { 0x00 };"},
  };
  for (const auto& c : cases) EXPECT_EQ(array_line(c.text, c.name), c.line);
}

TEST(SourceRecord, DeclaresThenDefinesEachEntryInOrder) {
  EXPECT_EQ(obfuscator::source_record({}), std::nullopt);
  const std::vector<obfuscator::GeneratedEntry> entries = {
      {"apiKey", "ab", u"\x03\x04"},
      // An entry without a name is written as one named key.
      {std::nullopt, "\"q\"", u"Z"},
  };
  EXPECT_EQ(obfuscator::source_record(entries),
            "Objective-C Code:\n"
            "**********Globals.h**********\n"
            "extern const unsigned char *apiKey;\n"
            "extern const unsigned char *key;\n"
            "\n"
            "**********Globals.m**********\n"
            "//Original: \"ab\"\n"
            "const unsigned char _apiKey[] = { 0x3, 0x4, 0x00 };\n"
            "const unsigned char *apiKey = &_apiKey[0];\n"
            "\n"
            "//Original: \"\"q\"\"\n"
            "const unsigned char _key[] = { 0x5A, 0x00 };\n"
            "const unsigned char *key = &_key[0];\n"
            "\n");
}

}  // namespace
