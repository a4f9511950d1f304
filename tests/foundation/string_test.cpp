// NSString beyond the core: UTF-16 counting with characters outside the
// Basic Multilingual Plane, searching and replacing, numeric readings,
// encodings, files and path texts.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/device/device_paths.h"
#include "platform/foundation/foundation.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/objc/exception.h"
#include "tests/foundation/printable.h"

namespace {

using objc::msg;

id text(const char* utf8) { return ns::string(utf8); }
std::string utf8_of(id object) { return ns::utf8(object); }

std::string raised_name(const std::function<void()>& action) {
  try {
    action();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object());
  }
  return "";
}

class StringTest : public testing::Test {
 protected:
  ns::AutoreleasePool pool_;
};

TEST_F(StringTest, LengthsAndRangesCountUtf16CodeUnits) {
  id s = text(
      "a\xF0\x9F\x98\x80"
      "b");  // a, U+1F600, b
  // The emoji is two code units: the text is four long and "b" is at 3.
  EXPECT_EQ(msg<unsigned long>(s, "length"), 4u);
  EXPECT_EQ(msg<NSRange>(s, "rangeOfString:", text("b")), NSMakeRange(3, 1));
  EXPECT_EQ(utf8_of(msg<id>(s, "substringWithRange:", NSMakeRange(1, 2))), "\xF0\x9F\x98\x80");
  EXPECT_EQ(utf8_of(msg<id>(s, "substringFromIndex:", 3ul)), "b");
  EXPECT_EQ(utf8_of(msg<id>(s, "substringToIndex:", 1ul)), "a");
  // Byte lengths depend on the encoding; one that cannot hold the text gives 0.
  id mixed = text("a\xF0\x9F\x98\x80\xC3\xA9");  // a, U+1F600, é
  EXPECT_EQ(msg<unsigned long>(mixed, "lengthOfBytesUsingEncoding:", NSUTF8StringEncoding), 7u);
  EXPECT_EQ(msg<unsigned long>(mixed, "lengthOfBytesUsingEncoding:", NSASCIIStringEncoding), 0u);
  EXPECT_EQ(msg<unsigned long>(text("\xC3\xA9"),
                               "lengthOfBytesUsingEncoding:", NSISOLatin1StringEncoding),
            1u);
}

TEST_F(StringTest, SubstringsOutsideTheTextRaiseRangeErrors) {
  id s = text("abc");
  EXPECT_EQ(utf8_of(msg<id>(s, "substringFromIndex:", 3ul)), "");
  EXPECT_EQ(raised_name([&] { msg<id>(s, "substringFromIndex:", 4ul); }), "NSRangeException");
  EXPECT_EQ(raised_name([&] { msg<id>(s, "substringToIndex:", 4ul); }), "NSRangeException");
  EXPECT_EQ(raised_name([&] { msg<id>(s, "substringWithRange:", NSMakeRange(2, 2)); }),
            "NSRangeException");
  // A length that would wrap around past the end is caught too.
  EXPECT_EQ(raised_name([&] { msg<id>(s, "substringWithRange:", NSMakeRange(1, ULONG_MAX)); }),
            "NSRangeException");
}

struct Replacement {
  const char* source;
  const char* target;
  const char* with;
  const char* result;
};
void PrintTo(const Replacement& c, std::ostream* out) {
  *out << printable(c.source) << " " << printable(c.target);
}

class StringReplacement : public testing::TestWithParam<Replacement> {};

TEST_P(StringReplacement, ReplacesEveryOccurrenceLeftToRightWithoutOverlap) {
  ns::AutoreleasePool pool;
  const auto& p = GetParam();
  id result =
      msg<id>(text(p.source), "stringByReplacingOccurrencesOfString:withString:", text(p.target),
              text(p.with));
  EXPECT_EQ(utf8_of(result), p.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringReplacement,
    testing::Values(Replacement{"aaa", "aa", "b", "ba"}, Replacement{"xx", "x", "xx", "xxxx"},
                    Replacement{"a.b.c", ".", "", "abc"}, Replacement{"abc", "", "x", "abc"},
                    Replacement{"", "a", "b", ""},
                    Replacement{"color: #ffffff; background: #ffffff", "#ffffff", "#000000",
                                "color: #000000; background: #000000"},
                    Replacement{"\xF0\x9F\x98\x80-\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "e",
                                "e-e"}));

TEST_F(StringTest, SplitsOnEverySeparatorKeepingEmptyParts) {
  struct Case {
    const char* source;
    const char* separator;
    std::vector<std::string> parts;
  };
  for (const Case& c :
       {Case{"a,,b", ",", {"a", "", "b"}}, Case{",a,", ",", {"", "a", ""}}, Case{"", ",", {""}},
        Case{"abc", "", {"abc"}}, Case{"a::b::c", "::", {"a", "b", "c"}}}) {
    std::vector<std::string> parts;
    for (id part : ns::array_items(
             msg<id>(text(c.source), "componentsSeparatedByString:", text(c.separator)))) {
      parts.push_back(utf8_of(part));
    }
    EXPECT_EQ(parts, c.parts) << c.source;
  }
}

TEST_F(StringTest, SearchesAnswerNotFoundAndNilArgumentsRaise) {
  id s = text("abc");
  EXPECT_EQ(msg<NSRange>(s, "rangeOfString:", text("x")).location, NSNotFound);
  EXPECT_EQ(msg<NSRange>(s, "rangeOfString:", text("")).location, NSNotFound);
  EXPECT_EQ(NSNotFound, 0x7fffffffffffffffUL);
  EXPECT_EQ(raised_name([&] { msg<id>(s, "stringByAppendingString:", nil); }),
            "NSInvalidArgumentException");
  EXPECT_EQ(raised_name([&] { msg<NSRange>(s, "rangeOfString:", nil); }),
            "NSInvalidArgumentException");
  EXPECT_EQ(utf8_of(msg<id>(s, "stringByAppendingString:", text("\xF0\x9F\x98\x80"))),
            "abc\xF0\x9F\x98\x80");
}

TEST_F(StringTest, CaseMappingCoversAllOfUnicodeOneCharacterAtATime) {
  // U+10428 DESERET SMALL LETTER LONG I is outside the BMP: its upper case
  // is U+10400, and the surrogate pair must be mapped as one character.
  id s = text(
      "Stra\xC3\x9F"
      "e \xC3\xA9 \xF0\x90\x90\xA8 \xF0\x9F\x98\x80");
  EXPECT_EQ(utf8_of(msg<id>(s, "uppercaseString")),
            "STRA\xC3\x9F"
            "E \xC3\x89 \xF0\x90\x90\x80 \xF0\x9F\x98\x80");
  EXPECT_EQ(utf8_of(msg<id>(text("\xC3\x89"
                                 "COLE \xF0\x90\x90\x80"),
                            "lowercaseString")),
            "\xC3\xA9"
            "cole \xF0\x90\x90\xA8");
}

TEST_F(StringTest, CompareOrdersByCodeUnits) {
  EXPECT_EQ(msg<long>(text("a"), "compare:", text("b")), NSOrderedAscending);
  EXPECT_EQ(msg<long>(text("b"), "compare:", text("a")), NSOrderedDescending);
  EXPECT_EQ(msg<long>(text("ab"), "compare:", text("ab")), NSOrderedSame);
  EXPECT_EQ(msg<long>(text("a"), "compare:", text("ab")), NSOrderedAscending);
  EXPECT_EQ(msg<long>(text("B"), "compare:", text("a")), NSOrderedAscending);
}

struct IntegerReading {
  const char* text;
  int int_value;
  long integer_value;
};
void PrintTo(const IntegerReading& c, std::ostream* out) { *out << printable(c.text); }

class StringIntegerReading : public testing::TestWithParam<IntegerReading> {};

TEST_P(StringIntegerReading, ReadsTheLeadingDecimalAndSaturates) {
  ns::AutoreleasePool pool;
  id s = text(GetParam().text);
  EXPECT_EQ(msg<int>(s, "intValue"), GetParam().int_value);
  EXPECT_EQ(msg<long>(s, "integerValue"), GetParam().integer_value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringIntegerReading,
    testing::Values(IntegerReading{"42", 42, 42}, IntegerReading{"  -17abc", -17, -17},
                    IntegerReading{"+5", 5, 5}, IntegerReading{"\n\t 7", 7, 7},
                    IntegerReading{"1e3", 1, 1}, IntegerReading{"abc", 0, 0},
                    IntegerReading{"", 0, 0}, IntegerReading{"-", 0, 0},
                    IntegerReading{"99999999999", INT_MAX, 99999999999L},
                    IntegerReading{"-99999999999", INT_MIN, -99999999999L},
                    IntegerReading{"9223372036854775808", INT_MAX, LONG_MAX},
                    IntegerReading{"-9223372036854775808", INT_MIN, LONG_MIN},
                    IntegerReading{"-99999999999999999999", INT_MIN, LONG_MIN}));

TEST_F(StringTest, DoubleValueReadsTheLeadingDecimalNumber) {
  struct Case {
    const char* text;
    double value;
  };
  for (const Case& c : {Case{"3.5", 3.5}, Case{" -0.25e2x", -25.0}, Case{"1e", 1.0},
                        Case{".5", 0.5}, Case{"5.", 5.0}, Case{"abc", 0.0}, Case{"0x10", 0.0},
                        Case{"1e-2", 0.01}, Case{"+2", 2.0}, Case{"inf", 0.0}}) {
    EXPECT_EQ(msg<double>(text(c.text), "doubleValue"), c.value) << c.text;
  }
  EXPECT_TRUE(std::isinf(msg<double>(text("1e400"), "doubleValue")));
}

struct BoolReading {
  const char* text;
  bool value;
};
void PrintTo(const BoolReading& c, std::ostream* out) { *out << printable(c.text); }

class StringBoolValue : public testing::TestWithParam<BoolReading> {};

// One case per reading: a bool conversion that nothing tests ships inverted.
TEST_P(StringBoolValue, IsTrueOnlyForYTOrANonZeroDigitAfterSignAndZeros) {
  ns::AutoreleasePool pool;
  EXPECT_EQ(msg<BOOL>(text(GetParam().text), "boolValue") != NO, GetParam().value)
      << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringBoolValue,
    testing::Values(BoolReading{"YES", true}, BoolReading{"yes", true}, BoolReading{"Y", true},
                    BoolReading{"true", true}, BoolReading{"T", true}, BoolReading{"t", true},
                    BoolReading{"1", true}, BoolReading{"9", true}, BoolReading{"0001", true},
                    BoolReading{"-1", true}, BoolReading{"+2", true}, BoolReading{" \n y", true},
                    BoolReading{"NO", false}, BoolReading{"no", false}, BoolReading{"false", false},
                    BoolReading{"0", false}, BoolReading{"000", false}, BoolReading{"-0", false},
                    BoolReading{"", false}, BoolReading{"0x1", false}, BoolReading{"0.5", false},
                    BoolReading{"nope", false}));

TEST_F(StringTest, BytesConvertOnlyWhenTheEncodingHoldsThem) {
  auto from_bytes = [](const std::string& bytes, NSStringEncoding encoding) {
    id made = msg<id>(msg<id>(objc_getClass("NSString"), "alloc"),
                      "initWithBytes:length:encoding:", static_cast<const void*>(bytes.data()),
                      static_cast<unsigned long>(bytes.size()), encoding);
    return ns::autorelease(made);
  };
  EXPECT_EQ(from_bytes("\xC3\x28", NSUTF8StringEncoding), nil);      // invalid UTF-8
  EXPECT_EQ(from_bytes("\xED\xA0\x80", NSUTF8StringEncoding), nil);  // an encoded surrogate
  EXPECT_EQ(from_bytes("caf\xE9", NSASCIIStringEncoding), nil);
  EXPECT_EQ(utf8_of(from_bytes("caf\xE9", NSISOLatin1StringEncoding)), "caf\xC3\xA9");
  EXPECT_EQ(from_bytes(std::string("a\0b", 3), NSUTF8StringEncoding) == nil, false);
  EXPECT_EQ(msg<unsigned long>(from_bytes(std::string("a\0b", 3), NSUTF8StringEncoding), "length"),
            3u);
  EXPECT_EQ(msg<unsigned long>(
                from_bytes(std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), NSUnicodeStringEncoding),
                "length"),
            2u);
  EXPECT_EQ(from_bytes("\x3D\xD8", NSUTF16LittleEndianStringEncoding), nil);  // a lone surrogate

  id cafe = text("caf\xC3\xA9");
  EXPECT_EQ(msg<const char*>(cafe, "cStringUsingEncoding:", NSASCIIStringEncoding), nullptr);
  EXPECT_STREQ(msg<const char*>(cafe, "cStringUsingEncoding:", NSISOLatin1StringEncoding),
               "caf\xE9");
  EXPECT_STREQ(msg<const char*>(cafe, "cStringUsingEncoding:", NSUTF8StringEncoding),
               "caf\xC3\xA9");
  id made =
      ns::autorelease(msg<id>(msg<id>(objc_getClass("NSString"), "alloc"),
                              "initWithCString:encoding:", "caf\xC3\xA9", NSUTF8StringEncoding));
  EXPECT_TRUE(msg<BOOL>(made, "isEqualToString:", cafe));
  // UTF-16 round trips in both byte orders.
  for (NSStringEncoding encoding : {NSUTF16BigEndianStringEncoding,
                                    NSUTF16LittleEndianStringEncoding, NSUnicodeStringEncoding}) {
    id bytes = msg<id>(text("a\xF0\x9F\x98\x80"), "dataUsingEncoding:", encoding);
    id back = ns::autorelease(msg<id>(msg<id>(objc_getClass("NSString"), "alloc"),
                                      "initWithData:encoding:", bytes, encoding));
    EXPECT_EQ(utf8_of(back), "a\xF0\x9F\x98\x80") << encoding;
  }
}

TEST_F(StringTest, FilesReadAndWriteThroughDevicePaths) {
  device::TemporaryRoot root;
  Class string_class = objc_getClass("NSString");
  id content = text("line one\n\xF0\x9F\x98\x80 two\n");
  id path = text("/User/notes.txt");
  std::filesystem::create_directories(root.host_path() + "/var/mobile");
  id error = nil;
  ASSERT_TRUE(msg<BOOL>(content, "writeToFile:atomically:encoding:error:", path, YES,
                        NSUTF8StringEncoding, &error));
  id back = msg<id>(string_class,
                    "stringWithContentsOfFile:encoding:error:", text("/var/mobile/notes.txt"),
                    NSUTF8StringEncoding, &error);
  EXPECT_TRUE(msg<BOOL>(back, "isEqualToString:", content));
  EXPECT_EQ(error, nil);

  // Text that the encoding cannot hold is not written.
  EXPECT_FALSE(msg<BOOL>(content, "writeToFile:atomically:encoding:error:", path, YES,
                         NSASCIIStringEncoding, &error));
  EXPECT_EQ(msg<long>(error, "code"), NSFileWriteInapplicableStringEncodingError);

  // A missing file and bytes that are not UTF-8 read as nil, with the reason.
  std::vector<std::pair<std::string, long>> failures = {
      {"/var/mobile/none.txt", NSFileReadNoSuchFileError},
      {"/var/mobile/latin1.txt", NSFileReadInapplicableStringEncodingError}};
  ASSERT_TRUE(msg<BOOL>(text("caf\xC3\xA9"),
                        "writeToFile:atomically:encoding:error:", text("/var/mobile/latin1.txt"),
                        NO, NSISOLatin1StringEncoding, static_cast<id*>(nullptr)));
  for (const auto& [file, code] : failures) {
    error = nil;
    EXPECT_EQ(msg<id>(string_class, "stringWithContentsOfFile:encoding:error:", text(file.c_str()),
                      NSUTF8StringEncoding, &error),
              nil);
    EXPECT_EQ(msg<long>(error, "code"), code) << file;
    // The error out-parameter may be absent.
    EXPECT_EQ(msg<id>(string_class, "stringWithContentsOfFile:encoding:error:", text(file.c_str()),
                      NSUTF8StringEncoding, static_cast<id*>(nullptr)),
              nil);
  }
}

TEST_F(StringTest, PathTextsFollowThePlatformsRules) {
  struct Case {
    const char* path;
    const char* last;
    const char* parent;
    const char* extension;
    const char* without_extension;
  };
  for (const Case& c : {Case{"/tmp/scratch.tiff", "scratch.tiff", "/tmp", "tiff", "/tmp/scratch"},
                        Case{"/tmp/lock/", "lock", "/tmp", "", "/tmp/lock"},
                        Case{"/tmp", "tmp", "/", "", "/tmp"}, Case{"/", "/", "/", "", "/"},
                        Case{"scratch.tar.gz", "scratch.tar.gz", "", "gz", "scratch.tar"},
                        Case{"/a/.hidden", ".hidden", "/a", "", "/a/.hidden"},
                        Case{"/a.b/c", "c", "/a.b", "", "/a.b/c"}}) {
    id path = text(c.path);
    EXPECT_EQ(utf8_of(msg<id>(path, "lastPathComponent")), c.last) << c.path;
    EXPECT_EQ(utf8_of(msg<id>(path, "stringByDeletingLastPathComponent")), c.parent) << c.path;
    EXPECT_EQ(utf8_of(msg<id>(path, "pathExtension")), c.extension) << c.path;
    EXPECT_EQ(utf8_of(msg<id>(path, "stringByDeletingPathExtension")), c.without_extension)
        << c.path;
  }
  auto join = [](const char* a, const char* b) {
    return utf8_of(msg<id>(text(a), "stringByAppendingPathComponent:", text(b)));
  };
  EXPECT_EQ(join("/tmp", "x.plist"), "/tmp/x.plist");
  EXPECT_EQ(join("/tmp/", "/x"), "/tmp/x");
  EXPECT_EQ(join("/", "x"), "/x");
  EXPECT_EQ(join("", "x"), "x");
  EXPECT_EQ(utf8_of(msg<id>(text("Root"), "stringByAppendingPathExtension:", text("plist"))),
            "Root.plist");
}

TEST_F(StringTest, RuntimeNamesConvertBothWays) {
  EXPECT_EQ(utf8_of(NSStringFromClass(objc_getClass("NSMutableString"))), "NSMutableString");
  EXPECT_EQ(NSStringFromClass(Nil), nil);
  EXPECT_EQ(NSClassFromString(text("NSScanner")), objc_getClass("NSScanner"));
  EXPECT_EQ(NSClassFromString(text("NoSuchClassHere")), Nil);
  EXPECT_EQ(NSSelectorFromString(text("length")), objc::sel("length"));
  EXPECT_EQ(utf8_of(NSStringFromSelector(objc::sel("setObject:forKey:"))), "setObject:forKey:");
}

}  // namespace
