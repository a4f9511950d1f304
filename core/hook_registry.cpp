// The hook registry's table: every method the theme replaces, in the fixed
// order of installation. Compiled into the library itself, which brings core,
// toolkit and the override rules together.
#include "core/hook_registry.h"

#include <array>

#include "overrides/host/label_text.h"
#include "overrides/host/view_background.h"
#include "overrides/host/web_views.h"
#include "overrides/system/attribute_set.h"
#include "overrides/system/grey_color.h"
#include "overrides/system/text_ink.h"

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
      hook("UIColor", kClass, "colorWithWhite:alpha:", color_with_white, saved_color_with_white),
      pending("ThreadCellFrontView", kClass, "backgroundForPosition:backgroundColor:"),
      pending("ThreadCellFrontView", kClass, "greySelectedBackgroundForPosition:backgroundColor:"),
      pending("ThreadCellFrontView", kClass, "highlightedBackgroundForPosition:backgroundColor:"),
      hook("NSMutableAttributedString", kInstance, "addAttribute:value:range:", add_attribute,
           saved_add_attribute),
      hook("NSMutableAttributedString", kInstance, "addAttributes:range:", add_attributes,
           saved_add_attributes),
      hook("NSMutableAttributedString", kInstance, "setAttributes:range:", set_attributes,
           saved_set_attributes),
      pending("UIPickerView", kInstance, "setBackgroundColor:"),
      pending("UIDatePickerContentView", kInstance, "titleLabel"),
      pending("UIPickerTableViewTitledCell", kInstance, "setAttributedTitle:"),
      pending("UIKBRenderConfig", kInstance, "lightKeyboard"),
      pending("DevicePINKeypad", kInstance, "initWithFrame:"),
      pending("UIKeyboardDockView", kInstance, "layoutSubviews"),
      hook("GOOMultilineTextField", kInstance, "textColor", multiline_field_text_color,
           saved_multiline_field_text_color),
      hook("UITextView", kInstance, "textColor", text_view_text_color, saved_text_view_text_color),
      hook("UITextView", kInstance, "attributedText", text_view_attributed_text,
           saved_text_view_attributed_text),
      hook("GBTTextField", kInstance, "textColor", text_field_text_color,
           saved_text_field_text_color),
      hook("MDCInkView", kInstance, "defaultInkColor", ink_default_color, saved_ink_default_color),
      hook("MDCInkView", kInstance, "inkColor", ink_color, saved_ink_color),
      hook("GSKStreamingTextView", kInstance, "fillColor", streaming_text_fill_color,
           saved_streaming_text_fill_color),
      pending("GOOSideViewItemCell", kInstance, "getIconHighlightedImageForItem:"),
      hook("GRWAppStoreButton", kInstance, "drawRect:", app_store_button_draw_rect,
           saved_app_store_button_draw_rect),
      pending("UIImageView", kInstance, "setImage:"),
      hook("UILabel", kInstance, "textColor", label_text_color, saved_label_text_color),
      hook("UILabel", kInstance, "attributedText", label_attributed_text,
           saved_label_attributed_text),
      hook("UILabel", kInstance, "drawRect:", label_draw_rect, saved_label_draw_rect),
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
