#include "tenebrasettings/settings_file.h"

#include "platform/corefoundation/cf_notification_center.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "tenebrasettings/settings_backup.h"

namespace tenebrasettings {
namespace {

using objc::msg;

id property(id specifier, const char* key) {
  return msg<id>(specifier, "propertyForKey:", ns::string(key));
}

bool is_text(id object) { return msg<BOOL>(object, "isKindOfClass:", objc_getClass("NSString")); }

// The settings file of the cell's domain, or nil when the domain is not plain.
id settings_file_path(id specifier) {
  id domain = property(specifier, "defaults");
  if (!is_text(domain) || !is_plain_domain(ns::characters(domain))) return nil;
  return ns::format(NSSTR("/User/Library/Preferences/%@.plist"), domain);
}

}  // namespace

bool is_plain_domain(std::u16string_view domain) {
  return !domain.empty() && domain.find(u'/') == std::u16string_view::npos &&
         domain.find(u'\0') == std::u16string_view::npos &&
         domain.find(u"..") == std::u16string_view::npos;
}

id read_preference(id specifier) {
  id path = settings_file_path(specifier);
  id key = property(specifier, "key");
  id stored =
      path != nil && key != nil
          ? msg<id>(msg<id>(objc_getClass("NSDictionary"), "dictionaryWithContentsOfFile:", path),
                    "objectForKey:", key)
          : nil;
  return stored != nil ? stored : property(specifier, "default");
}

void write_preference(id value, id specifier) {
  id key = property(specifier, "key");
  if (key == nil || value == nil) {
    NSLog(NSSTR("Tenebra: %@ has no %s to store"), msg<id>(specifier, "name"),
          key == nil ? "key" : "value");
    return;
  }
  id path = settings_file_path(specifier);
  if (path == nil) {
    NSLog(NSSTR("Tenebra: cannot store %@: \"%@\" is no preferences domain"), key,
          property(specifier, "defaults"));
    return;
  }
  Class mutable_dictionary = objc_getClass("NSMutableDictionary");
  id preferences = msg<id>(mutable_dictionary, "dictionaryWithContentsOfFile:", path);
  if (preferences == nil) {
    if (!keep_unreadable_file(path)) {
      NSLog(NSSTR("Tenebra: cannot store %@: %@ cannot be read as settings and no copy of it "
                  "can be kept"),
            key, path);
      return;
    }
    preferences = msg<id>(mutable_dictionary, "dictionary");
  }
  msg<void>(preferences, "setObject:forKey:", value, key);
  if (!msg<BOOL>(preferences, "writeToFile:atomically:", path, YES)) {
    NSLog(NSSTR("Tenebra: cannot store %@: %@ cannot be written"), key, path);
    return;
  }
  id notification = property(specifier, "PostNotification");
  if (is_text(notification)) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), notification,
                                         nullptr, nullptr, true);
  }
}

}  // namespace tenebrasettings
