#include "platform/uikit/ui_layout_pass.h"

#include "platform/objc/message.h"
#include "platform/corefoundation/run_loop.h"
#include "platform/uikit/ui_view.h"

namespace ui {
namespace {

// Written and read on the main thread only, as every view is.
bool pass_queued = false;

}  // namespace

void request_layout_pass() {
  if (pass_queued) return;
  pass_queued = true;
  // Requests made while the pass runs come from views it is about to reach
  // (a parent's layout resizing its subviews), so they join it.
  // A layout that raises still ends the pass.
  cf::main_run_loop().perform([] {
    struct EndOfPass {
      ~EndOfPass() { pass_queued = false; }
    } end_of_pass;
    objc::msg<void>(key_window(), "layoutIfNeeded");
  });
}

}  // namespace ui
