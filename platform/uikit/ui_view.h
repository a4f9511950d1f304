// The view tree: UIResponder, UIView and UIWindow. A view keeps its frame,
// background and tint colours, alpha, hidden flag and accessibility
// identifier; it retains its subviews and knows its superview (not retained).
// Its next responder is the view controller whose root view it is, else its
// superview; a view in no tree and owned by no controller ends the chain, and
// so does a window (this model has no application object beyond it).
//
// UIKit is used from the main thread only, here as on the device.
#pragma once

#include <vector>

#include "platform/objc/ref.h"
#include "platform/objc/runtime.h"

namespace ui {

// Defines UIResponder, UIView and UIWindow; called once at platform start.
void define_view_classes();

// The view's subviews, back to front; empty for nil. The reference is valid
// until the view's subviews change.
const std::vector<objc::Ref>& subviews_of(id view);

// The window that last received makeKeyAndVisible, while it lives; else nil.
id key_window();

}  // namespace ui
