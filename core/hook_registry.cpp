// The hook registry's table: every method the theme replaces, in the fixed
// order of installation. Compiled into the library itself, which brings core,
// toolkit and the override rules together.
#include "core/hook_registry.h"

#include <array>

#include "overrides/host/image_view.h"
#include "overrides/host/view_background.h"
#include "overrides/host/web_views.h"

namespace tenebra {
namespace {

constexpr Side kInstance = Side::kInstance;
constexpr Side kClass = Side::kClassMethod;

const std::array<HookRow, 52>& rows() {
  static const std::array<HookRow, 52> table = {
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
      hook("UIWebView", kInstance, "backgroundColor", ui_web_view_background_color,
           saved_ui_web_view_background_color),
      hook("UIWebView", kInstance, "loadHTMLString:baseURL:", ui_web_view_load_html_string,
           saved_ui_web_view_load_html_string),
      hook("WKWebView", kInstance, "initWithFrame:configuration:", wk_web_view_init_with_frame,
           saved_wk_web_view_init_with_frame),
      hook("WKWebView", kInstance, "backgroundColor", wk_web_view_background_color,
           saved_wk_web_view_background_color),
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

std::span<const HookRow> hook_registry() { return rows(); }

void install_hooks() { install_hooks(rows()); }

}  // namespace tenebra
