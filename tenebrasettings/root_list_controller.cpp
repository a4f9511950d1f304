#include "tenebrasettings/root_list_controller.h"

#include "platform/foundation/format.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "tenebrasettings/links.h"
#include "tenebrasettings/settings_file.h"
#include "tenebrasettings/specifier_list.h"

namespace tenebrasettings {
namespace {

using objc::msg;

id specifiers(id self, SEL) { return specifier_list(self, "Root"); }

id read_preference_value(id, SEL, id specifier) { return read_preference(specifier); }

void set_preference_value(id, SEL, id value, id specifier) { write_preference(value, specifier); }

// The subject fills the first placeholder and the empty body the second;
// the whole link is then encoded as a URL query is.
void open_email(id, SEL) {
  id link = ns::format(ns::string(kMailLinkFormat), ns::string(kMailSubject), ns::string(""));
  id encoded = msg<id>(link, "stringByAddingPercentEncodingWithAllowedCharacters:",
                       msg<id>(objc_getClass("NSCharacterSet"), "URLQueryAllowedCharacterSet"));
  open_link(msg<id>(objc_getClass("NSURL"), "URLWithString:", encoded));
}

void open_twitter(id, SEL) {
  id application = msg<id>(objc_getClass("UIApplication"), "sharedApplication");
  Class url = objc_getClass("NSURL");
  const char* chosen = kWebProfileLink;
  for (const TwitterClient& client : kTwitterClients) {
    if (msg<BOOL>(application,
                  "canOpenURL:", msg<id>(url, "URLWithString:", ns::string(client.probe)))) {
      chosen = client.link;
      break;
    }
  }
  open_link(msg<id>(url, "URLWithString:", ns::string(chosen)));
}

void open_paypal(id, SEL) {
  open_link(msg<id>(objc_getClass("NSURL"), "URLWithString:", ns::string(kDonationLink)));
}

}  // namespace

void define_root_list_controller() {
  objc::ClassDefinition("TNBRootListController", objc_getClass("PSListController"))
      .method("specifiers", specifiers)
      .method("readPreferenceValue:", read_preference_value)
      .method("setPreferenceValue:specifier:", set_preference_value)
      .method("openEmail", open_email)
      .method("openTwitter", open_twitter)
      .method("openPayPal", open_paypal)
      .finish();
}

}  // namespace tenebrasettings
