// URLs and their percent encoding: which texts make a URL and what their
// scheme is, and the encoding a URL query allows, byte for byte as
// Foundation gives it.
#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/foundation.h"

namespace {

using objc::msg;

id url(const std::u16string& text) {
  return msg<id>(objc_getClass("NSURL"), "URLWithString:", ns::string(text));
}

struct UrlCase {
  std::u16string text;
  bool valid;
  const char* scheme;  // nullptr: none
};

TEST(Url, OnlyTextsAUrlCanHoldMakeOneAndTheSchemeIsTheirFirstPart) {
  ns::AutoreleasePool pool;
  const UrlCase cases[] = {
      {u"https://repo.kestrow.com/package/com.kestrow.tenebra", true, "https"},
      {u"tweetbot:///user_profile/kestrowmobile", true, "tweetbot"},
      {u"twitter://user?screen_name=kestrowmobile", true, "twitter"},
      {u"mailto:a@b.c?subject=Tenebra%20Support&body=", true, "mailto"},
      {u"tweetbot:", true, "tweetbot"},
      {u"TwitterRific:", true, "TwitterRific"},
      {u"a+b-c.d:x", true, "a+b-c.d"},
      {u"path/with:colon", true, nullptr},  // a '/' comes first: a relative path
      {u"1abc:x", true, nullptr},           // a scheme starts with a letter
      {u"page#part", true, nullptr},
      {u"[::1]", true, nullptr},
      {u"", false, nullptr},
      {u"http://a b", false, nullptr},
      {u"http://a/\u00e9", false, nullptr},
      {u"http://a/%zz", false, nullptr},
      {u"http://a/%4", false, nullptr},
      {u"http://a/#one#two", false, nullptr},
      {u"http://a/\"q\"", false, nullptr},
      {u"http://a/<b>", false, nullptr},
      {u"http://a/{b}|\\^`", false, nullptr},
      {u"http://a/\t", false, nullptr},
  };
  for (const UrlCase& c : cases) {
    const std::string shown = ns::utf8(ns::string(c.text));
    id made = url(c.text);
    ASSERT_EQ(made != nil, c.valid) << shown;
    if (!c.valid) continue;
    EXPECT_EQ(ns::utf8(msg<id>(made, "absoluteString")), shown);
    id scheme = msg<id>(made, "scheme");
    EXPECT_EQ(scheme == nil, c.scheme == nullptr) << shown;
    if (c.scheme != nullptr) {
      EXPECT_EQ(ns::utf8(scheme), c.scheme);
    }
  }
  EXPECT_EQ(msg<id>(objc_getClass("NSURL"), "URLWithString:", nullptr), nil);
  EXPECT_TRUE(msg<BOOL>(url(u"x:y"), "isEqual:", url(u"x:y")));
}

TEST(Url, QueryEncodingKeepsTheQueryCharactersAndEncodesEachUtf8ByteInUpperCaseHex) {
  ns::AutoreleasePool pool;
  id allowed = msg<id>(objc_getClass("NSCharacterSet"), "URLQueryAllowedCharacterSet");
  const std::pair<std::u16string, const char*> cases[] = {
      {u"mailto:support@kestrow.com?subject=Tenebra Support&body=",
       "mailto:support@kestrow.com?subject=Tenebra%20Support&body="},
      {u"azAZ09-._~!$&'()*+,;=:@/?", "azAZ09-._~!$&'()*+,;=:@/?"},
      {u"100% #1 \"q\" <a> [b] {c} |\\^`",
       "100%25%20%231%20%22q%22%20%3Ca%3E%20%5Bb%5D%20%7Bc%7D%20%7C%5C%5E%60"},
      {u"\u00e9\u00ff", "%C3%A9%C3%BF"},
      {u"\u20ac", "%E2%82%AC"},
      {u"\U0001F600", "%F0%9F%98%80"},
      {u"\t\n\x7f", "%09%0A%7F"},
      {u"", ""},
  };
  for (const auto& [text, expected] : cases) {
    id encoded =
        msg<id>(ns::string(text), "stringByAddingPercentEncodingWithAllowedCharacters:", allowed);
    EXPECT_EQ(ns::utf8(encoded), expected);
  }
  // An unpaired surrogate has no UTF-8 form.
  const std::u16string lone{u'a', char16_t(0xD800), u'b'};
  EXPECT_EQ(
      msg<id>(ns::string(lone), "stringByAddingPercentEncodingWithAllowedCharacters:", allowed),
      nil);
  // A set made from a text keeps exactly its characters, astral ones too.
  id own = msg<id>(objc_getClass("NSCharacterSet"),
                   "characterSetWithCharactersInString:", ns::string(u"a\U0001F600"));
  EXPECT_EQ(ns::utf8(msg<id>(ns::string(u"ab\U0001F600"),
                             "stringByAddingPercentEncodingWithAllowedCharacters:", own)),
            "a%62\U0001F600");
  EXPECT_TRUE(msg<BOOL>(allowed, "characterIsMember:", static_cast<unsigned short>('?')));
  EXPECT_FALSE(msg<BOOL>(allowed, "characterIsMember:", static_cast<unsigned short>('#')));
}

}  // namespace
