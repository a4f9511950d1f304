#include "hosts/settings/settings_app.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include "platform/device/device_paths.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_file_manager.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/preferences/preferences.h"

namespace host {
namespace {

using objc::msg;
using objc::Ref;

CellKind kind_of(long type) {
  switch (type) {
    case ps::PSGroupCell:
      return CellKind::kGroup;
    case ps::PSSwitchCell:
      return CellKind::kSwitch;
    case ps::PSLinkCell:
      return CellKind::kLink;
    case ps::PSButtonCell:
      return CellKind::kButton;
    default:
      return CellKind::kText;
  }
}

std::string text_property(id specifier, const char* key) {
  id value = msg<id>(specifier, "propertyForKey:", ns::string(key));
  return ns::is_string(value) ? ns::utf8(value) : std::string();
}

bool same_label(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

bool is_subclass(Class cls, const char* ancestor) {
  for (Class at = cls; at != Nil; at = class_getSuperclass(at)) {
    if (at == objc_getClass(ancestor)) return true;
  }
  return false;
}

id application() { return msg<id>(objc_getClass("UIApplication"), "sharedApplication"); }

std::size_t opened_count() {
  return static_cast<std::size_t>(
      msg<unsigned long>(msg<id>(application(), "openedURLs"), "count"));
}

// A log message without the line end it may carry.
std::string log_line(std::string message) {
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

// Runs one action of the user's, collecting what the pane logs, the URLs the
// system opens and any exception the pane raises.
ActionReport observe(const std::function<void()>& action) {
  ActionReport report;
  ns::AutoreleasePool pool;
  const std::size_t opened_before = opened_count();
  {
    ns::LogCapture capture;
    try {
      action();
    } catch (const objc::Exception& raised) {
      report.error = "the pane raised " + ns::exception_name(raised.object()) + ": " +
                     ns::exception_reason(raised.object());
    }
    for (const std::string& message : capture.messages()) report.log.push_back(log_line(message));
  }
  const std::vector<id> opened = ns::array_items(msg<id>(application(), "openedURLs"));
  for (std::size_t i = opened_before; i < opened.size(); ++i) {
    report.opened_urls.push_back(ns::utf8(msg<id>(opened[i], "absoluteString")));
  }
  return report;
}

PageResult failure(std::string error) { return {std::nullopt, std::move(error)}; }

}  // namespace

std::string SettingsPage::title() const { return ns::utf8(msg<id>(controller_, "title")); }

std::vector<Cell> SettingsPage::cells() const {
  std::vector<Cell> cells;
  for (id specifier : ns::array_items(msg<id>(controller_, "specifiers"))) {
    Cell cell;
    cell.kind = kind_of(msg<long>(specifier, "cellType"));
    cell.label = ns::utf8(msg<id>(specifier, "name"));
    cell.key = text_property(specifier, "key");
    cell.footer = text_property(specifier, "footerText");
    cell.specifier = specifier;
    cells.push_back(std::move(cell));
  }
  return cells;
}

id SettingsPage::value(const Cell& cell) const { return msg<id>(cell.specifier, "performGetter"); }

std::optional<Cell> SettingsPage::switch_for_key(std::string_view key) const {
  for (Cell& cell : cells()) {
    if (cell.kind == CellKind::kSwitch && cell.key == key) return cell;
  }
  return std::nullopt;
}

std::optional<Cell> SettingsPage::cell_labelled(CellKind kind, std::string_view label) const {
  for (Cell& cell : cells()) {
    if (cell.kind == kind && same_label(cell.label, label)) return cell;
  }
  return std::nullopt;
}

SettingsApp::SettingsApp(SettingsOptions options) : options_(std::move(options)) {}

void SettingsApp::launch() {
  if (launched_) return;
  launched_ = true;
  ns::AutoreleasePool pool;
  ns::set_main_bundle(kSettingsBundlePath, kSettingsBundleIdentifier);
  if (options_.load_tweaks) tweaks_ = load_tweaks(kSettingsBundleIdentifier, kSettingsExecutable);
  std::vector<id> schemes;
  for (const std::string& scheme : options_.installed_url_schemes) {
    schemes.push_back(ns::string(scheme));
  }
  msg<void>(application(), "setInstalledURLSchemes:", ns::array(schemes));
  msg<void>(application(), "setAnswersOpenURLWithOptions:",
            static_cast<BOOL>(options_.answers_open_url_with_options));
}

std::vector<std::string> SettingsApp::entries() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(device::resolve(kPreferenceEntries), error)) {
    if (entry.path().extension() == ".plist") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

PageResult SettingsApp::open_pane(std::string_view name) {
  ns::AutoreleasePool pool;
  const std::string entry_path =
      std::string(kPreferenceEntries) + "/" + std::string(name) + ".plist";
  id file = msg<id>(objc_getClass("NSDictionary"),
                    "dictionaryWithContentsOfFile:", ns::string(entry_path));
  if (file == nil) return failure("no readable PreferenceLoader entry " + entry_path);
  id entry = msg<id>(file, "objectForKey:", NSSTR("entry"));
  id bundle_name =
      ns::is_dictionary(entry) ? msg<id>(entry, "objectForKey:", NSSTR("bundle")) : nil;
  if (!ns::is_string(bundle_name) || ns::characters(bundle_name).empty()) {
    return failure(entry_path + " names no bundle");
  }
  const std::string bundle_path =
      std::string(kPreferenceBundles) + "/" + ns::utf8(bundle_name) + ".bundle";
  id bundle = msg<id>(objc_getClass("NSBundle"), "bundleWithPath:", ns::string(bundle_path));
  if (bundle == nil) return failure("no bundle at " + bundle_path);

  Class principal = Nil;
  std::string why;
  {
    ns::LogCapture capture;
    principal = msg<Class>(bundle, "principalClass");
    for (const std::string& message : capture.messages()) why += log_line(message);
  }
  if (principal == Nil) {
    return failure("cannot load " + bundle_path +
                   (why.empty() ? ": no principal class" : ": " + why));
  }
  if (!is_subclass(principal, "PSListController")) {
    return failure(std::string("the principal class ") + class_getName(principal) + " of " +
                   bundle_path + " is no PSListController");
  }
  return {SettingsPage(Ref::adopt(msg<id>(principal, "new"))), {}};
}

ActionReport SettingsApp::flip(const SettingsPage&, const Cell& cell, bool on) {
  ActionReport report =
      observe([&] { msg<void>(cell.specifier, "performSetterWithValue:", ns::boolean(on)); });
  if (report.error.empty() && !report.log.empty()) report.error = report.log.front();
  return report;
}

ActionReport SettingsApp::tap(const SettingsPage& page, const Cell& cell) {
  bool performed = true;
  ActionReport report = observe([&] {
    performed = msg<BOOL>(page.controller(), "performActionForSpecifier:", cell.specifier) != NO;
  });
  if (report.error.empty() && !performed) {
    report.error = report.log.empty() ? "\"" + cell.label + "\" has no action" : report.log.front();
  }
  return report;
}

PageResult SettingsApp::open_link(const SettingsPage& page, const Cell& cell) {
  ns::AutoreleasePool pool;
  id controller = msg<id>(page.controller(), "controllerForSpecifier:", cell.specifier);
  if (controller == nil) return failure("\"" + cell.label + "\" leads to no page");
  msg<void>(page.controller(), "pushController:animate:", controller, static_cast<BOOL>(YES));
  return {SettingsPage(Ref::retain(controller)), {}};
}

}  // namespace host
