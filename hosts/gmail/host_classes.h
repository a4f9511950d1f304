// The app's own classes and the platform's private ones that the theme names,
// defined at run time as subclasses of the stand-ins they derive from, with
// the members and methods the theme reads. A host made for another app
// version can leave some of them out.
#pragma once

#include <set>
#include <string>

namespace host {

// Defines every host class whose name is not in `omitted` (once per
// process: the runtime cannot take a class back).
void define_host_classes(const std::set<std::string>& omitted);

}  // namespace host
