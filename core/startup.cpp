// The library's start-up. It has no entry point of its own: when the
// substrate loads it, the runtime first attaches its classes and categories,
// then its two initialisers run in order: the settings start-up, then the
// hook installation. Nothing is torn down; both last for the process.
#include "core/hook_registry.h"
#include "core/library_classes.h"
#include "core/palette.h"
#include "core/settings.h"
#include "platform/corefoundation/cf_notification_center.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/uikit/text_attributes.h"

namespace tenebra {
namespace {

using objc::msg;

// The appearance defaults of text fields, text views and navigation bars,
// set once when the theme is on at start-up. None of these calls passes
// through a rule: no rule is installed yet.
void set_appearance_defaults() {
  ns::AutoreleasePool pool;
  id attributes = msg<id>(objc_getClass("NSDictionary"), "dictionaryWithObject:forKey:",
                          textColor, NSForegroundColorAttributeName);
  id text_field = msg<id>(objc_getClass("UITextField"), "appearance");
  msg<void>(text_field, "setDefaultTextAttributes:", attributes);
  msg<void>(text_field, "setTextColor:", textColor);
  msg<void>(msg<id>(objc_getClass("UITextView"), "appearance"), "setTypingAttributes:",
            attributes);
  id navigation_bar = msg<id>(objc_getClass("UINavigationBar"), "appearance");
  msg<void>(navigation_bar, "setBarTintColor:", lighterBgColor);
  msg<void>(navigation_bar, "setTranslucent:", NO);
}

__attribute__((constructor(101))) void attach_classes_and_categories() {
  register_library_classes();
}

__attribute__((constructor(102))) void settings_startup() {
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                  settings_changed, NSSTR(kSettingsChangedNotification),
                                  nullptr, CFNotificationSuspensionBehaviorCoalesce);
  load_settings();
  if (!settings.enabled) return;
  set_appearance_defaults();
}

__attribute__((constructor(103))) void hook_installation() { install_hooks(); }

}  // namespace
}  // namespace tenebra
