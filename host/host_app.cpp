#include "host/host_app.h"

#include "host/host_classes.h"
#include "host/host_images.h"
#include "platform/foundation/ns_file_manager.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/message.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

id make(const char* class_name, CGRect frame) {
  return msg<id>(msg<id>(objc_getClass(class_name), "alloc"), "initWithFrame:", frame);
}

// Adds a new view of the class to `parent` and gives it a background, as
// the app's screens do when they are built.
id add_view(id parent, const char* class_name, CGRect frame, id background) {
  Class cls = objc_getClass(class_name);
  Ref view = Ref::adopt(make(cls != Nil ? class_name : "UIView", frame));
  msg<void>(view, "setBackgroundColor:", background);
  msg<void>(parent, "addSubview:", view.get());
  return view;
}

}  // namespace

HostApp::HostApp(HostOptions options) : options_(std::move(options)) {}

void HostApp::launch() {
  if (launched_) return;
  launched_ = true;
  ns::AutoreleasePool pool;
  define_host_classes(options_.omitted_classes);
  ns::set_main_bundle(kAppBundlePath, options_.bundle_identifier);
  if (options_.load_tweaks) {
    tweaks_ = load_tweaks(options_.bundle_identifier, options_.executable_name);
  }
  build_first_screen();
}

// The inbox: a navigation bar, a search bar, the thread list and the
// floating compose button, each coloured the way the app colours it.
void HostApp::build_first_screen() {
  Class colour = objc_getClass("UIColor");
  id white = msg<id>(colour, "whiteColor");
  id surface = msg<id>(colour, "colorWithWhite:alpha:", 0.96, 1.0);

  window_ = Ref::adopt(make("UIWindow", CGRectMake(0, 0, 375, 812)));
  Ref inbox = Ref::adopt(msg<id>(objc_getClass("ThreadListViewController"), "new"));
  msg<void>(window_, "setRootViewController:", inbox.get());
  id root = msg<id>(inbox, "view");
  msg<void>(root, "setFrame:", CGRectMake(0, 0, 375, 812));
  msg<void>(root, "setBackgroundColor:", white);

  add_view(root, "GBTNavigationBar", CGRectMake(0, 0, 375, 88), white);
  add_view(root, "GBTOpenSearchBarGradientView", CGRectMake(0, 88, 375, 56), surface);
  id list = add_view(root, "UITableView", CGRectMake(0, 144, 375, 600), white);
  for (int row = 0; row < 3; ++row) {
    add_view(list, "OGLItemListViewCellBackgroundView", CGRectMake(0, row * 88.0, 375, 88),
             white);
  }
  add_view(root, "MDCFloatingButton", CGRectMake(300, 720, 56, 56),
           msg<id>(colour, "colorWithRed:green:blue:alpha:", 0.86, 0.27, 0.22, 1.0));
  add_image_views(root);
  msg<void>(window_, "makeKeyAndVisible");
}

}  // namespace host
