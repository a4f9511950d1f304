// Obfuscator, the runtime class of the string obfuscator: keys derived from
// salts, a process-wide salt store, revealing masked texts, and the generator
// side that writes masked texts as source text to the log. No other part of
// the library calls it; it is reached through the runtime like any platform
// class (and so from the console).
//
// Class lists. On the device `newWithSalt:` and `storeKey:forSalt:` take a C
// variadic list of classes ended by nil. A variadic implementation cannot be
// reached safely by a send with a fixed set of arguments (it would read past
// them), so here:
//  - `newWithSalt:` (Class) and `storeKey:forSalt:` (id, Class) take the list's
//    first class only, the list then ending; an absent first class gives the
//    empty salt text;
//  - `newWithSaltClasses:` (id) and `storeKey:forSaltClasses:` (id, id) take
//    the whole list as an NSArray (or NSSet), which ends at its first element that is
//    not a class (as `stringFromClasses:` joins them; NSNull stands for the
//    nil that ends a C list);
//  - C++ callers use `new_with_salt` and `store_key_for_salt` below, which
//    take the list as written on the device, first Nil ending it, and send
//    the NSArray forms.
//
// Where the device's behaviour is unsound, this class does the sound thing:
//  - `reveal:` on an object with no key or an empty key reveals nothing (nil)
//    instead of reading past the key;
//  - `reveal:` XORs the masked bytes as they are, so texts that are not
//    ASCII come back too (see obfuscator::reveal);
//  - `convertNSStringtoCString:` answers NULL when the allocation fails;
//  - `printHex:WithKey:` of an empty text writes an array of the terminating
//    zero alone, "const unsigned char _key[] = { 0x00 };".
// `CStringToNSString:` reads bytes as ISO Latin-1, the platform's 8-bit
// C-string encoding here. `logCodeWithSuccessful:unsuccessful:` writes an
// absent "original" or "obfuscated" as the empty text. A key name that is not
// a text stores nothing and finds nothing.
#pragma once

#include <initializer_list>

#include "platform/objc/runtime.h"

namespace obfuscator {

// Defines the Obfuscator class with the runtime. The library's start-up calls
// it; calling it again does nothing.
void register_obfuscator_class();

// [Obfuscator newWithSalt:first, ..., nil]: a new, owned Obfuscator keyed by
// the names of the classes up to the first Nil.
id new_with_salt(std::initializer_list<Class> classes);

// [Obfuscator storeKey:name forSalt:first, ..., nil].
void store_key_for_salt(id name, std::initializer_list<Class> classes);

}  // namespace obfuscator
