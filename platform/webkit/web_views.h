// The two web views: UIWebView, which takes a page as HTML text, and
// WKWebView, which also runs the user scripts of the configuration it was
// created with. Each keeps the HTML text and base URL it was last given,
// readable as `loadedHTMLString` and `loadedBaseURL`, so that what the page
// received can be read back and rendered. Until the app sets a background, a
// web view answers white, the colour of an empty page.
//
// WKWebView's initialiser raises NSInvalidArgumentException for an absent
// configuration, as WebKit does; it checks before it changes anything, so
// the instance can be initialised again after it raised.
#pragma once

namespace webkit {

void define_web_view_classes();

}  // namespace webkit
