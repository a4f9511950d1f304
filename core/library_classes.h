// The classes and categories the library brings into the process.
#pragma once

namespace tenebra {

// Attaches the colour category, the script reader and the obfuscator, as the
// runtime does for a library's own classes when it loads the library.
void register_library_classes();

}  // namespace tenebra
