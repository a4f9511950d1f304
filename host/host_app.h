// The host app model: a process that plays the Gmail app. Launching it
// defines the app's classes, loads the tweaks whose filters name the app (as
// the substrate does, before the app's own start-up), then builds the app's
// first screen. The caller then runs the main run loop.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "host/tweak_loader.h"
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
  // The key window, whose root view controller shows the inbox.
  id window() const { return window_; }

 private:
  void build_first_screen();

  HostOptions options_;
  std::vector<LoadedTweak> tweaks_;
  objc::Ref window_;
  bool launched_ = false;
};

}  // namespace host
