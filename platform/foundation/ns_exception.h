// NSException, the platform's exception class. `raise` throws the object as
// an objc::Exception (see platform/objc/exception.h).
#pragma once

#include <string>

#include "platform/objc/runtime.h"

namespace ns {

void define_exception_classes();

// The exception's name and reason texts, for readers in C++.
std::string exception_name(id exception);
std::string exception_reason(id exception);

}  // namespace ns
