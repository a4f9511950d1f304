// The Settings app model: a process that plays the device's Settings app as
// far as a preference bundle sees it. Launching it loads the tweaks whose
// filters name the Settings app (the same loader the Gmail model uses) and
// tells the system which URL schemes its apps claim. PreferenceLoader's
// entries under /Library/PreferenceLoader/Preferences name the panes; opening
// one loads its bundle from /Library/PreferenceBundles, makes an instance of
// its principal class and shows its page. On a page the user reads the
// cells, flips a switch (the framework calls the page's
// setPreferenceValue:specifier:), taps a button (its action is sent to the
// page) or opens a linked sub-page, exactly as the framework drives a pane.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/tweak_loader.h"
#include "platform/objc/ref.h"

namespace host {

inline constexpr const char* kSettingsBundleIdentifier = "com.apple.Preferences";
inline constexpr const char* kSettingsExecutable = "Preferences";
inline constexpr const char* kSettingsBundlePath = "/Applications/Preferences.app";
inline constexpr const char* kPreferenceEntries = "/Library/PreferenceLoader/Preferences";
inline constexpr const char* kPreferenceBundles = "/Library/PreferenceBundles";

struct SettingsOptions {
  // URL schemes that apps on the device claim, beyond the system's own.
  std::vector<std::string> installed_url_schemes;
  // False models a system whose application object lacks
  // openURL:options:completionHandler:.
  bool answers_open_url_with_options = true;
  bool load_tweaks = true;
};

enum class CellKind { kGroup, kSwitch, kLink, kButton, kText };

// One cell of a page as the user sees it.
struct Cell {
  CellKind kind = CellKind::kText;
  std::string label;
  std::string key;     // a switch's stored key
  std::string footer;  // a group's footer text
  id specifier = nil;  // the page's own, valid while the page lives
};

// What an action gave: an error (empty when it went through), the lines the
// pane logged meanwhile and the URLs the system opened.
struct ActionReport {
  std::string error;
  std::vector<std::string> log;
  std::vector<std::string> opened_urls;
};

// A page on screen: a list controller of a pane.
class SettingsPage {
 public:
  explicit SettingsPage(objc::Ref controller) : controller_(std::move(controller)) {}

  std::string title() const;
  // The cells, asked of the page anew (the framework asks whenever it draws).
  std::vector<Cell> cells() const;
  // The value a cell shows, as its page reads it now.
  id value(const Cell& cell) const;
  id controller() const { return controller_; }

  // The switch whose key is `key`, or the cell of `kind` labelled `label`
  // (compared without regard to case).
  std::optional<Cell> switch_for_key(std::string_view key) const;
  std::optional<Cell> cell_labelled(CellKind kind, std::string_view label) const;

 private:
  objc::Ref controller_;
};

// A page, or why it could not be shown.
struct PageResult {
  std::optional<SettingsPage> page;
  std::string error;
};

class SettingsApp {
 public:
  explicit SettingsApp(SettingsOptions options = {});

  // Names the main bundle, loads tweaks and sets up the URL system. Once.
  void launch();
  const std::vector<LoadedTweak>& tweaks() const { return tweaks_; }

  // The PreferenceLoader entries' file names without ".plist", sorted.
  std::vector<std::string> entries() const;
  // Opens the pane that the entry `name` names.
  PageResult open_pane(std::string_view name);

  // The user's actions on `page`.
  ActionReport flip(const SettingsPage& page, const Cell& cell, bool on);
  ActionReport tap(const SettingsPage& page, const Cell& cell);
  PageResult open_link(const SettingsPage& page, const Cell& cell);

 private:
  SettingsOptions options_;
  std::vector<LoadedTweak> tweaks_;
  bool launched_ = false;
};

}  // namespace host
