#include "core/hook_registry.h"

#include <array>
#include <cstring>

#include "overrides/host/image_view.h"
#include "overrides/host/view_background.h"
#include "platform/substrate/substrate.h"

namespace tenebra {
namespace {

template <typename Fn>
HookEntry hook(const char* class_name, Side side, const char* selector, Fn* rule,
               SavedImplementation<Fn>& saved) {
  return {class_name, side, selector, objc::to_imp(rule), saved.slot(),
          &SavedImplementation<Fn>::encoding};
}

// A row whose rule comes with a later part of the theme.
constexpr HookEntry pending(const char* class_name, Side side, const char* selector) {
  return {class_name, side, selector, nullptr, nullptr, nullptr};
}

constexpr Side kInstance = Side::instance;
constexpr Side kClass = Side::class_method;

const std::array<HookEntry, 52>& rows() {
  static const std::array<HookEntry, 52> table = {
      pending("_UIStatusBarImageView", kInstance, "tintColor"),
      pending("_UIStatusBarStringView", kInstance, "textColor"),
      pending("_UIStatusBarSignalView", kInstance, "activeColor"),
      pending("UIStatusBarNewUIStyleAttributes", kInstance,
              "initWithRequest:backgroundColor:foregroundColor:"),
      pending("UIStatusBarNewUIStyleAttributes", kInstance, "foregroundColor"),
      pending("SFSafariViewController", kInstance, "initWithURL:"),
      pending("GBTNavigationBar", kInstance, "setCustomBarTintColor:"),
      pending("GBTNavigationBar", kInstance, "setBarTintColor:"),
      pending("UITableViewCellSelectedBackground", kInstance, "setSelectionTintColor:"),
      pending("UIColor", kClass, "colorWithWhite:alpha:"),
      pending("ThreadCellFrontView", kClass, "backgroundForPosition:backgroundColor:"),
      pending("ThreadCellFrontView", kClass, "greySelectedBackgroundForPosition:backgroundColor:"),
      pending("ThreadCellFrontView", kClass, "highlightedBackgroundForPosition:backgroundColor:"),
      pending("NSMutableAttributedString", kInstance, "addAttribute:value:range:"),
      pending("NSMutableAttributedString", kInstance, "addAttributes:range:"),
      pending("NSMutableAttributedString", kInstance, "setAttributes:range:"),
      pending("UIPickerView", kInstance, "setBackgroundColor:"),
      pending("UIDatePickerContentView", kInstance, "titleLabel"),
      pending("UIPickerTableViewTitledCell", kInstance, "setAttributedTitle:"),
      pending("UIKBRenderConfig", kInstance, "lightKeyboard"),
      pending("DevicePINKeypad", kInstance, "initWithFrame:"),
      pending("UIKeyboardDockView", kInstance, "layoutSubviews"),
      pending("GOOMultilineTextField", kInstance, "textColor"),
      pending("UITextView", kInstance, "textColor"),
      pending("UITextView", kInstance, "attributedText"),
      pending("GBTTextField", kInstance, "textColor"),
      pending("MDCInkView", kInstance, "defaultInkColor"),
      pending("MDCInkView", kInstance, "inkColor"),
      pending("GSKStreamingTextView", kInstance, "fillColor"),
      pending("GOOSideViewItemCell", kInstance, "getIconHighlightedImageForItem:"),
      pending("GRWAppStoreButton", kInstance, "drawRect:"),
      hook("UIImageView", kInstance, "setImage:", image_view_set_image, saved_image_view_set_image),
      pending("UILabel", kInstance, "textColor"),
      pending("UILabel", kInstance, "attributedText"),
      pending("UILabel", kInstance, "drawRect:"),
      hook("UIView", kInstance, "setBackgroundColor:", view_set_background_color,
           saved_view_set_background_color),
      pending("UIWebView", kInstance, "backgroundColor"),
      pending("UIWebView", kInstance, "loadHTMLString:baseURL:"),
      pending("WKWebView", kInstance, "initWithFrame:configuration:"),
      pending("WKWebView", kInstance, "backgroundColor"),
      pending("ExpandableTextField", kInstance, "tintColor"),
      pending("GBTOpenSearchBarGradientView", kInstance, "layoutSubviews"),
      pending("GBTRoundedCornerView", kInstance, "setFillColor:"),
      pending("GBTRoundedCornerView", kInstance, "fillColor"),
      pending("OGLItemListViewCellBackgroundView", kInstance, "setBackgroundColor:"),
      pending("OGLItemListViewCellBackgroundView", kInstance, "backgroundColor"),
      pending("ThreadSubjectView", kInstance, "layoutSubviews"),
      pending("MDCFloatingButton", kInstance, "backgroundColorForState:"),
      pending("MDCFloatingButton", kInstance, "setBackgroundColor:"),
      pending("MDCFloatingButton", kInstance, "backgroundColor"),
      pending("GBTKeyboardPromoView", kInstance, "setBackgroundColor:"),
      pending("GBTKeyboardPromoView", kInstance, "backgroundColor"),
  };
  return table;
}

}  // namespace

std::span<const HookEntry> hook_registry() { return rows(); }

void install_hooks() {
  const char* looked_up_name = nullptr;
  Class looked_up = Nil;
  for (const HookEntry& entry : rows()) {
    if (looked_up_name == nullptr || std::strcmp(looked_up_name, entry.class_name) != 0) {
      looked_up_name = entry.class_name;
      looked_up = objc_getClass(entry.class_name);
    }
    if (entry.rule == nullptr) continue;
    Class target = entry.side == Side::class_method && looked_up != Nil
                       ? object_getClass(reinterpret_cast<id>(looked_up))
                       : looked_up;
    MSHookMessageEx(target, sel_registerName(entry.selector), entry.rule, entry.slot);
  }
}

}  // namespace tenebra
