// What each chrome rule costs on its pass-through path (the theme off),
// beside the bare call it wraps: the same send to an instance of a subclass
// that answers the selector with the saved implementation itself. Names are
// "Rule/<row>" and "Bare/<row>"; the rule's own cost is their difference.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "core/hook_registry.h"
#include "core/settings.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "tools/support/themed_process.h"

namespace {

using objc::msg;
using objc::Ref;

// How a row's method is sent: to an instance, or (for initialisers) to a
// fresh allocation that is released again.
using Send = std::function<void(id receiver, SEL sel)>;

id red() { return msg<id>(objc_getClass("UIColor"), "redColor"); }

Send getter() {
  return [](id receiver, SEL sel) { benchmark::DoNotOptimize(msg<id>(receiver, sel)); };
}
Send setter() {
  return [](id receiver, SEL sel) { msg<void>(receiver, sel, red()); };
}
Send layout() {
  return [](id receiver, SEL sel) { msg<void>(receiver, sel); };
}

struct Row {
  int number;
  Send send;
  // For an initialiser: its arguments and sending, given the allocation.
  std::function<id(id allocated, SEL sel)> init;
};

const std::vector<Row>& rows() {
  static const std::vector<Row> table = [] {
    return std::vector<Row>{
        {1, getter(), nullptr},
        {2, getter(), nullptr},
        {3, getter(), nullptr},
        {4, nullptr,
         [](id allocated, SEL sel) { return msg<id>(allocated, sel, nil, red(), red()); }},
        {5, getter(), nullptr},
        {6, nullptr,
         [](id allocated, SEL sel) {
           static id url = msg<id>(
               msg<id>(objc_getClass("NSURL"), "URLWithString:", ns::string("https://example.com")),
               "retain");
           return msg<id>(allocated, sel, url);
         }},
        {7, setter(), nullptr},
        {8, setter(), nullptr},
        {9, setter(), nullptr},
        {17, setter(), nullptr},
        {18, getter(), nullptr},
        {19,
         [](id receiver, SEL sel) {
           static id title = msg<id>(msg<id>(objc_getClass("NSAttributedString"), "alloc"),
                                     "initWithString:", ns::string("Tomorrow"));
           msg<void>(receiver, sel, title);
         },
         nullptr},
        {20, [](id receiver, SEL sel) { benchmark::DoNotOptimize(msg<BOOL>(receiver, sel)); },
         nullptr},
        {21, nullptr,
         [](id allocated, SEL sel) { return msg<id>(allocated, sel, CGRectMake(0, 0, 375, 300)); }},
        {22, layout(), nullptr},
        {41, getter(), nullptr},
        {42, layout(), nullptr},
        {43, setter(), nullptr},
        {44, getter(), nullptr},
        {45, setter(), nullptr},
        {46, getter(), nullptr},
        {47, layout(), nullptr},
        {48, [](id receiver, SEL sel) { benchmark::DoNotOptimize(msg<id>(receiver, sel, 1UL)); },
         nullptr},
        {49, setter(), nullptr},
        {50, getter(), nullptr},
        {51, setter(), nullptr},
        {52, getter(), nullptr},
    };
  }();
  return table;
}

// A subclass of the row's class that answers the selector with the saved
// implementation, so that its sends skip the rule.
Class bare_class(const tenebra::HookRow& entry, int number) {
  const std::string name = "Bare" + std::to_string(number) + entry.class_name;
  if (Class made = objc_getClass(name.c_str())) return made;
  // Defined as the platform defines classes, so that it inherits the
  // construction of its ancestors' members.
  objc::ClassDefinition definition(name.c_str(), objc_getClass(entry.class_name));
  SEL sel = sel_registerName(entry.selector);
  Method method = class_getInstanceMethod(objc_getClass(entry.class_name), sel);
  class_addMethod(definition.cls(), sel, *entry.slot, method_getTypeEncoding(method));
  return definition.finish();
}

void run(benchmark::State& state, const Row& row, bool bare) {
  tenebra::testing::bring_up_theme();
  tenebra::settings.enabled = 0;
  const tenebra::HookRow& entry =
      tenebra::hook_registry()[static_cast<std::size_t>(row.number - 1)];
  Class cls = bare ? bare_class(entry, row.number) : objc_getClass(entry.class_name);
  SEL sel = sel_registerName(entry.selector);
  ns::AutoreleasePool pool;
  if (row.init) {
    for (auto _ : state) {
      ns::AutoreleasePool turn;
      msg<void>(row.init(msg<id>(cls, "alloc"), sel), "release");
    }
    return;
  }
  Ref receiver = Ref::adopt(msg<id>(cls, "new"));
  for (auto _ : state) row.send(receiver, sel);
}

const int registered = [] {
  for (const Row& row : rows()) {
    const std::string suffix = std::to_string(row.number);
    benchmark::RegisterBenchmark(("Bare/" + suffix).c_str(),
                                 [&row](benchmark::State& state) { run(state, row, true); });
    benchmark::RegisterBenchmark(("Rule/" + suffix).c_str(),
                                 [&row](benchmark::State& state) { run(state, row, false); });
  }
  return 0;
}();

}  // namespace
