#include "overrides/host/mail_script.h"

#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"

namespace tenebra {
namespace {

using objc::msg;

id helper_get_script(id, SEL) {
  objc::Ref bundle = objc::Ref::adopt(msg<id>(msg<id>(objc_getClass("NSBundle"), "alloc"),
                                              "initWithPath:", NSSTR(kScriptBundlePath)));
  id path = msg<id>(bundle, "pathForResource:ofType:", NSSTR(kScriptResourceName),
                    NSSTR(kScriptResourceType));
  if (path == nil) return nil;
  return msg<id>(objc_getClass("NSString"), "stringWithContentsOfFile:encoding:error:", path,
                 static_cast<unsigned long>(NSUTF8StringEncoding), static_cast<id*>(nullptr));
}

}  // namespace

void register_helper_class() {
  if (objc_getClass("Helper") != Nil) return;
  objc::ClassDefinition("Helper", objc_getClass("NSObject"))
      .class_method("getScript", helper_get_script)
      .finish();
}

}  // namespace tenebra
