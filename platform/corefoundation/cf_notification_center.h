// CoreFoundation's notification center interface, for the one center the
// system needs: the Darwin notify center, which carries notifications by
// name between processes. A Darwin notification has a name and nothing
// else: the object and the user-information dictionary given to a post are
// dropped, and callbacks receive neither. Callbacks run on the observing
// process's main run loop, on its main thread, once for each delivered
// notification; several posts close together may arrive as one, but a post
// is always followed by a delivery to every observer of its name (the
// posting process's own observers included).
#pragma once

#include "platform/corefoundation/cf_base.h"

typedef struct CFNotificationCenter* CFNotificationCenterRef;
typedef CFStringRef CFNotificationName;

enum CFNotificationSuspensionBehavior : CFIndex {
  CFNotificationSuspensionBehaviorDrop = 1,
  CFNotificationSuspensionBehaviorCoalesce = 2,
  CFNotificationSuspensionBehaviorHold = 3,
  CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

typedef void (*CFNotificationCallback)(CFNotificationCenterRef center, void* observer,
                                       CFNotificationName name, const void* object,
                                       CFDictionaryRef userInfo);

// The process's Darwin notify center; it lives for the process.
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Calls `callback` with `observer` for each delivered notification named
// `name` (a text; the center keeps its own copy). `object` is ignored. The
// host process is never suspended, so every suspension behaviour delivers
// as coalescing does. Registering the same observer, callback and name again
// changes nothing. A missing center, callback or name is a programmer's
// mistake and stops the process.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);

// Ends `observer`'s registrations for `name`, or for every name when `name`
// is nil; from then on their callbacks are not called, even for
// notifications already on their way. `object` is ignored.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        CFNotificationName name, const void* object);

// Ends every registration of `observer`.
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

// Posts the notification `name` to every process observing it. `object`,
// `userInfo` and `deliverImmediately` are ignored. A post that cannot be
// carried (the notify directory cannot be written) is dropped.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                          const void* object, CFDictionaryRef userInfo,
                                          Boolean deliverImmediately);
