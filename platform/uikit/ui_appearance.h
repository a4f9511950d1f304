// Appearance proxies: `+appearance` of a view class answers that class's one
// proxy, made on first request and kept for the process. A one-argument
// property setter of the class sent to the proxy (`setTextColor:`,
// `setTranslucent:`, ...) is recorded, selector and argument; every instance
// of the class or of a subclass initialised afterwards receives the recorded
// setters through ordinary sends, the proxies of its ancestors first and each
// proxy's in the order they were last set. Instances that already exist are
// untouched. The proxy also answers the matching getters with the recorded
// value (nil or zero when nothing was set), and raises
// NSInvalidArgumentException for any selector that is not a property of the
// class, as UIKit does.
#pragma once

#include <variant>
#include <vector>

#include "platform/coregraphics/geometry.h"
#include "platform/objc/ref.h"
#include "platform/objc/runtime.h"

namespace ui {

// An argument as it was given to the proxy, kept in its own type so that it
// is replayed through a send of exactly that type.
using AppearanceValue =
    std::variant<objc::Ref, BOOL, int, unsigned int, long, unsigned long, long long,
                 unsigned long long, float, double, CGPoint, CGSize, CGRect>;

struct AppearanceSetting {
  SEL selector;
  AppearanceValue value;
};

// Defines the proxy class; called once at platform start, after UIView.
void define_appearance_classes();

// The proxy of `cls`, made on first request; nil for Nil.
id appearance_proxy(Class cls);

// What the proxy of `cls` holds, in replay order; empty when it has no proxy.
std::vector<AppearanceSetting> appearance_settings(Class cls);

// Sends to `view` every setting recorded by the proxies of its class and its
// ancestors. UIView's initializer calls it last.
void apply_appearance(id view);

}  // namespace ui
