// The links the pane opens: the support mail, the maker's profile in the
// first Twitter client the system can open (else on the web), the donation
// page and the maker's package pages. Each is handed to the system as one
// URL; the pane never learns whether it opened.
#pragma once

#include <string_view>

#include "platform/objc/runtime.h"

namespace tenebrasettings {

inline constexpr const char* kMailLinkFormat = "mailto:support@kestrow.com?subject=%@&body=%@";
inline constexpr const char* kMailSubject = "Tenebra Support";
inline constexpr const char* kWebProfileLink = "http://twitter.com/kestrowmobile";
inline constexpr const char* kDonationLink = "https://www.paypal.me/kestrowmobile";
inline constexpr const char* kPackageLinkPrefix = "https://repo.kestrow.com/package/com.kestrow.";

struct TwitterClient {
  const char* probe;  // the bare scheme, as canOpenURL: is asked
  const char* link;   // the maker's profile in that client
};

// Probed in this order; the first the system can open wins.
inline constexpr TwitterClient kTwitterClients[] = {
    {"tweetbot:", "tweetbot:///user_profile/kestrowmobile"},
    {"twitterrific:", "twitterrific:///profile?screen_name=kestrowmobile"},
    {"tweetings:", "tweetings:///user?screen_name=kestrowmobile"},
    {"twitter:", "twitter://user?screen_name=kestrowmobile"},
};

// Hands `url` to the system: openURL:options:completionHandler: where the
// application object has it, else openURL:. An absent URL opens nothing.
void open_link(id url);

// Whether `name` (UTF-16) can end a package identifier after "com.kestrow.":
// a lower-case letter or digit, then lower-case letters, digits, '+', '-'
// or '.'.
bool is_package_name(std::u16string_view name);

}  // namespace tenebrasettings
