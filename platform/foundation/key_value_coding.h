// Key-value coding on NSObject for object values: `valueForKey:` and
// `setValue:forKey:` use the key's accessor when the object has one that
// gives or takes an object, else its object member named after the key
// ("_key", then "key"), retaining what they store. A key with neither raises
// NSUnknownKeyException, as Foundation does.
#pragma once

namespace ns {

// Adds the two methods to NSObject; called once at platform start.
void define_key_value_coding();

}  // namespace ns
