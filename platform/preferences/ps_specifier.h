// PSSpecifier: one cell of a preference page. It holds the cell's title
// (`name`), its kind (`cellType`), its properties (the item's keys from the
// page's property list, among them "id", "key", "defaults", "default" and
// "PostNotification"), the object the cell talks to (`target`, not
// retained, as the framework keeps it) and the selectors it sends there:
// the getter and setter of a value cell, the action of a button, and the
// controller class of a link to a sub-page.
//
// -performGetter and -performSetterWithValue: send the getter and setter to
// the target only when the target answers them with the shapes the framework
// calls them with (`-(id)get:(PSSpecifier*)`, `-(void)set:(id)value
// specifier:(PSSpecifier*)`); otherwise the getter gives nil and the setter
// does nothing.
#pragma once

#include "platform/objc/runtime.h"

namespace ps {

void define_specifier_class();

// Whether `target` answers `selector` with a method whose type encoding has
// the signature `encoding` (frame offsets aside).
bool answers_with(id target, SEL selector, const char* encoding);

}  // namespace ps
