#include "hosts/gmail/host_app.h"

#include "hosts/gmail/host_classes.h"
#include "hosts/gmail/screens.h"
#include "hosts/gmail/side_panel.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_file_manager.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"

namespace host {

using objc::msg;
using objc::Ref;

namespace {

// The app's delegate, which the application object answers as its
// `delegate`: it knows the window and shows each screen on request, as the
// app's navigation does, so the console can reach every screen's
// controller and view tree.
const objc::Member<void*> kDelegateApp{"GmailAppDelegate", "_app"};

HostApp& app_of(id self) { return *static_cast<HostApp*>(kDelegateApp.of(self)); }
id delegate_window(id self, SEL) { return app_of(self).window(); }
id delegate_show_inbox(id self, SEL) { return app_of(self).show_inbox(); }
id delegate_show_thread(id self, SEL, id subject) {
  return app_of(self).show_thread(subject != nil ? ns::utf8(subject) : "");
}
id delegate_show_compose(id self, SEL) { return app_of(self).show_compose(); }
id delegate_show_side_panel(id self, SEL) { return app_of(self).show_side_panel(); }
id delegate_show_date_picker(id self, SEL) { return app_of(self).show_date_picker(); }
id delegate_show_passcode(id self, SEL) { return app_of(self).show_passcode(); }
id delegate_open_link(id self, SEL, id url) {
  return app_of(self).open_link(url != nil ? ns::utf8(url) : "");
}

void define_delegate_class() {
  if (objc_getClass("GmailAppDelegate") != Nil) return;
  objc::ClassDefinition("GmailAppDelegate", objc_getClass("UIResponder"))
      .member<void*>("_app")
      .method("window", delegate_window)
      .method("showInbox", delegate_show_inbox)
      .method("showThread:", delegate_show_thread)
      .method("showCompose", delegate_show_compose)
      .method("showSidePanel", delegate_show_side_panel)
      .method("showDatePicker", delegate_show_date_picker)
      .method("showPasscode", delegate_show_passcode)
      .method("openLink:", delegate_open_link)
      .finish();
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
  define_delegate_class();
  delegate_ = Ref::adopt(msg<id>(objc_getClass("GmailAppDelegate"), "new"));
  kDelegateApp.of(delegate_) = this;
  msg<void>(msg<id>(objc_getClass("UIApplication"), "sharedApplication"), "setDelegate:",
            delegate_.get());
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
id HostApp::show_thread(const std::string& subject, const std::string& body) {
  return show(make_thread(subject, body));
}
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
