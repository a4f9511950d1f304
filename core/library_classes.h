// The classes and categories the library brings into the process.
#pragma once

namespace tenebra {

// Attaches the library's own classes and categories (the colour category,
// the obfuscator and Helper), as the runtime does when it loads the library.
void register_library_classes();

}  // namespace tenebra
