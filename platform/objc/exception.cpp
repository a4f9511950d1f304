#include "platform/objc/exception.h"

#include <cstdio>
#include <cstdlib>

#include "platform/objc/message.h"

namespace objc {

void raise(const char* name, const std::string& reason) {
  // The exception class lives in Foundation, above this layer: reach it by name.
  Class exception_class = objc_getClass("NSException");
  Class string_class = objc_getClass("NSString");
  if (exception_class == Nil || string_class == Nil) {
    std::fprintf(stderr, "objc: %s: %s\n", name, reason.c_str());
    std::abort();
  }
  id name_text = msg<id>(string_class, "stringWithUTF8String:", name);
  id reason_text = msg<id>(string_class, "stringWithUTF8String:", reason.c_str());
  id exception =
      msg<id>(exception_class, "exceptionWithName:reason:userInfo:", name_text, reason_text, nil);
  msg<void>(exception, "raise");
  std::abort();  // raise never returns
}

}  // namespace objc
