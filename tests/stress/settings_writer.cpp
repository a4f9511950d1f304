// settings_writer COUNT [STORM]: the settings pane's process under stress.
// First posts the change notification STORM times with nothing changed, then
// makes COUNT changes as the pane makes each one (read the settings file as
// a mutable dictionary, set the entry, write the whole file atomically, post
// the notification): "colorEmail" alternates, ending true when COUNT is odd,
// and "change" counts 1 to COUNT.
#include <cstdio>
#include <cstdlib>

#include "platform/corefoundation/cf_notification_center.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"

namespace {

using objc::msg;

constexpr const char* kSettingsPath = "/User/Library/Preferences/com.kestrow.tenebrasettings.plist";
constexpr const char* kSettingsChanged = "com.kestrow.tenebrasettings/settingschanged";

void post() {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       ns::string(kSettingsChanged), nullptr, nil, true);
}

void change(long number) {
  ns::AutoreleasePool pool;
  id path = ns::string(kSettingsPath);
  id file = msg<id>(objc_getClass("NSMutableDictionary"), "dictionaryWithContentsOfFile:", path);
  if (file == nil) file = msg<id>(objc_getClass("NSMutableDictionary"), "dictionary");
  msg<void>(file, "setObject:forKey:", ns::boolean(number % 2 == 1), ns::string("colorEmail"));
  msg<void>(file, "setObject:forKey:", ns::number(number), ns::string("change"));
  msg<BOOL>(file, "writeToFile:atomically:", path, YES);
  post();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: settings_writer COUNT [STORM]\n");
    return 64;
  }
  const long count = std::strtol(argv[1], nullptr, 10);
  const long storm = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
  {
    ns::AutoreleasePool pool;
    for (long i = 0; i < storm; ++i) post();
  }
  for (long number = 1; number <= count; ++number) change(number);
  return 0;
}
