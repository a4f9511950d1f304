#include "overrides/host/view_background.h"

#include <optional>

#include "core/host_interface.h"
#include "core/palette.h"
#include "core/settings.h"
#include "overrides/host/background_choice.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "toolkit/color/platform_color.h"

namespace tenebra {

SavedImplementation<void(id, SEL, id)> saved_view_set_background_color;

namespace {

using objc::msg;

ClassCache<kBackgroundClassNames.size()> background_classes{kBackgroundClassNames};

// The receiver as the decision sees it; each fact is read when first asked.
class RuntimeView {
 public:
  explicit RuntimeView(id view) : view_(view) {}

  const char* own_class_name() const { return class_name(view_); }
  const char* owner_class_name() const { return class_name(owning_responder(view_)); }
  bool has_identifier(Identifier which) const {
    static SEL accessibility_identifier = objc::sel("accessibilityIdentifier");
    static SEL is_equal_to_string = objc::sel("isEqualToString:");
    if (!identifier_read_) {
      identifier_ = msg<id>(view_, accessibility_identifier);
      identifier_read_ = true;
    }
    const id literal = which == Identifier::kSidePanel ? NSSTR("GOOSidePanelAccessibilityIdentifier")
                                                       : NSSTR("SpeedDialTableView");
    return msg<BOOL>(identifier_, is_equal_to_string, literal);
  }
  bool is_kind_of(std::size_t test) const {
    return tenebra::is_kind_of(view_, background_classes.get(test));
  }

 private:
  id view_;
  mutable id identifier_ = nil;
  mutable bool identifier_read_ = false;
};

id darker(id colour) {
  static SEL darker_color = objc::sel("darkerColor");
  return msg<id>(colour, darker_color);
}

}  // namespace

void view_set_background_color(id self, SEL _cmd, id colour) {
  std::optional<toolkit::ColorText> text;
  if (auto value = toolkit::color_of(colour)) text = toolkit::color_text(*value);

  const BackgroundDecision decision =
      choose_background(RuntimeView(self), text ? &*text : nullptr, settings.enabled != 0);

  id chosen = colour;
  switch (decision.color) {
    case Background::kIncoming:
      break;
    case Background::kBg:
      chosen = bgColor;
      break;
    case Background::kLighterBg:
      chosen = lighterBgColor;
      break;
    case Background::kLighterBgLightened:
      chosen = msg<id>(lighterBgColor, "lighterColor");
      break;
    case Background::kRed:
      chosen = msg<id>(objc_getClass("UIColor"), "redColor");
      break;
    case Background::kIncomingDarkenedThrice:
      chosen = darker(darker(darker(colour)));
      break;
  }
  if (decision.clear_alpha) msg<void>(self, "setAlpha:", 0.0);
  saved_view_set_background_color(self, _cmd, chosen);
}

}  // namespace tenebra
