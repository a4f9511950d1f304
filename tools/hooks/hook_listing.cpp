#include "tools/hooks/hook_listing.h"

#include <dlfcn.h>

#include <cstdio>
#include <string_view>

#include "core/hook_registry.h"
#include "platform/objc/runtime.h"

namespace hooks {
namespace {

bool inside_library(IMP imp) {
  Dl_info info{};
  if (imp == nullptr || dladdr(reinterpret_cast<void*>(imp), &info) == 0 ||
      info.dli_fname == nullptr) {
    return false;
  }
  return std::string_view(info.dli_fname).ends_with("/Tenebra.dylib");
}

const char* state_text(HookState state) {
  switch (state) {
    case HookState::kInstalled:
      return "installed";
    case HookState::kNotInstalled:
      return "not installed";
    case HookState::kClassAbsent:
      return "class absent";
  }
  return "";
}

}  // namespace

std::vector<HookRow> hook_rows() {
  std::vector<HookRow> rows;
  int number = 0;
  for (const tenebra::HookRow& entry : tenebra::hook_registry()) {
    HookRow row{++number, entry.class_name, entry.side == tenebra::Side::kClassMethod,
                entry.selector, HookState::kClassAbsent};
    if (Class cls = objc_getClass(entry.class_name)) {
      Class target = row.class_side ? object_getClass(reinterpret_cast<id>(cls)) : cls;
      const Method method = objc::own_method(target, sel_registerName(entry.selector));
      const IMP own = method != nullptr ? method_getImplementation(method) : nullptr;
      row.state = inside_library(own) ? HookState::kInstalled : HookState::kNotInstalled;
      if (row.state == HookState::kInstalled) row.implementation = own;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string format_hook_row(const HookRow& row) {
  char line[256];
  std::snprintf(line, sizeof line, "%2d  %-34s %-9s %-50s %s", row.number, row.class_name.c_str(),
                row.class_side ? "class" : "instance", row.selector.c_str(), state_text(row.state));
  return line;
}

}  // namespace hooks
