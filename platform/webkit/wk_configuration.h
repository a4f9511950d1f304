// What a WKWebView is configured with: user scripts (WKUserScript), the
// controller that collects them for a web view (WKUserContentController) and
// the configuration that carries that controller (WKWebViewConfiguration).
//
// A user script made from an absent source raises NSInvalidArgumentException,
// as the other texts of this platform that cannot be absent do; the
// configuration copy a web view keeps shares its controller with the
// original, so scripts added to either reach the same pages.
#pragma once

namespace webkit {

void define_configuration_classes();

}  // namespace webkit
