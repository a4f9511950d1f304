#include "tenebrasettings/my_tweaks_controller.h"

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "tenebrasettings/links.h"
#include "tenebrasettings/specifier_list.h"

namespace tenebrasettings {
namespace {

using objc::msg;

id specifiers(id self, SEL) { return specifier_list(self, "my_tweaks"); }

// A title that leaves no package name once lower-cased and without spaces
// (none at all, or characters no package name holds) opens nothing.
void open_package_link(id, SEL, id specifier) {
  id title = msg<id>(specifier, "name");
  if (!msg<BOOL>(title, "isKindOfClass:", objc_getClass("NSString"))) return;
  id package = msg<id>(msg<id>(title, "lowercaseString"),
                       "stringByReplacingOccurrencesOfString:withString:", NSSTR(" "), NSSTR(""));
  if (!is_package_name(ns::characters(package))) return;
  id link = msg<id>(ns::string(kPackageLinkPrefix), "stringByAppendingString:", package);
  open_link(msg<id>(objc_getClass("NSURL"), "URLWithString:", link));
}

}  // namespace

void define_my_tweaks_controller() {
  objc::ClassDefinition("MyTweaksController", objc_getClass("PSListController"))
      .method("specifiers", specifiers)
      .method("openPackageLink:", open_package_link)
      .finish();
}

}  // namespace tenebrasettings
