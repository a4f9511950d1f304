#include "platform/uikit/ui_view_controller.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Ref> kView{"UIViewController", "_view"};
const objc::Member<Ref> kTitle{"UIViewController", "_title"};
const objc::Member<std::vector<Ref>> kChildren{"UIViewController", "_childViewControllers"};
// Not retained: the parent retains its children and clears this pointer
// before it goes away.
const objc::Member<id> kParent{"UIViewController", "_parentViewController"};

const objc::Member<id> kViewSuperview{"UIView", "_superview"};
const objc::Member<id> kViewController{"UIView", "_viewDelegate"};

const objc::ClassRef controller_class{"UIViewController"};

void dealloc(id self, SEL) {
  if (id view = kView.of(self); view != nil && kViewController.of(view) == self) {
    kViewController.of(view) = nil;
  }
  for (const Ref& child : kChildren.of(self)) kParent.of(child) = nil;
  objc::msg_super<void>(self, controller_class(), objc::sel("dealloc"));
}

// When loadView sets no view, the controller stays unloaded and the next
// request tries again; viewDidLoad runs only once a view is there.
id view(id self, SEL) {
  if (!kView.of(self)) {
    msg<void>(self, "loadView");
    if (kView.of(self)) msg<void>(self, "viewDidLoad");
  }
  return kView.of(self);
}

void load_view(id self, SEL) {
  Ref plain =
      Ref::adopt(msg<id>(msg<id>(objc_getClass("UIView"), "alloc"), "initWithFrame:", CGRectZero));
  msg<void>(self, "setView:", plain.get());
}

void view_did_load(id, SEL) {}

void set_view(id self, SEL, id new_view) {
  id old_view = kView.of(self);
  if (old_view == new_view) return;
  if (new_view != nil) {
    id owner = kViewController.of(new_view);
    if (owner != nil && owner != self) {
      objc::raise("UIViewControllerHierarchyInconsistency",
                  "A view can only be associated with at most one view controller at a time! "
                  "View " +
                      ns::utf8(msg<id>(new_view, "description")) + " is associated with " +
                      ns::utf8(msg<id>(owner, "description")) +
                      ". Clear this association before associating this view with " +
                      ns::utf8(msg<id>(self, "description")) + ".");
    }
    kViewController.of(new_view) = self;
  }
  if (old_view != nil && kViewController.of(old_view) == self) kViewController.of(old_view) = nil;
  kView.of(self) = Ref::retain(new_view);
}

BOOL is_view_loaded(id self, SEL) { return kView.of(self) ? YES : NO; }

id next_responder(id self, SEL) {
  if (id loaded = kView.of(self)) {
    if (id superview = kViewSuperview.of(loaded)) return superview;
  }
  return kParent.of(self);
}

id title(id self, SEL) { return kTitle.of(self); }
void set_title(id self, SEL, id text) { kTitle.of(self) = Ref::adopt(msg<id>(text, "copy")); }

id parent_view_controller(id self, SEL) { return kParent.of(self); }

void detach_from_parent(id child) {
  id parent = kParent.of(child);
  if (parent == nil) return;
  kParent.of(child) = nil;
  auto& siblings = kChildren.of(parent);
  auto at = std::find_if(siblings.begin(), siblings.end(),
                         [child](const Ref& sibling) { return sibling.get() == child; });
  if (at == siblings.end()) return;
  Ref released = std::move(*at);
  siblings.erase(at);
}

void add_child(id self, SEL, id child) {
  if (child == nil || kParent.of(child) == self) return;
  // A controller among its own ancestors would make the chain endless.
  for (id ancestor = self; ancestor != nil; ancestor = kParent.of(ancestor)) {
    if (ancestor == child) {
      objc::raise("NSInvalidArgumentException",
                  "A view controller cannot be a child of itself or of its descendants");
    }
  }
  Ref kept = Ref::retain(child);
  detach_from_parent(child);
  kParent.of(child) = self;
  kChildren.of(self).push_back(std::move(kept));
}

void remove_from_parent(id self, SEL) { detach_from_parent(self); }

}  // namespace

void define_view_controller_classes() {
  objc::ClassDefinition("UIViewController", objc_getClass("UIResponder"))
      .member<Ref>("_view")
      .member<Ref>("_title")
      .member<std::vector<Ref>>("_childViewControllers")
      .member<id>("_parentViewController")
      .method("dealloc", dealloc)
      .method("view", view)
      .method("loadView", load_view)
      .method("viewDidLoad", view_did_load)
      .method("setView:", set_view)
      .method("isViewLoaded", is_view_loaded)
      .method("nextResponder", next_responder)
      .method("title", title)
      .method("setTitle:", set_title)
      .method("parentViewController", parent_view_controller)
      .method("addChildViewController:", add_child)
      .method("removeFromParentViewController", remove_from_parent)
      .finish();
}

}  // namespace ui
