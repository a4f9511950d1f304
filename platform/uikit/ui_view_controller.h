// UIViewController: owns a root view, made on first request (`loadView`, then
// `viewDidLoad`), and sits on the responder chain between that view and what
// lies beyond it. Its next responder is its view's superview when the view is
// in a tree, else its parent controller, else nil: the device's rule for a
// controller that no other controller presents.
#pragma once

namespace ui {

// Defines UIViewController; called once at platform start, after UIView.
void define_view_controller_classes();

}  // namespace ui
