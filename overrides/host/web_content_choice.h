// What the web view rules decide, as pure functions of the settings: whether
// a page gets the mail-content script, and which background a web view
// reports. The script follows both `enabled` and `colorEmail`; the
// backgrounds follow `enabled` alone.
#pragma once

namespace tenebra {

enum class WebViewKind { kUIWebView, kWKWebView };

enum class WebBackground {
  kSaved,          // what the web view itself answers
  kPlatformBlack,  // UIColor's blackColor, a grey colour
  kBgColor,        // the palette's black, an RGB colour
};

constexpr bool places_mail_script(bool enabled, bool color_email) {
  return enabled && color_email;
}

constexpr WebBackground choose_web_background(WebViewKind kind, bool enabled) {
  if (!enabled) return WebBackground::kSaved;
  return kind == WebViewKind::kUIWebView ? WebBackground::kPlatformBlack : WebBackground::kBgColor;
}

}  // namespace tenebra
