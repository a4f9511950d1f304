// What `tenebra hooks` shows: every row of the hook registry, in order, with
// its class, side, selector and state in the running process.
#pragma once

#include <string>
#include <vector>

#include "platform/objc/runtime.h"

namespace hooks {

enum class HookState {
  kInstalled,     // the class answers the selector with the library's rule
  kNotInstalled,  // the class is there, but its method is not the rule
  kClassAbsent,   // the app has no class of that name
};

struct HookRow {
  int number;
  std::string class_name;
  bool class_side;
  std::string selector;
  HookState state;
  // The rule the class answers with, when installed.
  IMP implementation = nullptr;
};

// The rows as the runtime stands now. A row counts as installed when the
// class's own method for the selector (the metaclass's, for a class row) has
// its implementation inside the loaded library Tenebra.dylib.
std::vector<HookRow> hook_rows();

// "32  UIImageView  instance  setImage:  installed", in aligned columns.
std::string format_hook_row(const HookRow& row);

}  // namespace hooks
