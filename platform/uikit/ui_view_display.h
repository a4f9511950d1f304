// The display pass and the layer behind each view. `setNeedsDisplay` marks a
// view and asks the main run loop for a turn; at that turn every view still
// marked draws itself: `drawRect:` with its bounds, as UIKit does. A view's
// layer is made on first use from its class's `layerClass` (CALayer unless a
// subclass says otherwise), with the view as its delegate.
#pragma once

namespace ui {

// Adds layerClass, layer, setNeedsDisplay and displayIfNeeded to UIView;
// called once at platform start, after UIView.
void define_view_display();

}  // namespace ui
