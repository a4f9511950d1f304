// The generator side of the Obfuscator class: the log records, class-name
// joining and arrangements, reached by plain sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "obfuscator/obfuscator.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace {

using objc::msg;

class Generator : public ::testing::Test {
 protected:
  void SetUp() override { obfuscator::register_obfuscator_class(); }
  static Class cls() { return objc_getClass("Obfuscator"); }
  static id nsclass(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }
  static id text(const char* utf8) { return ns::string(utf8); }

  ns::AutoreleasePool pool_;
};

const char* const kReport =
    "Could not obfuscate these strings:\nbad one\nNSObject\n-------------------------------";
const char* const kSource =
    "Objective-C Code:\n"
    "**********Globals.h**********\n"
    "extern const unsigned char *token;\n"
    "extern const unsigned char *key;\n"
    "\n"
    "**********Globals.m**********\n"
    "//Original: \"ab\"\n"
    "const unsigned char _token[] = { 0x3, 0x20AC, 0x00 };\n"
    "const unsigned char *token = &_token[0];\n"
    "\n"
    "//Original: \"\"\n"
    "const unsigned char _key[] = { 0x00 };\n"
    "const unsigned char *key = &_key[0];\n"
    "\n";

TEST_F(Generator, LogsTheReportAndTheSourceOnlyForNonEmptyLists) {
  id unsuccessful = ns::array({text("bad one"), nsclass("NSObject")});
  id successful = ns::array({
      ns::dictionary({{text("key"), text("token")},
                      {text("original"), text("ab")},
                      {text("obfuscated"), ns::string(u"\x03\u20AC")}}),
      // Without "key" the entry is named key; absent texts are written empty.
      ns::dictionary({}),
  });
  id empty = ns::array({});
  struct Case {
    id successful;
    id unsuccessful;
    std::vector<std::string> records;
  };
  const Case cases[] = {
      {empty, empty, {}},
      {nil, nil, {}},
      {empty, unsuccessful, {kReport}},
      {successful, empty, {kSource}},
      // With both lists the report comes first.
      {successful, unsuccessful, {kReport, kSource}},
  };
  for (const auto& c : cases) {
    ns::LogCapture capture;
    msg<void>(cls(), "logCodeWithSuccessful:unsuccessful:", c.successful, c.unsuccessful);
    EXPECT_EQ(capture.messages(), c.records);
  }
}

TEST_F(Generator, JoinsClassNamesUpToTheFirstElementThatIsNotAClass) {
  struct Case {
    id classes;
    std::string joined;
  };
  const Case cases[] = {
      {ns::array({}), ""},
      {nil, ""},
      {ns::array({nsclass("NSObject"), nsclass("NSString")}), "NSObjectNSString"},
      {ns::array({nsclass("NSString"), text("NSObject"), nsclass("NSObject")}), "NSString"},
      {msg<id>(objc_getClass("NSSet"), "setWithObject:", nsclass("NSString")), "NSString"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ns::utf8(msg<id>(cls(), "stringFromClasses:", c.classes)), c.joined);
  }
  // The same joining makes the salt text of the NSArray-form constructors.
  objc::Ref object = objc::Ref::adopt(
      msg<id>(cls(), "newWithSaltClasses:", ns::array({nsclass("NSObject"), nsclass("NSString")})));
  objc::Ref same = objc::Ref::adopt(msg<id>(cls(), "newWithSaltUnsafe:", text("NSObjectNSString")));
  EXPECT_EQ(ns::utf8(msg<id>(object, "salt")), ns::utf8(msg<id>(same, "salt")));
}

std::vector<std::string> joined_lists(id lists) {
  std::vector<std::string> joined;
  for (id list : ns::array_items(lists)) {
    std::string letters;
    for (id item : ns::array_items(list)) letters += ns::utf8(item);
    joined.push_back(letters);
  }
  return joined;
}

TEST_F(Generator, ArrangesElementsPassByPassComparingByValue) {
  using Joined = std::vector<std::string>;
  // Distinct objects with equal texts count as one value.
  struct Case {
    id input;
    Joined arrangements;
  };
  const Case cases[] = {
      {ns::array({}), {}},
      {ns::array({text("A"), text("B"), text("C")}), {"CBA", "BCA", "CAB", "ACB", "BAC", "ABC"}},
      {ns::array({text("A"), text("A")}), {}},
      {ns::array({text("A"), ns::string(std::u16string(u"A")), text("A")}), {"A", "A", "A"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joined_lists(msg<id>(cls(), "allPermutationsOfArray:", c.input)), c.arrangements);
  }
}

}  // namespace
