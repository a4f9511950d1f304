// The hook registry's table: every method the theme replaces, in the fixed
// order of installation. Compiled into the library itself, which brings core,
// toolkit and the override rules together.
#include "core/hook_registry.h"

#include <array>

#include "overrides/host/host_components.h"
#include "overrides/host/image_view.h"
#include "overrides/host/label_text.h"
#include "overrides/host/view_background.h"
#include "overrides/host/web_views.h"
#include "overrides/system/attribute_set.h"
#include "overrides/system/grey_color.h"
#include "overrides/system/keyboard.h"
#include "overrides/system/navigation_chrome.h"
#include "overrides/system/pickers.h"
#include "overrides/system/safari_view.h"
#include "overrides/system/status_bar.h"
#include "overrides/system/text_ink.h"
#include "overrides/system/thread_cell_background.h"

namespace tenebra {
namespace {

constexpr Side kInstance = Side::kInstance;
constexpr Side kClass = Side::kClassMethod;

const std::array<HookRow, 52>& rows() {
  static const std::array<HookRow, 52> table = {
      hook("_UIStatusBarImageView", kInstance, "tintColor", status_bar_image_tint_color,
           saved_status_bar_image_tint_color),
      hook("_UIStatusBarStringView", kInstance, "textColor", status_bar_string_text_color,
           saved_status_bar_string_text_color),
      hook("_UIStatusBarSignalView", kInstance, "activeColor", status_bar_signal_active_color,
           saved_status_bar_signal_active_color),
      hook("UIStatusBarNewUIStyleAttributes", kInstance,
           "initWithRequest:backgroundColor:foregroundColor:", status_bar_style_attributes_init,
           saved_status_bar_style_attributes_init),
      hook("UIStatusBarNewUIStyleAttributes", kInstance, "foregroundColor",
           status_bar_style_foreground_color, saved_status_bar_style_foreground_color),
      hook("SFSafariViewController", kInstance, "initWithURL:", safari_init_with_url,
           saved_safari_init_with_url),
      hook("GBTNavigationBar", kInstance,
           "setCustomBarTintColor:", navigation_bar_set_custom_bar_tint_color,
           saved_navigation_bar_set_custom_bar_tint_color),
      hook("GBTNavigationBar", kInstance, "setBarTintColor:", navigation_bar_set_bar_tint_color,
           saved_navigation_bar_set_bar_tint_color),
      hook("UITableViewCellSelectedBackground", kInstance, "setSelectionTintColor:",
           cell_selection_set_selection_tint_color, saved_cell_selection_set_selection_tint_color),
      hook("UIColor", kClass, "colorWithWhite:alpha:", color_with_white, saved_color_with_white),
      hook("ThreadCellFrontView", kClass, "backgroundForPosition:backgroundColor:",
           thread_cell_background, saved_thread_cell_background),
      hook("ThreadCellFrontView", kClass, "greySelectedBackgroundForPosition:backgroundColor:",
           thread_cell_grey_selected_background, saved_thread_cell_grey_selected_background),
      hook("ThreadCellFrontView", kClass, "highlightedBackgroundForPosition:backgroundColor:",
           thread_cell_highlighted_background, saved_thread_cell_highlighted_background),
      hook("NSMutableAttributedString", kInstance, "addAttribute:value:range:", add_attribute,
           saved_add_attribute),
      hook("NSMutableAttributedString", kInstance, "addAttributes:range:", add_attributes,
           saved_add_attributes),
      hook("NSMutableAttributedString", kInstance, "setAttributes:range:", set_attributes,
           saved_set_attributes),
      hook("UIPickerView", kInstance, "setBackgroundColor:", picker_set_background_color,
           saved_picker_set_background_color),
      hook("UIDatePickerContentView", kInstance, "titleLabel", date_picker_title_label,
           saved_date_picker_title_label),
      hook("UIPickerTableViewTitledCell", kInstance, "setAttributedTitle:",
           picker_cell_set_attributed_title, saved_picker_cell_set_attributed_title),
      hook("UIKBRenderConfig", kInstance, "lightKeyboard", render_config_light_keyboard,
           saved_render_config_light_keyboard),
      hook("DevicePINKeypad", kInstance, "initWithFrame:", pin_keypad_init_with_frame,
           saved_pin_keypad_init_with_frame),
      hook("UIKeyboardDockView", kInstance, "layoutSubviews", keyboard_dock_layout_subviews,
           saved_keyboard_dock_layout_subviews),
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
      hook("GOOSideViewItemCell", kInstance, "getIconHighlightedImageForItem:",
           side_item_highlighted_icon, saved_side_item_highlighted_icon),
      hook("GRWAppStoreButton", kInstance, "drawRect:", app_store_button_draw_rect,
           saved_app_store_button_draw_rect),
      hook("UIImageView", kInstance, "setImage:", image_view_set_image, saved_image_view_set_image),
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
      hook("ExpandableTextField", kInstance, "tintColor", expandable_field_tint_color,
           saved_expandable_field_tint_color),
      hook("GBTOpenSearchBarGradientView", kInstance, "layoutSubviews",
           search_bar_gradient_layout_subviews, saved_search_bar_gradient_layout_subviews),
      hook("GBTRoundedCornerView", kInstance, "setFillColor:", rounded_corner_set_fill_color,
           saved_rounded_corner_set_fill_color),
      hook("GBTRoundedCornerView", kInstance, "fillColor", rounded_corner_fill_color,
           saved_rounded_corner_fill_color),
      hook("OGLItemListViewCellBackgroundView", kInstance, "setBackgroundColor:",
           item_list_cell_set_background_color, saved_item_list_cell_set_background_color),
      hook("OGLItemListViewCellBackgroundView", kInstance, "backgroundColor",
           item_list_cell_background_color, saved_item_list_cell_background_color),
      hook("ThreadSubjectView", kInstance, "layoutSubviews", thread_subject_layout_subviews,
           saved_thread_subject_layout_subviews),
      hook("MDCFloatingButton", kInstance, "backgroundColorForState:",
           floating_button_background_for_state, saved_floating_button_background_for_state),
      hook("MDCFloatingButton", kInstance, "setBackgroundColor:",
           floating_button_set_background_color, saved_floating_button_set_background_color),
      hook("MDCFloatingButton", kInstance, "backgroundColor", floating_button_background_color,
           saved_floating_button_background_color),
      hook("GBTKeyboardPromoView", kInstance, "setBackgroundColor:",
           keyboard_promo_set_background_color, saved_keyboard_promo_set_background_color),
      hook("GBTKeyboardPromoView", kInstance, "backgroundColor", keyboard_promo_background_color,
           saved_keyboard_promo_background_color),
  };
  return table;
}

}  // namespace

std::span<const HookRow> hook_registry() { return rows(); }

void install_hooks() { install_hooks(rows()); }

}  // namespace tenebra
