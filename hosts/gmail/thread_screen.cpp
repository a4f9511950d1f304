#include "hosts/gmail/thread_screen.h"

#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

constexpr double kSubjectHeight = 88;

Ref make_web_view(MailWebView kind, CGRect frame) {
  if (kind == MailWebView::kUIWebView) {
    return Ref::adopt(
        msg<id>(msg<id>(objc_getClass("UIWebView"), "alloc"), "initWithFrame:", frame));
  }
  Ref configuration = Ref::adopt(msg<id>(objc_getClass("WKWebViewConfiguration"), "new"));
  return Ref::adopt(msg<id>(msg<id>(objc_getClass("WKWebView"), "alloc"),
                            "initWithFrame:configuration:", frame, configuration.get()));
}

void load(id web_view, id html) {
  if (msg<BOOL>(web_view, "isKindOfClass:", objc_getClass("WKWebView"))) {
    msg<id>(web_view, "loadHTMLString:baseURL:", html, nil);
  } else {
    msg<void>(web_view, "loadHTMLString:baseURL:", html, nil);
  }
}

}  // namespace

ThreadScreen open_thread(id window, std::string_view html, MailWebView kind, double width) {
  ns::AutoreleasePool pool;
  ThreadScreen screen;
  screen.controller = Ref::adopt(msg<id>(objc_getClass("ThreadViewController"), "new"));
  const double height = msg<CGRect>(window, "frame").size.height;
  id root = msg<id>(screen.controller, "view");
  msg<void>(root, "setFrame:", CGRectMake(0, 0, width, height));
  msg<void>(root, "setBackgroundColor:", msg<id>(objc_getClass("UIColor"), "whiteColor"));
  Ref body = make_web_view(kind, CGRectMake(0, kSubjectHeight, width, height - kSubjectHeight));
  msg<void>(root, "addSubview:", body.get());
  load(body, ns::string(html));
  msg<void>(window, "setRootViewController:", screen.controller.get());
  screen.body = body;
  return screen;
}

}  // namespace host
