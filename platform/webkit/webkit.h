// WebKit and the older UIWebView, as far as the app and the theme use them:
// web views that keep the page they were last given, and the configuration
// of a WKWebView with the user scripts it runs in its pages. This model runs
// no page itself; what a web view holds is rendered by a browser elsewhere
// (the `tenebra mail` command), so every getter here answers exactly what
// the app handed in.
#pragma once

namespace webkit {

// WKUserScriptInjectionTime.
inline constexpr long kInjectionAtDocumentStart = 0;
inline constexpr long kInjectionAtDocumentEnd = 1;

// Defines WKUserScript, WKUserContentController, WKWebViewConfiguration,
// UIWebView and WKWebView; called once at platform start, after UIKit.
void define_webkit_classes();

}  // namespace webkit
