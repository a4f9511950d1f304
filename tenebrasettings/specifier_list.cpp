#include "tenebrasettings/specifier_list.h"

#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace tenebrasettings {

const objc::Member<id> kSpecifiers{"PSListController", "_specifiers"};

id specifier_list(id controller, const char* name) {
  id& specifiers = kSpecifiers.of(controller);
  if (specifiers == nil) {
    specifiers = objc::msg<id>(controller, "loadSpecifiersFromPlistName:target:", ns::string(name),
                               controller);
    objc::retain_object(specifiers);
  }
  return specifiers;
}

}  // namespace tenebrasettings
