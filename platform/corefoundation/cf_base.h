// CoreFoundation's basic types, as the device declares them. CoreFoundation
// texts and dictionaries are the Foundation objects themselves (toll-free
// bridged), so their references are plain object pointers.
#pragma once

#include "platform/objc/runtime.h"

typedef unsigned char Boolean;
typedef long CFIndex;
typedef double CFTimeInterval;
typedef id CFStringRef;
typedef id CFDictionaryRef;
