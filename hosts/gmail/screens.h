// The app's screens, each a view controller whose view tree is built and
// coloured the way the app builds and colours it: the inbox with the open
// search bar, its thread rows and the floating compose button, a thread with
// its subject, a compose screen with the keyboard promotion, the
// schedule-send date picker, the app lock's PIN keypad, and the in-app Safari
// view that a link opens. The side panel has a file of its own.
#pragma once

#include <string>

#include "platform/objc/ref.h"

namespace host {

objc::Ref make_inbox();
// `body`, when not empty, is the mail's HTML, loaded into a web view below
// the subject.
objc::Ref make_thread(const std::string& subject, const std::string& body = {});
// Its controller's `bodyView` is the text view that takes the keyboard.
objc::Ref make_compose();
objc::Ref make_date_picker();
objc::Ref make_passcode();
// Nil when `url` is no web address: the app then opens nothing.
objc::Ref make_link(const std::string& url);

}  // namespace host
