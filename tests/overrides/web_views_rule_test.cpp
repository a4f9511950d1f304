// The web view rules and Helper wired into the runtime: what pages and
// configurations the web views end up with, whatever state the script file
// is in, and the colours they report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/mail_script.h"
#include "overrides/host/web_content_choice.h"
#include "overrides/host/web_views.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "toolkit/color/platform_color.h"
#include "platform/webkit/webkit.h"
#include "tools/support/themed_process.h"
#include "toolkit/color/color.h"
#include "toolkit/color/platform_color.h"

namespace tenebra {
namespace {

namespace fs = std::filesystem;
using objc::msg;
using objc::Ref;

// A script as the rules must treat it: "%" signs, a format's own
// placeholders and a "<head>" of its own, none of which may be expanded.
constexpr const char* kScript = "var w='100%';/* %@ %d %s */ document.write('<head>');";

TEST(WebContentChoice, ScriptFollowsBothSwitchesAndBackgroundsFollowEnabledAlone) {
  struct Row {
    bool enabled, color_email, script;
    WebBackground ui, wk;
  };
  const Row rows[] = {
      {true, true, true, WebBackground::kPlatformBlack, WebBackground::kBgColor},
      {true, false, false, WebBackground::kPlatformBlack, WebBackground::kBgColor},
      {false, true, false, WebBackground::kSaved, WebBackground::kSaved},
      {false, false, false, WebBackground::kSaved, WebBackground::kSaved},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(places_mail_script(row.enabled, row.color_email), row.script);
    EXPECT_EQ(choose_web_background(WebViewKind::kUIWebView, row.enabled), row.ui);
    EXPECT_EQ(choose_web_background(WebViewKind::kWKWebView, row.enabled), row.wk);
  }
}

class WebViewRules : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::bring_up_theme(); }
  void SetUp() override { write_script(kScript); }
  void TearDown() override {
    settings = default_settings();
    fs::remove_all(bundle());
  }

  static fs::path bundle() { return device::resolve(kScriptBundlePath); }
  static fs::path script_file() { return bundle() / "tenebra.min.js"; }
  static void write_script(const std::string& bytes) {
    fs::remove_all(bundle());
    fs::create_directories(bundle());
    std::ofstream(script_file(), std::ios::binary) << bytes;
  }
  static id get_script() { return msg<id>(objc_getClass("Helper"), "getScript"); }

  // The page a new UIWebView holds after the app loads `html` into it.
  std::string loaded_page(id html, id base = nil) {
    Ref view = Ref::adopt(msg<id>(objc_getClass("UIWebView"), "new"));
    msg<void>(view, "loadHTMLString:baseURL:", html, base);
    last_base_ = msg<id>(view, "loadedBaseURL");
    id page = msg<id>(view, "loadedHTMLString");
    return page == nil ? "(absent)" : ns::utf8(page);
  }
  std::string loaded_page(const std::string& html) { return loaded_page(ns::string(html)); }

  // A WKWebView as the app creates it, with `configuration` (may be nil).
  static Ref create(id configuration, CGRect frame = CGRectMake(0, 0, 375, 600)) {
    return Ref::adopt(msg<id>(msg<id>(objc_getClass("WKWebView"), "alloc"),
                              "initWithFrame:configuration:", frame, configuration));
  }
  static id scripts_of(id web_view) {
    return msg<id>(msg<id>(msg<id>(web_view, "configuration"), "userContentController"),
                   "userScripts");
  }
  static unsigned long count_of(id array) { return msg<unsigned long>(array, "count"); }

  ns::AutoreleasePool pool_;
  id last_base_ = nil;
};

// The literal replacement the Part describes, written plainly: an oracle.
std::string with_script_after_heads(const std::string& html, const std::string& script) {
  const std::string replacement = "<head><script>" + script + "</script>";
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = html.find("<head>", from)) != std::string::npos; from = at + 6) {
    out += html.substr(from, at - from) + replacement;
  }
  return out + html.substr(from);
}

TEST_F(WebViewRules, GetScriptReadsTheFileAfreshAndAnswersNilWhenItCannot) {
  ns::LogCapture log;
  EXPECT_EQ(ns::utf8(get_script()), kScript);
  write_script("changed();");
  EXPECT_EQ(ns::utf8(get_script()), "changed();");
  write_script("");
  EXPECT_EQ(ns::utf8(get_script()), "");
  EXPECT_NE(get_script(), nil);

  write_script("bad \xC3\x28 utf8");
  EXPECT_EQ(get_script(), nil) << "bytes that are not UTF-8";
  fs::remove(script_file());
  EXPECT_EQ(get_script(), nil) << "no resource";
  fs::create_directories(script_file());
  EXPECT_EQ(get_script(), nil) << "the resource is a directory";
  fs::remove_all(bundle());
  EXPECT_EQ(get_script(), nil) << "no bundle";
  EXPECT_TRUE(log.messages().empty());
}

TEST_F(WebViewRules, PageLoadPutsTheScriptAfterEveryLiteralHeadMarker) {
  const std::string pages[] = {
      "<html><head><title>T</title></head><body>x</body></html>",
      "<html><head></head><head></head><body></body></html>",
      "<head><head>",
      "<head>",
      "no head at all",
      "<HTML><HEAD><TITLE>upper</TITLE></HEAD></HTML>",
      "<html><head lang=\"en\"><title>attributes</title></head></html>",
      "<hea d><<head>>head>",
      "",
      "<html><head>\xE2\x82\xAC \xF0\x9F\x98\x80 %@ %d</head></html>",
  };
  for (const std::string& page : pages) {
    SCOPED_TRACE(page);
    EXPECT_EQ(loaded_page(page), with_script_after_heads(page, kScript));
  }
  // The script stands directly after the head tag, before the title.
  EXPECT_EQ(loaded_page(pages[0]),
            std::string("<html><head><script>") + kScript +
                "</script><title>T</title></head><body>x</body></html>");

  // Several megabytes, and thousands of markers, each get it in one pass.
  const std::string big = "<head>" + std::string(4 << 20, 'x');
  EXPECT_EQ(loaded_page(big).size(), big.size() + std::string(kScript).size() + 17);
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "<p><head>";
  EXPECT_EQ(loaded_page(many), with_script_after_heads(many, kScript));
}

TEST_F(WebViewRules, PageLoadPassesThroughUnlessThemeAndMailSwitchAreOn) {
  const std::string page = "<html><head></head></html>";
  for (auto [enabled, color_email] : {std::pair{1, 0}, std::pair{0, 1}, std::pair{0, 0}}) {
    settings.enabled = static_cast<unsigned char>(enabled);
    settings.colorEmail = static_cast<unsigned char>(color_email);
    EXPECT_EQ(loaded_page(page), page);
  }
}

TEST_F(WebViewRules, PageLoadCarriesAbsentValuesAndAnAbsentScriptThrough) {
  id base = ns::string("https://mail.example/");
  EXPECT_EQ(loaded_page(nil, base), "(absent)");
  EXPECT_EQ(last_base_, base);
  loaded_page(ns::string("<head>"), nil);
  EXPECT_EQ(last_base_, nil);

  // Without its script the page holds a script element that does nothing.
  fs::remove_all(bundle());
  EXPECT_EQ(loaded_page("<head><title>T</title>"), "<head><script>(null)</script><title>T</title>");
}

TEST_F(WebViewRules, CreationAddsTheUserScriptToTheConfigurationItIsGiven) {
  Ref configuration = Ref::adopt(msg<id>(objc_getClass("WKWebViewConfiguration"), "new"));
  Ref first = create(configuration, CGRectMake(5, 6, 7, 8));
  EXPECT_EQ(msg<CGRect>(first, "frame"), CGRectMake(5, 6, 7, 8));
  id scripts = msg<id>(msg<id>(configuration, "userContentController"), "userScripts");
  ASSERT_EQ(count_of(scripts), 1u);
  id script = msg<id>(scripts, "objectAtIndex:", 0UL);
  EXPECT_EQ(ns::utf8(msg<id>(script, "source")), kScript);
  EXPECT_EQ(msg<long>(script, "injectionTime"), webkit::kInjectionAtDocumentStart);
  EXPECT_FALSE(msg<BOOL>(script, "isForMainFrameOnly"));

  // A second web view on the same configuration adds the script again.
  Ref second = create(configuration);
  EXPECT_EQ(count_of(scripts_of(second)), 2u);

  // Without a configuration the web view gets a new one holding the script.
  EXPECT_EQ(count_of(scripts_of(create(nil))), 1u);

  // With either switch off, nothing is added.
  settings.colorEmail = 0;
  Ref untouched = Ref::adopt(msg<id>(objc_getClass("WKWebViewConfiguration"), "new"));
  create(untouched);
  settings = default_settings();
  settings.enabled = 0;
  create(untouched);
  EXPECT_EQ(count_of(msg<id>(msg<id>(untouched, "userContentController"), "userScripts")), 0u);
}

// WKUserScript as a platform that takes an absent source for an empty script.
IMP strict_user_script_init = nullptr;
id lenient_user_script_init(id self, SEL cmd, id source, long time, BOOL main_only) {
  return objc::from_imp<id(id, SEL, id, long, BOOL)>(strict_user_script_init)(
      self, cmd, source != nil ? source : ns::string(""), time, main_only);
}

TEST_F(WebViewRules, WebViewIsCreatedWithoutItsScriptFileEitherWayThePlatformGoes) {
  fs::remove_all(bundle());
  Ref given = Ref::adopt(msg<id>(objc_getClass("WKWebViewConfiguration"), "new"));
  for (id configuration : {given.get(), id{nil}}) {
    // This platform raises for an absent source: the rule logs it and goes on.
    ns::LogCapture log;
    Ref view = create(configuration);
    ASSERT_NE(view.get(), nil);
    EXPECT_NE(msg<id>(view, "configuration"), nil);
    EXPECT_EQ(count_of(scripts_of(view)), 0u);
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_EQ(log.messages()[0],
              "-----------------Exception:-[WKUserScript "
              "initWithSource:injectionTime:forMainFrameOnly:]: source must be a string");
  }

  // A platform that makes an empty script instead: created, nothing logged.
  Method init = class_getInstanceMethod(objc_getClass("WKUserScript"),
                                        objc::sel("initWithSource:injectionTime:forMainFrameOnly:"));
  strict_user_script_init =
      method_setImplementation(init, objc::to_imp(&lenient_user_script_init));
  ns::LogCapture log;
  Ref view = create(nil);
  method_setImplementation(init, strict_user_script_init);
  ASSERT_EQ(count_of(scripts_of(view)), 1u);
  EXPECT_EQ(ns::utf8(msg<id>(msg<id>(scripts_of(view), "objectAtIndex:", 0UL), "source")), "");
  EXPECT_TRUE(log.messages().empty());
}

// A saved initialiser that raises on its first call only.
int initialiser_calls = 0;
id raised_object = nil;
id raising_once(id self, SEL, CGRect, id) {
  if (initialiser_calls++ == 0) throw objc::Exception(Ref::retain(raised_object));
  return self;
}

TEST_F(WebViewRules, SavedInitialiserThatRaisesIsCalledOnceMoreOutsideTheGuard) {
  IMP* slot = saved_wk_web_view_init_with_frame.slot();
  const IMP platform_init = *slot;
  *slot = objc::to_imp(&raising_once);
  Ref exception = Ref::retain(msg<id>(objc_getClass("NSException"),
                                      "exceptionWithName:reason:userInfo:",
                                      ns::string("NSGenericException"), ns::string("busy"), nil));
  raised_object = exception;
  id raw = msg<id>(objc_getClass("WKWebView"), "alloc");
  {
    ns::LogCapture log;
    EXPECT_EQ(msg<id>(raw, "initWithFrame:configuration:", CGRectZero, nil), raw);
    EXPECT_EQ(initialiser_calls, 2);
    EXPECT_EQ(log.messages(), std::vector<std::string>{"-----------------Exception:busy"});
  }
  // An object of another class is no platform exception: it leaves the rule.
  initialiser_calls = 0;
  raised_object = ns::string("not an exception");
  bool left = false;
  try {
    msg<id>(raw, "initWithFrame:configuration:", CGRectZero, nil);
  } catch (const objc::Exception&) {
    left = true;
  }
  EXPECT_TRUE(left);
  EXPECT_EQ(initialiser_calls, 1);
  *slot = platform_init;
  msg<void>(raw, "release");
}

TEST_F(WebViewRules, BothBackgroundsAreBlackButOnlyTheWKWebViewsIsThePalettes) {
  Ref ui_view = Ref::adopt(msg<id>(objc_getClass("UIWebView"), "new"));
  Ref wk_view = create(nil);
  id black = msg<id>(objc_getClass("UIColor"), "blackColor");
  for (int color_email : {1, 0}) {
    settings.colorEmail = static_cast<unsigned char>(color_email);
    EXPECT_EQ(msg<id>(ui_view, "backgroundColor"), black);
    EXPECT_EQ(msg<id>(wk_view, "backgroundColor"), bgColor);
  }
  EXPECT_NE(black, bgColor);
  EXPECT_EQ(toolkit::color_text(*toolkit::color_of(bgColor)).view(), "#000000");
  EXPECT_NE(toolkit::color_text(*toolkit::color_of(black)).view(),
            toolkit::color_text(*toolkit::color_of(bgColor)).view());

  // With the theme off both answer what they would have: the empty page.
  settings.enabled = 0;
  id white = msg<id>(objc_getClass("UIColor"), "whiteColor");
  EXPECT_EQ(msg<id>(ui_view, "backgroundColor"), white);
  EXPECT_EQ(msg<id>(wk_view, "backgroundColor"), white);
}

}  // namespace
}  // namespace tenebra
