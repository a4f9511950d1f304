// The host app model: a process that plays the Gmail app. Launching it
// defines the app's classes, loads the tweaks whose filters name the app (as
// the substrate does, before the app's own start-up), then builds the app's
// first screen. The caller then runs the main run loop. The application
// object's delegate is the app's: [[UIApplication sharedApplication]
// delegate] shows any screen (showInbox, showThread:, showCompose,
// showSidePanel, showDatePicker, showPasscode, openLink:) and answers its controller, and
// keyWindow is the window they are shown in.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "hosts/tweak_loader.h"
#include "platform/objc/ref.h"

namespace host {

inline constexpr const char* kGmailBundleIdentifier = "com.google.Gmail";
inline constexpr const char* kGmailExecutable = "Gmail";
inline constexpr const char* kAppBundlePath = "/var/containers/Bundle/Application/Gmail.app";

struct HostOptions {
  std::string bundle_identifier = kGmailBundleIdentifier;
  std::string executable_name = kGmailExecutable;
  // App classes this app version lacks.
  std::set<std::string> omitted_classes;
  bool load_tweaks = true;
};

class HostApp {
 public:
  explicit HostApp(HostOptions options = {});

  // Defines classes, loads tweaks and builds the first screen. Once.
  void launch();

  const std::vector<LoadedTweak>& tweaks() const { return tweaks_; }
  // The key window, whose root view controller shows the current screen.
  id window() const { return window_; }
  // The status bar along the top of the window, above every screen.
  id status_bar() const { return status_bar_; }

  // Shows a screen as the window's root, as the app's navigation does; the
  // previous screen's keyboard goes down. Each answers the screen's
  // controller.
  id show_inbox();
  id show_thread(const std::string& subject, const std::string& body = {});
  // The compose screen's body takes the keyboard.
  id show_compose();
  id show_date_picker();
  id show_passcode();
  // The side panel, opened over the inbox's place.
  id show_side_panel();
  // The in-app Safari view for a link; nil, and the screen unchanged, for a
  // text that is no web address.
  id open_link(const std::string& url);

 private:
  void build_first_screen();
  id show(objc::Ref controller);

  HostOptions options_;
  std::vector<LoadedTweak> tweaks_;
  objc::Ref window_;
  objc::Ref status_bar_;
  objc::Ref delegate_;
  bool launched_ = false;
};

}  // namespace host
