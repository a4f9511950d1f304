#include "platform/objc/class_definition.h"

#include "platform/objc/dispatch.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace objc {
namespace {

[[noreturn]] void definition_error(const char* what, const char* detail) {
  std::fprintf(stderr, "objc: %s: %s\n", what, detail);
  std::abort();
}

// Every non-trivial member of each class and of its ancestors, root first;
// filled when a class is registered.
struct LifecycleTable {
  std::mutex lock;
  std::unordered_map<Class, std::vector<MemberLifecycle>> by_class;

  static LifecycleTable& shared() {
    static auto* table = new LifecycleTable;  // lives for the process, like the classes
    return *table;
  }

  const std::vector<MemberLifecycle>* find(Class cls) {
    std::lock_guard guard(lock);
    auto it = by_class.find(cls);
    return it == by_class.end() ? nullptr : &it->second;
  }
};

}  // namespace

ClassDefinition::ClassDefinition(const char* name, Class superclass) {
  if (objc_getClass(name) != Nil) definition_error("class defined twice", name);
  cls_ = objc_allocateClassPair(superclass, name, 0);
  if (cls_ == Nil) definition_error("cannot allocate class", name);
}

ClassDefinition ClassDefinition::extend(Class existing) {
  if (existing == Nil) definition_error("cannot extend", "nil class");
  return ClassDefinition(existing);
}

void ClassDefinition::add_member(const char* name, std::size_t size, std::size_t alignment,
                                 const std::string& encoding) {
  if (registered_) definition_error("members can only be added before registration", name);
  auto log2_alignment = static_cast<std::uint8_t>(std::countr_zero(alignment));
  if (!class_addIvar(cls_, name, size, log2_alignment, encoding.c_str())) {
    definition_error("cannot add member", name);
  }
}

void ClassDefinition::add_method(Class target, const char* selector, IMP imp,
                                 const std::string& types, std::size_t argument_count) {
  auto colons = static_cast<std::size_t>(std::count(selector, selector + std::strlen(selector), ':'));
  if (colons != argument_count) definition_error("selector and argument count differ", selector);
  if (!class_addMethod(target, sel_registerName(selector), imp, types.c_str())) {
    // The class has its own method already: a definition replaces it.
    set_implementation(target, class_getInstanceMethod(target, sel_registerName(selector)), imp);
  }
}

Class ClassDefinition::finish() {
  if (registered_) return cls_;
  objc_registerClassPair(cls_);
  registered_ = true;

  auto& table = LifecycleTable::shared();
  std::vector<MemberLifecycle> all;
  if (Class super = class_getSuperclass(cls_)) {
    if (const auto* inherited = table.find(super)) all = *inherited;
  }
  for (auto& lifecycle : lifecycles_) {
    lifecycle.offset = ivar_getOffset(class_getInstanceVariable(cls_, lifecycle.name.c_str()));
    all.push_back(lifecycle);
  }
  std::lock_guard guard(table.lock);
  table.by_class[cls_] = std::move(all);
  return cls_;
}

void construct_members(id object) {
  const auto* lifecycles = LifecycleTable::shared().find(object_getClass(object));
  if (lifecycles == nullptr) return;
  for (const auto& lifecycle : *lifecycles) {
    lifecycle.construct(reinterpret_cast<char*>(object) + lifecycle.offset);
  }
}

void destroy_members(id object) {
  const auto* lifecycles = LifecycleTable::shared().find(object_getClass(object));
  if (lifecycles == nullptr) return;
  for (auto it = lifecycles->rbegin(); it != lifecycles->rend(); ++it) {
    it->destroy(reinterpret_cast<char*>(object) + it->offset);
  }
}

std::ptrdiff_t member_offset(Class cls, const char* name) {
  if (cls == Nil) return -1;
  Ivar ivar = class_getInstanceVariable(cls, name);
  return ivar == nullptr ? -1 : ivar_getOffset(ivar);
}



std::ptrdiff_t required_member_offset(const char* class_name, const char* member_name) {
  std::ptrdiff_t offset = member_offset(objc_getClass(class_name), member_name);
  if (offset < 0) definition_error("no such member", member_name);
  return offset;
}

}  // namespace objc
