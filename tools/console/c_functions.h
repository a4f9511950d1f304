// The platform's C functions the console can call by name, as a debugger's
// expression evaluator calls them: UIKit's image-context functions and
// UIImagePNGRepresentation, CoreGraphics' image getters and context calls.
// Each is called through libffi with the types its own signature gives.
#pragma once

#include <string>
#include <string_view>

namespace console {

struct CFunction {
  const char* name;
  std::string types;  // result first, then each argument
  void (*address)();
};

// The function of that name, or null.
const CFunction* find_c_function(std::string_view name);

}  // namespace console
