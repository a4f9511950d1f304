#include "platform/objc/message.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/objc/exception.h"

namespace objc {

SendProbe send_probe = nullptr;

}  // namespace objc

namespace objc::detail {

void raise_unrecognized_selector(id receiver, SEL sel) {
  const bool is_class = class_isMetaClass(object_getClass(receiver));
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<void*>(receiver));
  raise("NSInvalidArgumentException",
        std::string(is_class ? "+[" : "-[") + class_getName(object_getClass(receiver)) + " " +
            sel_getName(sel) + "]: unrecognized selector sent to " +
            (is_class ? "class " : "instance ") + address);
}

void verify_send(Class search_class, id receiver, SEL sel, const std::string& expected) {
  Method method = class_getInstanceMethod(search_class, sel);
  if (method == nullptr) raise_unrecognized_selector(receiver, sel);
  const char* actual = method_getTypeEncoding(method);
  if (!same_signature(actual, expected)) {
    std::fprintf(stderr,
                 "objc: signature mismatch sending %s to %s: the method is \"%s\", the call is "
                 "\"%s\"\n",
                 sel_getName(sel), class_getName(object_getClass(receiver)), actual,
                 expected.c_str());
    std::abort();
  }
}

}  // namespace objc::detail
