// A preference page's property list turned into specifiers, as the
// framework reads it. The root is a dictionary whose "items" array lists the
// cells in order and whose "title" is the page's title. Each item is a
// dictionary; all its entries become the specifier's properties, and these
// keys shape the cell:
//
//   "cell"        the kind: "PSGroupCell", "PSSwitchCell", "PSLinkCell",
//                 "PSButtonCell", "PSStaticTextCell" (an item of another
//                 kind, or without one, is left out with a log line)
//   "label"       the title (`name`)
//   "id"          the identifier (else the title)
//   "action"      a button's action, sent to the target
//   "detail"      a link's controller class, looked up in the page's bundle
//                 first, then among every class
//   "get", "set"  the value getter and setter, by default
//                 readPreferenceValue: and setPreferenceValue:specifier:
//   "footerText"  a group's footer
//   "defaults", "key", "default", "PostNotification": the stored value's
//                 domain, key, default and change notification, read by the
//                 page's getter and setter
//
// An item that is not a dictionary is left out with a log line. Texts
// that should be texts (cell, label, action, detail, get, set) are ignored
// when they are not.
#pragma once

#include "platform/objc/runtime.h"

namespace ps {

// The specifiers of the property list `plist` (an autoreleased mutable
// array, empty when `plist` is no dictionary with an "items" array), each
// with `target` as its target; `bundle` is where "detail" classes are
// looked up first. `name` names the list in log lines.
id specifiers_from_plist(id plist, id target, id bundle, id name);

}  // namespace ps
