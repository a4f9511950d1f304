// The WebKit stand-ins: what the web views keep of the pages they are given,
// and how a WKWebView's configuration carries user scripts.
#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "platform/uikit/ui_color.h"
#include "platform/webkit/webkit.h"

namespace {

using objc::msg;
using objc::Ref;

Ref make(const char* class_name) { return Ref::adopt(msg<id>(objc_getClass(class_name), "new")); }
unsigned long count_of(id array) { return msg<unsigned long>(array, "count"); }

template <typename Fn>
std::string raised(Fn&& fn) {
  try {
    fn();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object());
  }
  return "";
}

Ref user_script(id source, long time, BOOL main_frame_only) {
  return Ref::adopt(msg<id>(msg<id>(objc_getClass("WKUserScript"), "alloc"),
                            "initWithSource:injectionTime:forMainFrameOnly:", source, time,
                            main_frame_only));
}

// UIWebView's load answers nothing, WKWebView's a navigation.
void load(id view, id html, id base) {
  if (msg<BOOL>(view, "isKindOfClass:", objc_getClass("WKWebView"))) {
    msg<id>(view, "loadHTMLString:baseURL:", html, base);
  } else {
    msg<void>(view, "loadHTMLString:baseURL:", html, base);
  }
}

class WebViews : public ::testing::Test {
 protected:
  ns::AutoreleasePool pool_;
};

TEST_F(WebViews, EachWebViewKeepsThePageItWasLastGiven) {
  for (const char* kind : {"UIWebView", "WKWebView"}) {
    SCOPED_TRACE(kind);
    Ref view = make(kind);
    // An empty web view holds no page and shows the white of an empty page.
    EXPECT_EQ(msg<id>(view, "loadedHTMLString"), nil);
    EXPECT_EQ(ui::color_value(msg<id>(view, "backgroundColor")),
              ui::color_value(msg<id>(objc_getClass("UIColor"), "whiteColor")));

    id base = ns::string("https://mail.example/");
    id mutable_html = msg<id>(ns::string("<p>one</p>"), "mutableCopy");
    load(view, mutable_html, base);
    msg<void>(mutable_html, "setString:", ns::string("changed later"));
    msg<void>(mutable_html, "release");
    // The page is the text as it was given, and the base URL the very object.
    EXPECT_EQ(ns::utf8(msg<id>(view, "loadedHTMLString")), "<p>one</p>");
    EXPECT_EQ(msg<id>(view, "loadedBaseURL"), base);

    // Absent HTML and base URL replace the earlier page.
    load(view, nil, nil);
    EXPECT_EQ(msg<id>(view, "loadedHTMLString"), nil);
    EXPECT_EQ(msg<id>(view, "loadedBaseURL"), nil);

    id red = msg<id>(objc_getClass("UIColor"), "redColor");
    msg<void>(view, "setBackgroundColor:", red);
    EXPECT_EQ(msg<id>(view, "backgroundColor"), red);
  }
}

TEST_F(WebViews, UserScriptsKeepSourceTimeAndFrameFlag) {
  id text = msg<id>(ns::string("run();"), "mutableCopy");
  Ref script = user_script(text, webkit::kInjectionAtDocumentEnd, YES);
  msg<void>(text, "setString:", ns::string("other();"));
  msg<void>(text, "release");
  EXPECT_EQ(ns::utf8(msg<id>(script, "source")), "run();");
  EXPECT_EQ(msg<long>(script, "injectionTime"), webkit::kInjectionAtDocumentEnd);
  EXPECT_TRUE(msg<BOOL>(script, "isForMainFrameOnly"));

  // An absent source raises (and the instance made by alloc is given back).
  EXPECT_EQ(raised([] { user_script(nil, webkit::kInjectionAtDocumentStart, NO); }),
            "NSInvalidArgumentException");

  Ref controller = make("WKUserContentController");
  id before = msg<id>(controller, "userScripts");
  msg<void>(controller, "addUserScript:", script.get());
  msg<void>(controller, "addUserScript:", script.get());
  // The same script twice is kept twice; an earlier answer does not change.
  EXPECT_EQ(count_of(before), 0u);
  EXPECT_EQ(count_of(msg<id>(controller, "userScripts")), 2u);
  EXPECT_EQ(raised([&] { msg<void>(controller, "addUserScript:", nil); }),
            "NSInvalidArgumentException");
  EXPECT_EQ(raised([&] { msg<void>(controller, "addUserScript:", ns::string("x")); }),
            "NSInvalidArgumentException");
  msg<void>(controller, "removeAllUserScripts");
  EXPECT_EQ(count_of(msg<id>(controller, "userScripts")), 0u);
}

TEST_F(WebViews, WebViewSharesTheUserContentControllerOfItsConfiguration) {
  Ref configuration = make("WKWebViewConfiguration");
  id controller = msg<id>(configuration, "userContentController");
  ASSERT_NE(controller, nil);
  Ref view = Ref::adopt(msg<id>(msg<id>(objc_getClass("WKWebView"), "alloc"),
                                "initWithFrame:configuration:", CGRectMake(0, 0, 320, 480),
                                configuration.get()));
  EXPECT_EQ(msg<CGRect>(view, "frame"), CGRectMake(0, 0, 320, 480));
  // The web view keeps a copy of the configuration, as WebKit does, but a
  // script added to the app's controller later still reaches its pages.
  id kept = msg<id>(view, "configuration");
  EXPECT_NE(kept, configuration.get());
  EXPECT_EQ(msg<id>(kept, "userContentController"), controller);
  msg<void>(controller, "addUserScript:",
            user_script(ns::string("late();"), webkit::kInjectionAtDocumentStart, NO).get());
  EXPECT_EQ(count_of(msg<id>(msg<id>(kept, "userContentController"), "userScripts")), 1u);

  // initWithFrame: alone makes a configuration of its own.
  Ref plain = make("WKWebView");
  EXPECT_NE(msg<id>(msg<id>(plain, "configuration"), "userContentController"), nil);
}

TEST_F(WebViews, AbsentConfigurationRaisesBeforeTheWebViewChanges) {
  id view = msg<id>(objc_getClass("WKWebView"), "alloc");
  for (id wrong : {id{nil}, ns::string("not a configuration")}) {
    EXPECT_EQ(raised([&] {
                msg<id>(view, "initWithFrame:configuration:", CGRectMake(1, 2, 3, 4), wrong);
              }),
              "NSInvalidArgumentException");
    EXPECT_EQ(msg<id>(view, "configuration"), nil);
  }
  // The same instance is initialised by a second call, and a third one on
  // an initialised view replaces its configuration without leaking.
  Ref configuration = make("WKWebViewConfiguration");
  for (int call = 0; call < 2; ++call) {
    ASSERT_EQ(msg<id>(view, "initWithFrame:configuration:", CGRectMake(1, 2, 3, 4),
                      configuration.get()),
              view);
  }
  EXPECT_EQ(msg<id>(msg<id>(view, "configuration"), "userContentController"),
            msg<id>(configuration, "userContentController"));
  EXPECT_EQ(msg<CGRect>(view, "frame"), CGRectMake(1, 2, 3, 4));
  msg<void>(view, "release");
}

}  // namespace
