#include "tests/console/console_probe.h"

#include <atomic>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"

namespace objc {
template <>
struct Encoding<console_test::Odd> {
  static std::string value() { return "{Odd=cdi}"; }
};
}  // namespace objc

namespace console_test {
namespace {

std::atomic<int> deallocations{0};

const objc::Member<double> kValue{"ConsoleProbe", "_value"};
const objc::Member<CGRect> kFrame{"ConsoleProbe", "_frame"};
const objc::Member<objc::Ref> kName{"ConsoleProbe", "_name"};

id probe_with_value(id self, SEL, double value) {
  id probe = objc::msg<id>(self, "new");
  kValue.of(probe) = value;
  return ns::autorelease(probe);
}
id init_with_value(id self, SEL, double value) {
  kValue.of(self) = value;
  return self;
}
// A class cluster's init: gives up its receiver and answers another object.
id init_replacing(id self, SEL) {
  id other = objc::msg<id>(objc::msg<id>(object_getClass(self), "alloc"), "init");
  kValue.of(other) = -1;
  objc::release_object(self);
  return other;
}
double value(id self, SEL) { return kValue.of(self); }
void set_value(id self, SEL, double v) { kValue.of(self) = v; }
double sum(id, SEL, double a, double b, double c) { return a + b + c; }
int twice(id, SEL, int v) { return 2 * v; }
unsigned long long big(id, SEL) { return 18446744073709551615ull; }
long negative(id, SEL) { return -5; }
float ratio(id, SEL) { return 0.1f; }
BOOL is_positive(id self, SEL) { return kValue.of(self) > 0 ? YES : NO; }
BOOL negate(id, SEL, BOOL flag) { return flag ? NO : YES; }
CGRect frame(id self, SEL) { return kFrame.of(self); }
void set_frame(id self, SEL, CGRect frame) { kFrame.of(self) = frame; }
CGSize size_of(id self, SEL) { return kFrame.of(self).size; }
Odd odd(id, SEL) { return {'A', 2.5, -3}; }
id name(id self, SEL) { return kName.of(self); }
void set_name(id self, SEL, id name) { kName.of(self) = objc::Ref::retain(name); }
id selector_name(id, SEL, SEL selector) { return ns::string(sel_getName(selector)); }
const char* c_text(id, SEL) { return "probe \"text\""; }
const char* null_text(id, SEL) { return nullptr; }
void nothing(id, SEL) {}
void explode(id, SEL) { objc::raise("NSRangeException", "the probe exploded"); }
id class_name_of(id, SEL, Class cls) { return ns::string(class_getName(cls)); }
void probe_dealloc(id self, SEL sel) {
  ++deallocations;
  objc::msg_super<void>(self, objc_getClass("ConsoleProbe"), sel);
}

}  // namespace

Class probe_class() {
  static Class cls = objc::ClassDefinition("ConsoleProbe", objc_getClass("NSObject"))
                         .member<double>("_value")
                         .member<CGRect>("_frame")
                         .member<objc::Ref>("_name")
                         .class_method("probeWithValue:", probe_with_value)
                         .class_method("twice:", twice)
                         .class_method("nameOfClass:", class_name_of)
                         .method("initWithValue:", init_with_value)
                         .method("initReplacing", init_replacing)
                         .method("value", value)
                         .method("setValue:", set_value)
                         .method("sumOf:and:and:", sum)
                         .method("big", big)
                         .method("negative", negative)
                         .method("ratio", ratio)
                         .method("isPositive", is_positive)
                         .method("negate:", negate)
                         .method("frame", frame)
                         .method("setFrame:", set_frame)
                         .method("size", size_of)
                         .method("odd", odd)
                         .method("name", name)
                         .method("setName:", set_name)
                         .method("nameOfSelector:", selector_name)
                         .method("cText", c_text)
                         .method("nullText", null_text)
                         .method("nothing", nothing)
                         .method("explode", explode)
                         .method("dealloc", probe_dealloc)
                         .finish();
  return cls;
}

int probe_deallocations() { return deallocations.load(); }

}  // namespace console_test
