// NSURL as the theme's callers use it: a URL made from its text, which it
// keeps as given, with its scheme (the letters before the first colon, when
// they form a valid scheme). A text that is absent gives no URL.
#pragma once

namespace ns {

// Defines NSURL; called once at platform start, after NSString.
void define_url_classes();

}  // namespace ns
