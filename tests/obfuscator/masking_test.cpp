// Keys, masking and revealing, the 8-bit conversions and the salt store.
#include "obfuscator/masking.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using obfuscator::apply_key;
using obfuscator::reveal;
using obfuscator::sha1_hex;

struct Sha1Vector {
  const char* message;
  const char* digest;
};

TEST(DerivedKey, MatchesThePublishedSha1Vectors) {
  // FIPS 180-4 example messages (the empty message, "abc", 448 and 896 bits).
  const Sha1Vector vectors[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlm"
       "nopqrsmnopqrstnopqrstu",
       "a49b2446a02c645bf419f995b67091253a04a259"},
  };
  for (const auto& vector : vectors) {
    EXPECT_EQ(sha1_hex(vector.message), vector.digest) << '"' << vector.message << '"';
  }
}

TEST(Masking, LongAsciiTextsComeBackAndByteFortyMeetsKeyByteZero) {
  const std::string key = sha1_hex("NSObjectNSString");
  const std::string text =
      "The quick brown fox jumps over the lazy dog, then naps in the sun until late afternoon.";
  ASSERT_GT(text.size(), 2 * obfuscator::kDerivedKeyLength);
  const std::string masked = apply_key(text, key);
  // The key repeats every 40 bytes.
  EXPECT_EQ(masked[40], static_cast<char>(text[40] ^ key[0]));
  EXPECT_EQ(masked[80], static_cast<char>(text[80] ^ key[0]));
  EXPECT_EQ(masked[41], static_cast<char>(text[41] ^ key[1]));
  EXPECT_EQ(reveal(masked.c_str(), key), text);
}

TEST(Masking, NonAsciiTextsComeBackThroughTheirUtf8Bytes) {
  // Masked bytes of 0x80 and above are revealed as they are, not widened
  // through the 8-bit encoding first.
  const std::string key = sha1_hex("salt");
  const std::string text = "caf\xC3\xA9 \xE2\x82\xAC 7 \xF0\x9F\x8C\x99";
  const std::string masked = apply_key(text, key);
  ASSERT_EQ(masked.find('\0'), std::string::npos);
  EXPECT_EQ(reveal(masked.c_str(), key), text);
}

TEST(Revealing, StopsAtTheFirstZeroByte) {
  const std::string key = sha1_hex("salt");
  std::string masked = apply_key("secret", key);
  EXPECT_EQ(reveal("", key), "");
  masked[3] = '\0';
  EXPECT_EQ(reveal(masked.c_str(), key), "sec");
  // A text byte equal to its key byte masks to zero and cuts the text there.
  const std::string text = std::string("ab") + key[2] + "cd";
  EXPECT_EQ(reveal(apply_key(text, key).c_str(), key), "ab");
}

TEST(Revealing, GivesNothingWithoutAKeyOrForBytesThatAreNotUtf8) {
  const std::string key = sha1_hex("salt");
  // With no key there is nothing to XOR with, and nothing beyond the key is read.
  EXPECT_EQ(reveal("abc", ""), std::nullopt);
  EXPECT_EQ(reveal("", ""), std::nullopt);
  const std::string not_utf8 = apply_key("\xC3(", key);
  EXPECT_EQ(reveal(not_utf8.c_str(), key), std::nullopt);
  EXPECT_EQ(reveal(nullptr, key), "");
}

TEST(EightBitText, EveryByteSurvivesTheTripToTextAndBack) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  const std::u16string text = obfuscator::latin1_text(bytes.c_str());
  ASSERT_EQ(text.size(), bytes.size());
  EXPECT_EQ(text[0x41 - 1], u'A');
  EXPECT_EQ(text[0xE9 - 1], u'\u00E9');
  char* back = obfuscator::c_string_from_code_units(text);
  EXPECT_EQ(std::string(back), bytes);
  std::free(back);
  EXPECT_EQ(obfuscator::latin1_text("ab\0cd"), u"ab");
  EXPECT_EQ(obfuscator::latin1_text(nullptr), u"");
}

TEST(EightBitText, AFailedAllocationGivesNull) {
  auto failing = [](std::size_t) -> void* { return nullptr; };
  EXPECT_EQ(obfuscator::c_string_from_code_units(u"abc", failing), nullptr);
}

}  // namespace
