// A class for the console's tests to talk to: methods of every argument and
// result kind the console passes, an init that replaces its receiver, a
// method that raises, and a count of deallocations to check ownership by.
#pragma once

#include "platform/objc/runtime.h"

namespace console_test {

struct Odd {
  char c;
  double d;
  int i;
};

// Defines ConsoleProbe once; its instances count their deallocations.
Class probe_class();
int probe_deallocations();

}  // namespace console_test
