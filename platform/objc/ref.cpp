#include "platform/objc/ref.h"

#include "platform/objc/message.h"

namespace objc {

void retain_object(id object) {
  static SEL retain = sel("retain");
  msg<id>(object, retain);
}

void release_object(id object) {
  static SEL release = sel("release");
  msg<void>(object, release);
}

}  // namespace objc
