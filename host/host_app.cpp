#include "host/host_app.h"

#include "host/host_classes.h"
#include "host/screens.h"
#include "host/side_panel.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_file_manager.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace host {

using objc::msg;
using objc::Ref;

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

// The window with the status bar above the inbox.
void HostApp::build_first_screen() {
  window_ = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIWindow"), "alloc"),
                               "initWithFrame:", CGRectMake(0, 0, 375, 812)));
  status_bar_ = Ref::adopt(msg<id>(msg<id>(objc_getClass("UIStatusBar"), "alloc"),
                                   "initWithFrame:", CGRectMake(0, 0, 375, 44)));
  show_inbox();
  msg<void>(window_, "makeKeyAndVisible");
}

id HostApp::show(Ref controller) {
  if (!controller) return nil;
  ns::AutoreleasePool pool;
  msg<BOOL>(window_, "endEditing:", YES);
  msg<void>(window_, "setRootViewController:", controller.get());
  msg<void>(window_, "addSubview:", status_bar_.get());
  msg<void>(status_bar_, "requestStyle:", 0L);
  return controller;
}

id HostApp::show_inbox() { return show(make_inbox()); }
id HostApp::show_thread(const std::string& subject) { return show(make_thread(subject)); }
id HostApp::show_compose() {
  id compose = show(make_compose());
  msg<BOOL>(msg<id>(compose, "bodyView"), "becomeFirstResponder");
  return compose;
}
id HostApp::show_date_picker() { return show(make_date_picker()); }
id HostApp::show_passcode() { return show(make_passcode()); }
id HostApp::show_side_panel() { return show(make_side_panel()); }
id HostApp::open_link(const std::string& url) { return show(make_link(url)); }

}  // namespace host
