// The layout pass. A view that needs layout (`setNeedsLayout`, a new
// subview, a new size) asks for a pass; the main run loop's next turn then
// lays out the key window's tree from the top down (`layoutIfNeeded`), as
// UIKit does once per turn. Requests made before that turn share one pass.
// `layoutIfNeeded` still lays a view out at once, in a window or not.
#pragma once

namespace ui {

// Queues a layout pass on the main run loop unless one is queued already.
void request_layout_pass();

}  // namespace ui
