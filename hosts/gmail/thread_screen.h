// A thread as the app shows it: a ThreadViewController whose view holds the
// message's body in a web view, given the mail as HTML text through
// loadHTMLString:baseURL:. The app uses a UIWebView, or a WKWebView created
// with a configuration of its own; both pass through whatever the loaded
// tweaks replaced.
#pragma once

#include <string_view>

#include "platform/objc/ref.h"

namespace host {

enum class MailWebView { kUIWebView, kWKWebView };

struct ThreadScreen {
  objc::Ref controller;  // the ThreadViewController
  id body = nil;         // its web view, owned by the controller's view
};

// Builds the thread screen `width` points wide, makes it the root of
// `window`, and loads `html` (UTF-8) into its body. Absent base URL, as the
// app gives mail bodies.
ThreadScreen open_thread(id window, std::string_view html, MailWebView kind, double width = 375);

}  // namespace host
