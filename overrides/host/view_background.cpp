#include "overrides/host/view_background.h"

#include <cstdint>
#include <optional>
#include <vector>

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

// What the decision asks of a class, worked out once per class: which class
// tests it passes, and whether it is a view (for the walk to the owning
// responder). A class's ancestry is fixed when it is made, so the facts hold
// for its life; only a test class that turns up later (registered after the
// first call) can change them, and then they are all worked out again.
struct ClassFacts {
  std::uint32_t kinds = 0;  // bit i: the class test of kBackgroundClasses[i]
  bool view = false;
};
static_assert(kBackgroundClasses.size() <= 32);

// Classes to their facts: open addressing on the class pointer, linear
// probing, doubled when half full. Entries are never removed one by one.
class ClassFactsTable {
 public:
  const ClassFacts* find(Class cls) const {
    for (std::size_t i = slot_of(cls);; i = (i + 1) & (slots_.size() - 1)) {
      if (slots_[i].cls == cls) return &slots_[i].facts;
      if (slots_[i].cls == Nil) return nullptr;
    }
  }
  const ClassFacts& add(Class cls, const ClassFacts& facts) {
    if (2 * (count_ + 1) > slots_.size()) grow();
    ++count_;
    return place(cls, facts);
  }
  void clear() {
    slots_.assign(slots_.size(), Slot{});
    count_ = 0;
  }

 private:
  struct Slot {
    Class cls = Nil;
    ClassFacts facts;
  };
  std::size_t slot_of(Class cls) const {
    // Classes are at least 8-byte aligned; mix the higher bits in.
    const auto bits = reinterpret_cast<std::uintptr_t>(cls) >> 3;
    return (bits ^ (bits >> 7)) & (slots_.size() - 1);
  }
  const ClassFacts& place(Class cls, const ClassFacts& facts) {
    std::size_t i = slot_of(cls);
    while (slots_[i].cls != Nil) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = {cls, facts};
    return slots_[i].facts;
  }
  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.cls != Nil) place(slot.cls, slot.facts);
    }
  }

  std::vector<Slot> slots_ = std::vector<Slot>(64);
  std::size_t count_ = 0;
};

const ClassFacts& facts_of(Class cls) {
  static auto* known = new ClassFactsTable;
  static Class view_class = objc_getClass("UIView");
  if (background_classes.find_missing()) known->clear();
  if (const ClassFacts* facts = known->find(cls)) return *facts;
  ClassFacts facts;
  for (std::size_t test = 0; test < kBackgroundClasses.size(); ++test) {
    if (class_is_kind_of(cls, background_classes.get(test))) facts.kinds |= 1u << test;
  }
  facts.view = class_is_kind_of(cls, view_class);
  return known->add(cls, facts);
}

// The receiver as the decision sees it; each fact is read when first asked.
class RuntimeView {
 public:
  RuntimeView(id view, id color) : view_(view), color_(color) {}

  const char* own_class_name() const { return class_name(view_); }
  // The first responder after the view that is not a view.
  const char* owner_class_name() const {
    static SEL next_responder = objc::sel("nextResponder");
    id responder = msg<id>(view_, next_responder);
    while (responder != nil && facts_of(object_getClass(responder)).view) {
      responder = msg<id>(responder, next_responder);
    }
    return class_name(responder);
  }
  bool has_identifier(Identifier which) const {
    static SEL accessibility_identifier = objc::sel("accessibilityIdentifier");
    static SEL is_equal_to_string = objc::sel("isEqualToString:");
    if (!identifier_read_) {
      identifier_ = msg<id>(view_, accessibility_identifier);
      identifier_read_ = true;
    }
    if (identifier_ == nil) return false;
    const id literal = which == Identifier::kSidePanel
                           ? NSSTR("GOOSidePanelAccessibilityIdentifier")
                           : NSSTR("SpeedDialTableView");
    return msg<BOOL>(identifier_, is_equal_to_string, literal);
  }
  bool is_kind_of(std::size_t test) const {
    return (facts_of(object_getClass(view_)).kinds >> test) & 1u;
  }
  const toolkit::ColorText* color_text() const {
    if (!text_read_) {
      if (auto value = toolkit::color_of(color_)) text_ = toolkit::color_text(*value);
      text_read_ = true;
    }
    return text_ ? &*text_ : nullptr;
  }

 private:
  id view_;
  id color_;
  mutable id identifier_ = nil;
  mutable bool identifier_read_ = false;
  mutable std::optional<toolkit::ColorText> text_;
  mutable bool text_read_ = false;
};

id darker(id color) {
  static SEL darker_color = objc::sel("darkerColor");
  return msg<id>(color, darker_color);
}

}  // namespace

void view_set_background_color(id self, SEL _cmd, id color) {
  const BackgroundDecision decision =
      choose_background(RuntimeView(self, color), settings.enabled != 0);

  id chosen = color;
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
      chosen = darker(darker(darker(color)));
      break;
  }
  if (decision.clear_alpha) msg<void>(self, "setAlpha:", 0.0);
  saved_view_set_background_color(self, _cmd, chosen);
}

}  // namespace tenebra
