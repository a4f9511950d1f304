// The view tree: subview bookkeeping and ownership, the responder chain
// through views, controllers and windows, inherited tints, layout passes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/uikit/ui_color.h"
#include "platform/uikit/ui_view.h"

namespace {

using cg::ColorComponents;
using objc::msg;
using objc::Ref;

Ref make(const char* class_name) { return Ref::adopt(msg<id>(objc_getClass(class_name), "new")); }
unsigned long retain_count(id object) { return msg<unsigned long>(object, "retainCount"); }
std::vector<id> subviews(id view) {
  std::vector<id> result;
  for (const Ref& subview : ui::subviews_of(view)) result.push_back(subview.get());
  return result;
}
void add(id parent, id child) { msg<void>(parent, "addSubview:", child); }
// The name of the exception `fn` raises; empty when it raises none.
template <typename Fn>
std::string raised(Fn&& fn) {
  try {
    fn();
  } catch (const objc::Exception& e) {
    return ns::exception_name(e.object());
  }
  return "";
}

// The responder chain from `start`, as far as it goes.
std::vector<id> chain(id start) {
  std::vector<id> result;
  for (id next = msg<id>(start, "nextResponder"); next != nil;
       next = msg<id>(next, "nextResponder")) {
    result.push_back(next);
  }
  return result;
}

// Instances of these classes count their deallocations: the sanitizer build
// does not report leaked runtime objects, so ownership is checked here. The
// classes are never subclassed, since the super call starts from the
// object's own class.
int freed = 0;
void counting_dealloc(id self, SEL) {
  ++freed;
  objc::msg_super<void>(self, object_getClass(self), objc::sel("dealloc"));
}
Class counted(const char* name, const char* superclass) {
  if (Class existing = objc_getClass(name)) return existing;
  return objc::ClassDefinition(name, objc_getClass(superclass))
      .method("dealloc", counting_dealloc)
      .finish();
}

Ref make_counted(const char* name, const char* superclass) {
  return Ref::adopt(msg<id>(counted(name, superclass), "new"));
}

TEST(ViewTree, AddingRetainsAndRemovingReleases) {
  ns::AutoreleasePool pool;
  Ref parent = make("UIView");
  Ref child = make("UIView");
  add(parent, child);
  EXPECT_EQ(retain_count(child), 2u);
  EXPECT_EQ(msg<id>(child, "superview"), parent.get());
  EXPECT_EQ(subviews(parent), std::vector<id>{child.get()});
  msg<void>(child, "removeFromSuperview");
  EXPECT_EQ(retain_count(child), 1u);
  EXPECT_EQ(msg<id>(child, "superview"), nil);
  EXPECT_TRUE(subviews(parent).empty());
  // Removing a view that has no superview does nothing.
  msg<void>(child, "removeFromSuperview");
  EXPECT_EQ(retain_count(child), 1u);
}

TEST(ViewTree, ReparentingMovesTheViewAndKeepsOneReference) {
  ns::AutoreleasePool pool;
  Ref first = make("UIView");
  Ref second = make("UIView");
  Ref child = make("UIView");
  Ref sibling = make("UIView");
  add(first, child);
  add(first, sibling);
  add(second, child);
  EXPECT_EQ(subviews(first), std::vector<id>{sibling.get()});
  EXPECT_EQ(subviews(second), std::vector<id>{child.get()});
  EXPECT_EQ(msg<id>(child, "superview"), second.get());
  EXPECT_EQ(retain_count(child), 2u);
  // Adding a view to its own superview again brings it to the front.
  add(second, sibling);
  add(second, child);
  EXPECT_EQ(subviews(second), (std::vector<id>{sibling.get(), child.get()}));
  EXPECT_EQ(retain_count(child), 2u);
}

TEST(ViewTree, SubviewsAnswersAnArrayThatKeepsItsViews) {
  ns::AutoreleasePool pool;
  Ref parent = make("UIView");
  Ref first = make("UIView");
  Ref second = make("UIView");
  EXPECT_TRUE(ns::array_items(msg<id>(parent, "subviews")).empty());
  add(parent, first);
  add(parent, second);
  id answer = msg<id>(parent, "subviews");
  EXPECT_EQ(ns::array_items(answer), (std::vector<id>{first.get(), second.get()}));
  // The array holds its own references: the views it names outlive their
  // removal, and it does not follow later changes.
  msg<void>(second, "removeFromSuperview");
  EXPECT_EQ(retain_count(second), 2u);
  EXPECT_EQ(ns::array_items(answer), (std::vector<id>{first.get(), second.get()}));
  EXPECT_EQ(ns::array_items(msg<id>(parent, "subviews")), std::vector<id>{first.get()});
}

TEST(ViewTree, RemovingTheLastReferenceFreesTheView) {
  ns::AutoreleasePool pool;
  Ref parent = make("UIView");
  add(parent, make("UIView"));
  ASSERT_EQ(subviews(parent).size(), 1u);
  // Only the superview holds it: removal frees it, and the sanitizer sees any
  // use after that.
  msg<void>(subviews(parent).front(), "removeFromSuperview");
  EXPECT_TRUE(subviews(parent).empty());
}

TEST(ViewTree, FreeingTheWindowFreesTheWholeTree) {
  ns::AutoreleasePool pool;
  freed = 0;
  {
    Ref window = make_counted("CountedWindow", "UIWindow");
    Ref controller = make_counted("CountedController", "UIViewController");
    Ref root = make_counted("CountedView", "UIView");
    Ref leaf = make_counted("CountedView", "UIView");
    msg<void>(controller, "setView:", root.get());
    add(root, leaf);
    msg<void>(window, "setRootViewController:", controller.get());
    // Re-parenting and replacing keep exactly one owner for each object.
    add(window, leaf);
    add(root, leaf);
    msg<void>(window, "setRootViewController:", controller.get());
  }
  EXPECT_EQ(freed, 4);
}

TEST(ViewTree, AFreedSuperviewLeavesItsSubviewsWithout) {
  ns::AutoreleasePool pool;
  Ref child = make("UIView");
  {
    Ref parent = make("UIView");
    add(parent, child);
  }
  EXPECT_EQ(retain_count(child), 1u);
  EXPECT_EQ(msg<id>(child, "superview"), nil);
  EXPECT_EQ(msg<id>(child, "nextResponder"), nil);
}

TEST(ViewTree, AViewCannotContainItselfAndNilIsIgnored) {
  ns::AutoreleasePool pool;
  Ref top = make("UIView");
  Ref middle = make("UIView");
  Ref leaf = make("UIView");
  add(top, middle);
  add(middle, leaf);
  // A view inside its own subtree would make the tree a cycle.
  for (auto [parent, child] : {std::pair{leaf.get(), leaf.get()}, std::pair{leaf.get(), top.get()},
                               std::pair{middle.get(), top.get()}}) {
    EXPECT_EQ(raised([&] { add(parent, child); }), "NSInvalidArgumentException");
  }
  add(top, nil);
  EXPECT_EQ(subviews(top), std::vector<id>{middle.get()});
  EXPECT_EQ(subviews(middle), std::vector<id>{leaf.get()});
  EXPECT_EQ(msg<id>(top, "superview"), nil);
}

TEST(ViewProperties, DefaultsAndStoredValues) {
  ns::AutoreleasePool pool;
  Ref view = make("UIView");
  EXPECT_EQ(msg<CGRect>(view, "frame"), CGRectZero);
  EXPECT_EQ(msg<double>(view, "alpha"), 1.0);
  EXPECT_FALSE(msg<BOOL>(view, "isHidden"));
  EXPECT_EQ(msg<id>(view, "backgroundColor"), nil);

  Ref framed = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIView"), "alloc"),
                                  "initWithFrame:", CGRectMake(10, 20, 30, 40)));
  EXPECT_EQ(msg<CGRect>(framed, "frame"), CGRectMake(10, 20, 30, 40));
  EXPECT_EQ(msg<CGRect>(framed, "bounds"), CGRectMake(0, 0, 30, 40));

  // The background is exactly the colour given, nil included.
  id white = msg<id>(objc_getClass("UIColor"), "whiteColor");
  msg<void>(view, "setBackgroundColor:", white);
  EXPECT_EQ(msg<id>(view, "backgroundColor"), white);
  msg<void>(view, "setBackgroundColor:", nil);
  EXPECT_EQ(msg<id>(view, "backgroundColor"), nil);
  msg<void>(view, "setAlpha:", 0.0);
  EXPECT_EQ(msg<double>(view, "alpha"), 0.0);
}

TEST(ViewProperties, AccessibilityIdentifierIsCopied) {
  ns::AutoreleasePool pool;
  Ref view = make("UIView");
  EXPECT_EQ(msg<id>(view, "accessibilityIdentifier"), nil);
  id text = msg<id>(ns::string("SpeedDial"), "mutableCopy");
  msg<void>(view, "setAccessibilityIdentifier:", text);
  msg<void>(text, "appendString:", ns::string("TableView"));
  msg<void>(text, "release");
  EXPECT_EQ(ns::utf8(msg<id>(view, "accessibilityIdentifier")), "SpeedDial");
  msg<void>(view, "setAccessibilityIdentifier:", nil);
  EXPECT_EQ(msg<id>(view, "accessibilityIdentifier"), nil);
}

TEST(ViewProperties, TintIsInheritedUntilSet) {
  ns::AutoreleasePool pool;
  Ref top = make("UIView");
  Ref middle = make("UIView");
  Ref leaf = make("UIView");
  add(top, middle);
  add(middle, leaf);
  // Nothing in the chain sets a tint: system blue.
  EXPECT_EQ(ui::color_value(msg<id>(leaf, "tintColor")),
            ColorComponents::rgb(0, 122.0 / 255.0, 1, 1));
  id red = msg<id>(objc_getClass("UIColor"), "redColor");
  id white = msg<id>(objc_getClass("UIColor"), "whiteColor");
  msg<void>(top, "setTintColor:", red);
  EXPECT_EQ(msg<id>(leaf, "tintColor"), red);
  msg<void>(middle, "setTintColor:", white);
  EXPECT_EQ(msg<id>(leaf, "tintColor"), white);
  EXPECT_EQ(msg<id>(top, "tintColor"), red);
  // Setting nil inherits again.
  msg<void>(middle, "setTintColor:", nil);
  EXPECT_EQ(msg<id>(leaf, "tintColor"), red);
}

TEST(ResponderChain, ViewsThenTheirControllerThenTheWindow) {
  ns::AutoreleasePool pool;
  Ref window = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIWindow"), "alloc"),
                                  "initWithFrame:", CGRectMake(0, 0, 320, 480)));
  Ref controller = make("UIViewController");
  msg<void>(window, "setRootViewController:", controller.get());
  id root = msg<id>(controller, "view");
  Ref middle = make("UIView");
  Ref leaf = make("UILabel");
  add(root, middle);
  add(middle, leaf);
  EXPECT_EQ(chain(leaf), (std::vector<id>{middle.get(), root, controller.get(), window.get()}));
  // The owning responder is the first object on the chain that is no view.
  id owner = nil;
  for (id next : chain(leaf)) {
    if (!msg<BOOL>(next, "isKindOfClass:", objc_getClass("UIView"))) {
      owner = next;
      break;
    }
  }
  EXPECT_EQ(owner, controller.get());
  EXPECT_EQ(msg<id>(leaf, "window"), window.get());
  EXPECT_EQ(msg<CGRect>(root, "frame"), CGRectMake(0, 0, 320, 480));
}

TEST(ResponderChain, AViewInNoTreeEndsTheChain) {
  ns::AutoreleasePool pool;
  Ref view = make("UIView");
  EXPECT_TRUE(chain(view).empty());
  EXPECT_EQ(msg<id>(view, "window"), nil);
  Ref responder = make("UIResponder");
  EXPECT_EQ(msg<id>(responder, "nextResponder"), nil);
}

TEST(ResponderChain, ControllerWithoutSuperviewAnswersItsParent) {
  ns::AutoreleasePool pool;
  Ref parent = make("UIViewController");
  Ref child = make("UIViewController");
  msg<void>(parent, "addChildViewController:", child.get());
  EXPECT_EQ(msg<id>(child, "parentViewController"), parent.get());
  EXPECT_EQ(chain(msg<id>(child, "view")), (std::vector<id>{child.get(), parent.get()}));
  // Once the child's view is in the parent's tree, the chain runs through it.
  add(msg<id>(parent, "view"), msg<id>(child, "view"));
  EXPECT_EQ(chain(msg<id>(child, "view")),
            (std::vector<id>{child.get(), msg<id>(parent, "view"), parent.get()}));
  msg<void>(child, "removeFromParentViewController");
  EXPECT_EQ(msg<id>(child, "parentViewController"), nil);
  EXPECT_EQ(raised([&] { msg<void>(child, "addChildViewController:", child.get()); }),
            "NSInvalidArgumentException");
}

TEST(ResponderChain, ViewsOutliveTheirController) {
  ns::AutoreleasePool pool;
  Ref view = make("UIView");
  Ref parent = make("UIViewController");
  {
    Ref controller = make("UIViewController");
    msg<void>(controller, "setView:", view.get());
    msg<void>(parent, "addChildViewController:", controller.get());
    EXPECT_EQ(msg<id>(view, "nextResponder"), controller.get());
    msg<void>(controller, "removeFromParentViewController");
  }
  // The freed controller no longer answers for the view.
  EXPECT_EQ(msg<id>(view, "nextResponder"), nil);
}

TEST(ViewController, SetViewMovesTheNextResponder) {
  ns::AutoreleasePool pool;
  Ref controller = make("UIViewController");
  Ref first = make("UIView");
  Ref second = make("UIView");
  msg<void>(controller, "setView:", first.get());
  EXPECT_TRUE(msg<BOOL>(controller, "isViewLoaded"));
  EXPECT_EQ(msg<id>(first, "nextResponder"), controller.get());
  msg<void>(controller, "setView:", second.get());
  EXPECT_EQ(msg<id>(first, "nextResponder"), nil);
  EXPECT_EQ(msg<id>(second, "nextResponder"), controller.get());
  // A view belongs to one controller at a time.
  Ref other = make("UIViewController");
  EXPECT_EQ(raised([&] { msg<void>(other, "setView:", second.get()); }),
            "UIViewControllerHierarchyInconsistency");
  msg<void>(controller, "setView:", nil);
  EXPECT_FALSE(msg<BOOL>(controller, "isViewLoaded"));
  EXPECT_EQ(msg<id>(second, "nextResponder"), nil);
}

int loads = 0;
int did_loads = 0;
bool load_sets_view = true;
void counting_load_view(id self, SEL) {
  ++loads;
  if (load_sets_view) {
    objc::msg_super<void>(self, objc_getClass("CountingController"), objc::sel("loadView"));
  }
}
void counting_view_did_load(id, SEL) { ++did_loads; }
Class counting_controller() {
  static Class cls = objc::ClassDefinition("CountingController", objc_getClass("UIViewController"))
                         .method("loadView", counting_load_view)
                         .method("viewDidLoad", counting_view_did_load)
                         .finish();
  return cls;
}

TEST(ViewController, ViewLoadsLazilyOnce) {
  ns::AutoreleasePool pool;
  loads = did_loads = 0;
  load_sets_view = true;
  Ref controller = Ref::adopt(msg<id>(counting_controller(), "new"));
  EXPECT_FALSE(msg<BOOL>(controller, "isViewLoaded"));
  id view = msg<id>(controller, "view");
  ASSERT_NE(view, nil);
  EXPECT_EQ(msg<id>(controller, "view"), view);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(did_loads, 1);
  EXPECT_EQ(msg<id>(view, "nextResponder"), controller.get());
  msg<void>(controller, "setTitle:", ns::string("Inbox"));
  EXPECT_EQ(ns::utf8(msg<id>(controller, "title")), "Inbox");
}

TEST(ViewController, ALoadThatSetsNoViewIsTriedAgain) {
  ns::AutoreleasePool pool;
  loads = did_loads = 0;
  load_sets_view = false;
  Ref controller = Ref::adopt(msg<id>(counting_controller(), "new"));
  EXPECT_EQ(msg<id>(controller, "view"), nil);
  EXPECT_EQ(msg<id>(controller, "view"), nil);
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(did_loads, 0);
  load_sets_view = true;
}

TEST(Window, RootControllerFillsTheWindowAndReplacingItRemovesTheOldView) {
  ns::AutoreleasePool pool;
  Ref window = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIWindow"), "alloc"),
                                  "initWithFrame:", CGRectMake(0, 0, 100, 200)));
  Ref first = make("UIViewController");
  Ref second = make("UIViewController");
  msg<void>(window, "setRootViewController:", first.get());
  EXPECT_EQ(msg<id>(window, "rootViewController"), first.get());
  msg<void>(window, "setRootViewController:", second.get());
  EXPECT_EQ(subviews(window), std::vector<id>{msg<id>(second, "view")});
  EXPECT_EQ(msg<id>(msg<id>(first, "view"), "superview"), nil);
  EXPECT_EQ(msg<id>(window, "window"), window.get());

  msg<void>(window, "setHidden:", YES);
  EXPECT_FALSE(msg<BOOL>(window, "isKeyWindow"));
  msg<void>(window, "makeKeyAndVisible");
  EXPECT_TRUE(msg<BOOL>(window, "isKeyWindow"));
  EXPECT_FALSE(msg<BOOL>(window, "isHidden"));
  EXPECT_EQ(ui::key_window(), window.get());
  window = nullptr;
  EXPECT_EQ(ui::key_window(), nil);
}

std::vector<std::string> layout_log;
void logging_layout_subviews(id self, SEL) {
  layout_log.push_back(ns::utf8(msg<id>(self, "accessibilityIdentifier")));
}
Class logging_view() {
  static Class cls = objc::ClassDefinition("LayoutLoggingView", objc_getClass("UIView"))
                         .method("layoutSubviews", logging_layout_subviews)
                         .finish();
  return cls;
}
Ref logging(const char* name) {
  Ref view = Ref::adopt(msg<id>(logging_view(), "new"));
  msg<void>(view, "setAccessibilityIdentifier:", ns::string(name));
  return view;
}

TEST(Layout, LayoutIfNeededLaysOutWhatNeedsItParentsFirst) {
  ns::AutoreleasePool pool;
  Ref top = logging("top");
  Ref child = logging("child");
  add(top, child);
  layout_log.clear();
  msg<void>(top, "layoutIfNeeded");
  EXPECT_EQ(layout_log, (std::vector<std::string>{"top", "child"}));
  // Nothing changed: nothing to lay out.
  layout_log.clear();
  msg<void>(top, "layoutIfNeeded");
  EXPECT_TRUE(layout_log.empty());
  msg<void>(child, "setNeedsLayout");
  msg<void>(top, "layoutIfNeeded");
  EXPECT_EQ(layout_log, std::vector<std::string>{"child"});
  // A new size needs a new layout; a move alone does not.
  layout_log.clear();
  msg<void>(top, "setFrame:", CGRectMake(5, 5, 0, 0));
  msg<void>(top, "layoutIfNeeded");
  EXPECT_TRUE(layout_log.empty());
  msg<void>(top, "setFrame:", CGRectMake(5, 5, 10, 10));
  msg<void>(top, "layoutIfNeeded");
  EXPECT_EQ(layout_log, std::vector<std::string>{"top"});
}

TEST(TextViews, StoredPropertiesAndTheirDefaults) {
  ns::AutoreleasePool pool;
  id black = msg<id>(objc_getClass("UIColor"), "blackColor");
  id red = msg<id>(objc_getClass("UIColor"), "redColor");
  // A label without its own colour draws black; setting nil goes back to it.
  Ref label = make("UILabel");
  EXPECT_EQ(msg<id>(label, "textColor"), black);
  msg<void>(label, "setTextColor:", red);
  EXPECT_EQ(msg<id>(label, "textColor"), red);
  msg<void>(label, "setTextColor:", nil);
  EXPECT_EQ(msg<id>(label, "textColor"), black);

  for (const char* name : {"UITextField", "UITextView"}) {
    SCOPED_TRACE(name);
    Ref view = make(name);
    EXPECT_EQ(msg<id>(view, "textColor"), nil);
    msg<void>(view, "setTextColor:", red);
    EXPECT_EQ(msg<id>(view, "textColor"), red);
  }
  // Texts are copies of what was given.
  Ref field = make("UITextField");
  id text = msg<id>(ns::string("draft"), "mutableCopy");
  msg<void>(field, "setText:", text);
  msg<void>(text, "appendString:", ns::string("ed"));
  msg<void>(text, "release");
  EXPECT_EQ(ns::utf8(msg<id>(field, "text")), "draft");

  Ref bar = make("UINavigationBar");
  EXPECT_TRUE(msg<BOOL>(bar, "isTranslucent"));
  EXPECT_EQ(msg<id>(bar, "barTintColor"), nil);
  msg<void>(bar, "setTranslucent:", NO);
  EXPECT_FALSE(msg<BOOL>(bar, "isTranslucent"));
}

}  // namespace
