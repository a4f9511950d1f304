// notify_poster NAME COUNT: posts the Darwin notification NAME COUNT times
// under the device root that TENEBRA_DEVICE_ROOT names.
#include <cstdio>
#include <cstdlib>

#include "platform/corefoundation/cf_notification_center.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: notify_poster NAME COUNT\n");
    return 64;
  }
  ns::AutoreleasePool pool;
  id name = ns::string(argv[1]);
  for (long i = std::strtol(argv[2], nullptr, 10); i > 0; --i) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr,
                                         nil, true);
  }
  return 0;
}
