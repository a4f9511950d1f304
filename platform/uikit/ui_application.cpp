#include "platform/uikit/ui_application.h"

#include <set>
#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/uikit/ui_view.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

struct UrlSystem {
  std::set<std::string> schemes{"http", "https", "mailto"};
  std::vector<Ref> opened;
  bool answers_open_url_with_options = true;
};

const objc::Member<UrlSystem> kSystem{"UIApplication", "_urlSystem"};
const objc::Member<Ref> kDelegate{"UIApplication", "_delegate"};

std::string lowercase_scheme(id url) {
  if (!ns::is_kind_of(url, objc_getClass("NSURL"))) return {};
  return ns::utf8(msg<id>(msg<id>(url, "scheme"), "lowercaseString"));
}

id shared_application(id self, SEL) {
  static id shared = msg<id>(self, "new");  // lives for the process
  return shared;
}

BOOL can_open_url(id self, SEL, id url) {
  const std::string scheme = lowercase_scheme(url);
  return !scheme.empty() && kSystem.of(self).schemes.count(scheme) != 0 ? YES : NO;
}

BOOL open_url(id self, SEL, id url) {
  if (!can_open_url(self, nullptr, url)) return NO;
  kSystem.of(self).opened.push_back(Ref::retain(url));
  return YES;
}

// On a system older than this method, calling it raises as any unknown
// selector does.
void open_url_with_options(id self, SEL cmd, id url, id, id) {
  if (!kSystem.of(self).answers_open_url_with_options) {
    objc::detail::raise_unrecognized_selector(self, cmd);
  }
  open_url(self, nullptr, url);
}

void set_installed_url_schemes(id self, SEL, id schemes) {
  std::set<std::string>& installed = kSystem.of(self).schemes;
  installed = {"http", "https", "mailto"};
  for (id scheme : ns::array_items(schemes)) {
    if (ns::is_string(scheme)) installed.insert(ns::utf8(msg<id>(scheme, "lowercaseString")));
  }
}

id installed_url_schemes(id self, SEL) {
  std::vector<id> names;
  for (const std::string& scheme : kSystem.of(self).schemes) names.push_back(ns::string(scheme));
  return ns::array(names);
}

id opened_urls(id self, SEL) {
  std::vector<id> urls;
  for (const Ref& url : kSystem.of(self).opened) urls.push_back(url.get());
  return ns::array(urls);
}

void set_answers_open_url_with_options(id self, SEL, BOOL answers) {
  kSystem.of(self).answers_open_url_with_options = answers != NO;
}

BOOL responds_to_selector(id self, SEL, SEL selector) {
  if (selector == nullptr) return NO;
  if (sel_isEqual(selector, objc::sel("openURL:options:completionHandler:")) &&
      !kSystem.of(self).answers_open_url_with_options) {
    return NO;
  }
  return class_respondsToSelector(object_getClass(self), selector) ? YES : NO;
}

id application_key_window(id, SEL) { return key_window(); }
id application_delegate(id self, SEL) { return kDelegate.of(self); }
void application_set_delegate(id self, SEL, id delegate) {
  kDelegate.of(self) = Ref::retain(delegate);
}

}  // namespace

void define_application_classes() {
  objc::ClassDefinition("UIApplication", objc_getClass("UIResponder"))
      .member<UrlSystem>("_urlSystem")
      .member<Ref>("_delegate")
      .method("keyWindow", application_key_window)
      .method("delegate", application_delegate)
      .method("setDelegate:", application_set_delegate)
      .class_method("sharedApplication", shared_application)
      .method("canOpenURL:", can_open_url)
      .method("openURL:", open_url)
      .method("openURL:options:completionHandler:", open_url_with_options)
      .method("respondsToSelector:", responds_to_selector)
      .method("setInstalledURLSchemes:", set_installed_url_schemes)
      .method("installedURLSchemes", installed_url_schemes)
      .method("openedURLs", opened_urls)
      .method("setAnswersOpenURLWithOptions:", set_answers_open_url_with_options)
      .finish();
}

}  // namespace ui
