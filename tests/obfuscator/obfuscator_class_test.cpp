// The Obfuscator class as the runtime sees it: every operation reached by a
// plain send with fixed argument types, as the console reaches it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "obfuscator/masking.h"
#include "obfuscator/obfuscator.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace {

using objc::msg;
using objc::Ref;

class ObfuscatorClass : public ::testing::Test {
 protected:
  void SetUp() override { obfuscator::register_obfuscator_class(); }
  static Class cls() { return objc_getClass("Obfuscator"); }
  static std::string key_of(id object) { return ns::utf8(msg<id>(object, "salt")); }
  static Class nsclass(const char* name) { return objc_getClass(name); }

  ns::AutoreleasePool pool_;
};

TEST_F(ObfuscatorClass, ConstructorsKeyTheObjectWithTheSaltTextsDigest) {
  struct Case {
    Ref object;
    std::string salt_text;
  };
  const Case cases[] = {
      {Ref::adopt(msg<id>(cls(), "newWithSaltUnsafe:", ns::string("pepper"))), "pepper"},
      {Ref::adopt(msg<id>(cls(), "newWithSaltUnsafe:", ns::string(""))), ""},
      // An absent salt text counts as no bytes.
      {Ref::adopt(msg<id>(cls(), "newWithSaltUnsafe:", nil)), ""},
      {Ref::adopt(msg<id>(cls(), "newWithSalt:", nsclass("NSString"))), "NSString"},
      {Ref::adopt(msg<id>(cls(), "newWithSalt:", static_cast<Class>(Nil))), ""},
      {Ref::adopt(obfuscator::new_with_salt({nsclass("NSObject"), nsclass("NSString")})),
       "NSObjectNSString"},
      // The first absent entry ends the list, whatever follows it.
      {Ref::adopt(obfuscator::new_with_salt({nsclass("NSObject"), Nil, nsclass("NSString")})),
       "NSObject"},
      {Ref::adopt(obfuscator::new_with_salt({Nil, nsclass("NSString")})), ""},
      {Ref::adopt(obfuscator::new_with_salt({})), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(msg<unsigned long>(c.object, "retainCount"), 1u) << c.salt_text;
    EXPECT_EQ(key_of(c.object), obfuscator::sha1_hex(c.salt_text)) << c.salt_text;
  }
}

TEST_F(ObfuscatorClass, RevealUsesTheKeyOfTheMomentAndNeedsOne) {
  Ref keyed = Ref::adopt(obfuscator::new_with_salt({nsclass("NSObject"), nsclass("NSString")}));
  const std::string text = "A text longer than forty bytes, so that the key comes round again.";
  const std::string masked = obfuscator::apply_key(text, obfuscator::sha1_hex("NSObjectNSString"));
  EXPECT_EQ(ns::utf8(msg<id>(keyed, "reveal:", masked.c_str())), text);
  id empty = msg<id>(keyed, "reveal:", "");
  ASSERT_TRUE(ns::is_string(empty));
  EXPECT_EQ(ns::utf8(empty), "");

  Ref object = Ref::adopt(msg<id>(cls(), "new"));
  // An object made without a constructor has no key and reveals nothing;
  // neither does an empty key.
  EXPECT_EQ(msg<id>(object, "salt"), nil);
  EXPECT_EQ(msg<id>(object, "reveal:", "abc"), nil);
  msg<void>(object, "setSalt:", ns::string(""));
  EXPECT_EQ(msg<id>(object, "reveal:", "abc"), nil);
  // setSalt: replaces the key; the next reveal: uses the new one.
  msg<void>(object, "setSalt:", ns::string("k"));
  EXPECT_EQ(ns::utf8(msg<id>(object, "reveal:", obfuscator::apply_key("hi", "k").c_str())), "hi");
  // Bytes that do not reveal to UTF-8 give nothing.
  EXPECT_EQ(msg<id>(object, "reveal:", obfuscator::apply_key("\xC3(", "k").c_str()), nil);
}

TEST_F(ObfuscatorClass, SaltStoreFindsNothingUntilStoredAndKeepsTheLatestSalt) {
  id name = ns::string("storeKey");
  const std::string masked = obfuscator::apply_key("hidden", obfuscator::sha1_hex("NSString"));
  EXPECT_EQ(msg<id>(cls(), "newUsingStoredSalt:", name), nil);
  EXPECT_EQ(msg<id>(cls(), "reveal:UsingStoredSalt:", masked.c_str(), name), nil);

  msg<void>(cls(), "storeKey:forSalt:", name, nsclass("NSObject"));
  msg<void>(cls(), "storeKey:forSalt:", name, nsclass("NSString"));
  Ref object = Ref::adopt(msg<id>(cls(), "newUsingStoredSalt:", name));
  EXPECT_EQ(key_of(object), obfuscator::sha1_hex("NSString"));
  EXPECT_EQ(ns::utf8(msg<id>(cls(), "reveal:UsingStoredSalt:", masked.c_str(), name)), "hidden");

  obfuscator::store_key_for_salt(name, {nsclass("NSObject"), nsclass("NSString")});
  object = Ref::adopt(msg<id>(cls(), "newUsingStoredSalt:", name));
  EXPECT_EQ(key_of(object), obfuscator::sha1_hex("NSObjectNSString"));
  // An absent first class stores the empty salt text.
  msg<void>(cls(), "storeKey:forSalt:", name, static_cast<Class>(Nil));
  object = Ref::adopt(msg<id>(cls(), "newUsingStoredSalt:", name));
  EXPECT_EQ(key_of(object), obfuscator::sha1_hex(""));
  // Names are compared as texts; other names stay unknown.
  object = Ref::adopt(msg<id>(cls(), "newUsingStoredSalt:", ns::string("storeKey")));
  EXPECT_NE(object.get(), nil);
  EXPECT_EQ(msg<id>(cls(), "newUsingStoredSalt:", ns::string("StoreKey")), nil);
  EXPECT_EQ(msg<id>(cls(), "newUsingStoredSalt:", nil), nil);
}

TEST_F(ObfuscatorClass, ConvertsBetweenTextsAndEightBitCStrings) {
  Ref object = Ref::adopt(msg<id>(cls(), "new"));
  EXPECT_EQ(ns::characters(msg<id>(object, "CStringToNSString:", "A\xE9\xFF")), u"A\u00E9\u00FF");
  EXPECT_EQ(ns::utf8(msg<id>(object, "CStringToNSString:", "ab\0cd")), "ab");
  // A character above U+00FF keeps only its low byte.
  char* bytes = msg<char*>(object, "convertNSStringtoCString:", ns::string(u"A\u00E9\u20AC"));
  EXPECT_EQ(std::string(bytes, 4), std::string("A\xE9\xAC\0", 4));
  std::free(bytes);
  bytes = msg<char*>(object, "convertNSStringtoCString:", nil);
  EXPECT_EQ(bytes[0], '\0');
  std::free(bytes);
}

TEST_F(ObfuscatorClass, EntryPointsThatProduceNothingReportAsSpecifiedAtOnce) {
  Ref object = Ref::adopt(msg<id>(cls(), "new"));
  for (const char* text : {"", "secret"}) {
    EXPECT_EQ(msg<id>(object, "hexByObfuscatingString:", ns::string(text)), nil);
    EXPECT_EQ(msg<id>(object, "hexByObfuscatingString:silence:", ns::string(text), YES), nil);
  }
  id successful = ns::string("untouched");
  id unsuccessful = nil;
  EXPECT_EQ(msg<BOOL>(cls(), "generateCodeWithSalt:WithStrings:", nil, nil), YES);
  EXPECT_EQ(msg<BOOL>(cls(), "generateCodeWithSaltUnsafe:WithStrings:", ns::string("s"), nil), YES);
  EXPECT_EQ(
      msg<BOOL>(cls(), "generateCodeWithSaltUnsafe:WithStrings:silence:successfulP:unsuccessfulP:",
                ns::string("s"), nil, NO, &successful, &unsuccessful),
      YES);
  EXPECT_EQ(ns::utf8(successful), "untouched");
  EXPECT_EQ(unsuccessful, nil);
}

TEST_F(ObfuscatorClass, PrintsArrayLinesNamedKeyUnlessNamed) {
  EXPECT_EQ(ns::utf8(msg<id>(cls(), "printHex:", ns::string("Hi"))),
            "const unsigned char _key[] = { 0x48, 0x69, 0x00 };");
  EXPECT_EQ(ns::utf8(msg<id>(cls(), "printHex:WithKey:", ns::string(""), ns::string("e"))),
            "const unsigned char _e[] = { 0x00 };");
}

TEST_F(ObfuscatorClass, SaltReadersGetAWholeKeyWhileAnotherThreadSetsIt) {
  Ref object = Ref::adopt(msg<id>(cls(), "new"));
  const std::string first = obfuscator::sha1_hex("a");
  const std::string second = obfuscator::sha1_hex("b");
  msg<void>(object, "setSalt:", ns::string(first));
  std::thread writer([&] {
    for (int i = 0; i < 500; ++i) {
      ns::AutoreleasePool pool;
      msg<void>(object, "setSalt:", ns::string(i % 2 ? first : second));
    }
  });
  for (int i = 0; i < 500; ++i) {
    ns::AutoreleasePool pool;
    const std::string key = key_of(object);
    ASSERT_TRUE(key == first || key == second) << key;
  }
  writer.join();
}

}  // namespace
