// Key-value coding on NSObject: `valueForKey:` and `setValue:forKey:` reach
// a property by its accessors when the class has them (get<Key>, <key>,
// is<Key>, _<key>; set<Key>:, _set<Key>:) and otherwise its instance
// variable by name (_<key>, _is<Key>, <key>, is<Key>), as Foundation does.
// Scalars travel as NSNumbers; an object member retains what is stored in it
// and releases what it held. A key nothing answers raises
// NSUnknownKeyException; nil for a scalar raises NSInvalidArgumentException.
#pragma once

namespace ns {

// Adds the two methods to NSObject; called after NSNumber is defined.
void define_key_value_coding();

}  // namespace ns
