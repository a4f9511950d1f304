#include "tenebrasettings/links.h"

#include "platform/objc/message.h"

namespace tenebrasettings {

using objc::msg;

void open_link(id url) {
  if (url == nil) return;
  id application = msg<id>(objc_getClass("UIApplication"), "sharedApplication");
  if (msg<BOOL>(application,
                "respondsToSelector:", objc::sel("openURL:options:completionHandler:"))) {
    msg<void>(application, "openURL:options:completionHandler:", url,
              msg<id>(objc_getClass("NSDictionary"), "dictionary"), nullptr);
  } else {
    msg<BOOL>(application, "openURL:", url);
  }
}

bool is_package_name(std::u16string_view name) {
  auto lower_or_digit = [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
  };
  if (name.empty() || !lower_or_digit(name.front())) return false;
  for (char16_t c : name) {
    if (!lower_or_digit(c) && c != u'+' && c != u'-' && c != u'.') return false;
  }
  return true;
}

}  // namespace tenebrasettings
