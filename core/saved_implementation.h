// A saved-implementation slot: the implementation a class answered a
// selector with before its rule was installed. Written once by the hook
// installation, then read by exactly one rule each time it calls through.
#pragma once

#include <string>

#include "platform/objc/runtime.h"
#include "platform/objc/type_encoding.h"

namespace tenebra {

template <typename Fn>
class SavedImplementation;

template <typename R, typename... Args>
class SavedImplementation<R(id, SEL, Args...)> {
 public:
  using Function = R(id, SEL, Args...);

  IMP* slot() { return &imp_; }
  bool empty() const { return imp_ == nullptr; }

  // Calls through with the receiver and selector the rule itself received.
  R operator()(id self, SEL cmd, Args... args) const {
    return objc::from_imp<Function>(imp_)(self, cmd, args...);
  }

  static std::string encoding() { return objc::method_encoding<R, Args...>(); }

 private:
  IMP imp_ = nullptr;
};

}  // namespace tenebra
