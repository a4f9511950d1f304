// MSHookMessageEx over the runtime: own and inherited methods, class methods,
// absent classes and selectors, hooks on hooks, and the trampolines that
// reach a superclass's implementation at call time. Hooks are permanent, so
// every test makes classes of its own.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/substrate/substrate.h"

namespace {

using objc::from_imp;
using objc::msg;
using objc::Ref;
using objc::to_imp;

using ValueFn = long(id, SEL);

long one(id, SEL) { return 1; }
long two(id, SEL) { return 2; }
long five(id, SEL) { return 5; }

// Rules that call through their own slot and leave a mark on the result.
template <IMP* Slot>
long plus_hundred(id self, SEL cmd) {
  return from_imp<ValueFn>(*Slot)(self, cmd) + 100;
}
template <IMP* Slot>
long times_ten(id self, SEL cmd) {
  return from_imp<ValueFn>(*Slot)(self, cmd) * 10;
}

Class nsobject() { return objc_getClass("NSObject"); }

Class define(const char* name, Class superclass) {
  return objc::ClassDefinition(name, superclass).finish();
}
Class define(const char* name, Class superclass, long (*value)(id, SEL)) {
  return objc::ClassDefinition(name, superclass).method("value", value).finish();
}

Ref instance(Class cls) { return Ref::adopt(msg<id>(cls, "new")); }

long value_of(id object) { return msg<long>(object, "value"); }

// Whether the class has a method of its own for the selector.
bool has_own_method(Class cls, SEL sel) {
  unsigned int count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  bool found = false;
  for (unsigned int i = 0; i < count; ++i) {
    found = found || sel_isEqual(method_getName(methods[i]), sel);
  }
  std::free(methods);
  return found;
}

IMP own_slot;
TEST(HookOwnMethod, SwapsTheImplementationAndHandsBackTheOldOne) {
  Class cls = define("HookOwn", nsobject(), one);
  Ref object = instance(cls);
  ASSERT_EQ(value_of(object), 1);  // the dispatch cache now holds the original

  MSHookMessageEx(cls, objc::sel("value"), to_imp(plus_hundred<&own_slot>), &own_slot);

  // The slot holds the implementation the class had before.
  EXPECT_EQ(own_slot, to_imp(one));
  // Sending the selector runs the rule, which calls through the slot.
  EXPECT_EQ(value_of(object), 101);
  // The class's own method was changed in place, not shadowed.
  EXPECT_EQ(method_getImplementation(class_getInstanceMethod(cls, objc::sel("value"))),
            to_imp(plus_hundred<&own_slot>));
}

IMP built_table_slot;
TEST(HookOwnMethod, SubclassesWhoseDispatchTablesWereBuiltEarlierReachTheHook) {
  Class base = define("HookBuiltBase", nsobject(), one);
  Class sub = objc::ClassDefinition("HookBuiltSub", base).method("valueToo", five).finish();
  Ref object = instance(sub);
  ASSERT_EQ(value_of(object), 1);  // the subclass's table is built, with its own entries

  MSHookMessageEx(base, objc::sel("value"), to_imp(plus_hundred<&built_table_slot>),
                  &built_table_slot);

  // A subclass that inherits the method reaches the rule, whenever its table was built.
  EXPECT_EQ(value_of(object), 101);
}

IMP unmessaged_slot;
TEST(HookOwnMethod, AClassNeverMessagedLendsItsHookToNoOtherClass) {
  Class base = define("HookUnmessagedBase", nsobject(), one);
  Class unrelated = define("HookUnmessagedUnrelated", nsobject());
  IMP rule = to_imp(plus_hundred<&unmessaged_slot>);

  MSHookMessageEx(base, objc::sel("value"), rule, &unmessaged_slot);

  // The hooked class answers with the rule, and a class without the method,
  // looked up before anything was sent to it, is not given it by dispatch.
  EXPECT_EQ(value_of(instance(base)), 101);
  id stranger = class_createInstance(unrelated, 0);
  EXPECT_NE(objc_msg_lookup(stranger, objc::sel("value")), rule);
  object_dispose(stranger);
}

IMP inherited_slot;
TEST(HookInheritedMethod, AddsAMethodAndHandsBackAWayToTheSuperclass) {
  Class base = define("HookInheritBase", nsobject(), one);
  Class derived = define("HookInheritDerived", base);
  Class sibling = define("HookInheritSibling", base);
  Ref object = instance(derived);
  ASSERT_EQ(value_of(object), 1);
  const char* inherited_types =
      method_getTypeEncoding(class_getInstanceMethod(base, objc::sel("value")));

  MSHookMessageEx(derived, objc::sel("value"), to_imp(plus_hundred<&inherited_slot>),
                  &inherited_slot);

  // The class now has a method of its own, with the inherited method's types.
  ASSERT_TRUE(has_own_method(derived, objc::sel("value")));
  EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(derived, objc::sel("value"))),
               inherited_types);
  // The slot is never the rule itself, and calling it does what the class did before.
  ASSERT_NE(inherited_slot, nullptr);
  EXPECT_NE(inherited_slot, to_imp(plus_hundred<&inherited_slot>));
  EXPECT_EQ(from_imp<ValueFn>(inherited_slot)(object, objc::sel("value")), 1);
  // Instances of the hooked class run the rule.
  EXPECT_EQ(value_of(object), 101);
  // The superclass and its other subclasses are untouched.
  EXPECT_EQ(value_of(instance(base)), 1);
  EXPECT_EQ(value_of(instance(sibling)), 1);
}

long take_union(id, SEL, void*) { return 3; }

IMP union_slot;
TEST(HookInheritedMethod, TypesLibffiCannotDescribeHandBackTheCurrentImplementation) {
  Class base = define("HookUnionBase", nsobject());
  class_addMethod(base, objc::sel("takeUnion:"), to_imp(take_union), "l@:(Value=id)");
  Class derived = define("HookUnionDerived", base);

  MSHookMessageEx(derived, objc::sel("takeUnion:"), to_imp(five), &union_slot);

  // No trampoline can be built, so the slot holds the superclass's
  // implementation as it is now, which still does what the class did before.
  EXPECT_EQ(union_slot, to_imp(take_union));
  EXPECT_TRUE(has_own_method(derived, objc::sel("takeUnion:")));
}

IMP parent_slot;
TEST(HookSubclasses, ThoseWithoutAMethodOfTheirOwnRunTheRuleOthersAreUntouched) {
  Class base = define("HookParent", nsobject(), one);
  Class inheriting = define("HookParentInheriting", base);
  Class overriding = define("HookParentOverriding", base, five);
  Class grandchild = define("HookParentGrandchild", inheriting);
  Ref inheritor = instance(inheriting);
  ASSERT_EQ(value_of(inheritor), 1);

  MSHookMessageEx(base, objc::sel("value"), to_imp(plus_hundred<&parent_slot>), &parent_slot);

  // Subclasses that inherit the selector reach the rule, however deep.
  EXPECT_EQ(value_of(inheritor), 101);
  EXPECT_EQ(value_of(instance(grandchild)), 101);
  // A subclass that answers the selector with its own method keeps it.
  EXPECT_EQ(value_of(instance(overriding)), 5);
}

IMP later_base_slot, later_derived_slot;
TEST(HookCallTime, SuperclassHookedLaterIsReachedThroughTheSubclassTrampoline) {
  // As with a picker view hooked before the view class it inherits from.
  Class base = define("HookLaterBase", nsobject(), one);
  Class derived = define("HookLaterDerived", base);
  Ref object = instance(derived);
  ASSERT_EQ(value_of(object), 1);

  MSHookMessageEx(derived, objc::sel("value"), to_imp(plus_hundred<&later_derived_slot>),
                  &later_derived_slot);
  ASSERT_EQ(value_of(object), 101);
  MSHookMessageEx(base, objc::sel("value"), to_imp(times_ten<&later_base_slot>), &later_base_slot);

  // The subclass's saved implementation takes the superclass's as it stands
  // at each call, so the later superclass hook runs too.
  EXPECT_EQ(value_of(object), 110);
  EXPECT_EQ(value_of(instance(base)), 10);
}

IMP earlier_base_slot, earlier_derived_slot;
TEST(HookCallTime, SuperclassHookedFirstIsReachedThroughTheSubclassHook) {
  Class base = define("HookEarlierBase", nsobject(), one);
  Class derived = define("HookEarlierDerived", base);

  MSHookMessageEx(base, objc::sel("value"), to_imp(times_ten<&earlier_base_slot>),
                  &earlier_base_slot);
  MSHookMessageEx(derived, objc::sel("value"), to_imp(plus_hundred<&earlier_derived_slot>),
                  &earlier_derived_slot);

  // The subclass inherits the superclass's rule, and its slot reaches it.
  EXPECT_EQ(value_of(instance(derived)), 110);
  EXPECT_EQ(value_of(instance(base)), 10);
}

IMP first_slot, second_slot;
TEST(HookTwice, TheSecondSlotReachesTheFirstHook) {
  Class cls = define("HookTwice", nsobject(), one);

  MSHookMessageEx(cls, objc::sel("value"), to_imp(plus_hundred<&first_slot>), &first_slot);
  MSHookMessageEx(cls, objc::sel("value"), to_imp(times_ten<&second_slot>), &second_slot);

  // The second hook's slot is the first hook, whose slot is the original.
  EXPECT_EQ(second_slot, to_imp(plus_hundred<&first_slot>));
  EXPECT_EQ(first_slot, to_imp(one));
  // A send runs the second hook, then the first, then the original.
  EXPECT_EQ(value_of(instance(cls)), 1010);
}

IMP repeated_slot;
TEST(HookTwice, TheSameHookAgainNeverBecomesItsOwnOriginal) {
  Class base = define("HookRepeatBase", nsobject(), one);
  Class derived = define("HookRepeatDerived", base);
  IMP rule = to_imp(plus_hundred<&repeated_slot>);
  MSHookMessageEx(base, objc::sel("value"), rule, &repeated_slot);

  // Hooking the class again with the same rule changes nothing.
  MSHookMessageEx(base, objc::sel("value"), rule, &repeated_slot);
  EXPECT_EQ(repeated_slot, to_imp(one));
  // A subclass that already answers with the rule by inheritance is left as it is.
  MSHookMessageEx(derived, objc::sel("value"), rule, &repeated_slot);
  EXPECT_EQ(repeated_slot, to_imp(one));
  EXPECT_FALSE(has_own_method(derived, objc::sel("value")));
  // So a send runs the rule once and ends in the original.
  EXPECT_EQ(value_of(instance(derived)), 101);
}

IMP class_side_slot, inherited_class_side_slot;
TEST(HookClassMethod, OnTheMetaclassOnlyTheClassMethodChanges) {
  Class cls = objc::ClassDefinition("HookClassSide", nsobject())
                  .class_method("value", one)
                  .method("value", two)
                  .finish();
  Class subclass = define("HookClassSideSub", cls);
  Class other_subclass = define("HookClassSideOtherSub", cls);
  Class meta = object_getClass(reinterpret_cast<id>(cls));

  MSHookMessageEx(meta, objc::sel("value"), to_imp(plus_hundred<&class_side_slot>),
                  &class_side_slot);

  // The class method runs the rule, for the class and its subclasses.
  EXPECT_EQ(class_side_slot, to_imp(one));
  EXPECT_EQ(msg<long>(cls, "value"), 101);
  EXPECT_EQ(msg<long>(subclass, "value"), 101);
  // The instance method of the same name is untouched.
  EXPECT_EQ(value_of(instance(cls)), 2);
  EXPECT_EQ(value_of(instance(subclass)), 2);

  // A class method the metaclass only inherits gets a trampoline to the
  // superclass's class method.
  MSHookMessageEx(object_getClass(reinterpret_cast<id>(other_subclass)), objc::sel("value"),
                  to_imp(times_ten<&inherited_class_side_slot>), &inherited_class_side_slot);
  EXPECT_EQ(msg<long>(other_subclass, "value"), 1010);
  EXPECT_EQ(from_imp<ValueFn>(inherited_class_side_slot)(reinterpret_cast<id>(other_subclass),
                                                         objc::sel("value")),
            101);
  EXPECT_EQ(value_of(instance(other_subclass)), 2);
}

IMP absent_slot;
TEST(HookNothing, NoClassInstallsNothingAndLeavesTheSlotEmpty) {
  // A look-up that found no class, and the metaclass of no class.
  MSHookMessageEx(Nil, objc::sel("value"), to_imp(plus_hundred<&absent_slot>), &absent_slot);
  MSHookMessageEx(object_getClass(nil), objc::sel("value"), to_imp(plus_hundred<&absent_slot>),
                  &absent_slot);
  EXPECT_EQ(absent_slot, nullptr);
}

IMP unanswered_slot;
TEST(HookNothing, AClassThatDoesNotAnswerTheSelectorIsLeftAlone) {
  Class cls = define("HookUnanswered", nsobject());
  Class meta = object_getClass(reinterpret_cast<id>(cls));
  IMP rule = to_imp(plus_hundred<&unanswered_slot>);

  MSHookMessageEx(cls, objc::sel("value"), rule, &unanswered_slot);
  MSHookMessageEx(meta, objc::sel("value"), rule, &unanswered_slot);
  MSHookMessageEx(cls, nullptr, rule, &unanswered_slot);

  // Nothing was installed: the class still does not answer, and the slot is empty.
  EXPECT_FALSE(class_respondsToSelector(cls, objc::sel("value")));
  EXPECT_FALSE(class_respondsToSelector(meta, objc::sel("value")));
  EXPECT_EQ(unanswered_slot, nullptr);
}

TEST(HookDeathTest, ANullReplacementStopsAtOnce) {
  EXPECT_DEATH(
      {
        IMP slot = nullptr;
        MSHookMessageEx(nsobject(), objc::sel("description"), nullptr, &slot);
      },
      "MSHookMessageEx: no replacement given for description on NSObject");
}

// Methods of every calling shape, inherited by a subclass whose hooks call
// straight through their slots: the trampolines must pass arguments and
// results exactly.
CGRect base_frame(id, SEL) { return CGRectMake(1, 2, 3, 4); }
CGRect base_scale(id, SEL, CGRect rect, double factor) {
  return CGRectMake(rect.origin.x * factor, rect.origin.y * factor, rect.size.width * factor,
                    rect.size.height * factor);
}
NSRange base_range(id, SEL, unsigned long location) { return NSMakeRange(location, 8); }
double base_ratio(id, SEL, double numerator, float denominator) { return numerator / denominator; }
char base_negate(id, SEL, char c) { return static_cast<char>(-c); }
BOOL base_flag(id, SEL) { return YES; }
double base_weigh(id, SEL, long a, double b, char c, float d, long e, double f, long g, double h,
                  long i, double j, int k, double l, double m, double n, double o) {
  return static_cast<double>(a) + b * 2 + c * 3 + d * 4 + static_cast<double>(e) * 5 + f * 6 +
         static_cast<double>(g) * 7 + h * 8 + static_cast<double>(i) * 9 + j * 10 + k * 11 +
         l * 12 + m * 13 + n * 14 + o * 15;
}
void base_fail(id, SEL) { objc::raise("NSRangeException", "out of range"); }

IMP frame_slot, scale_slot, range_slot, ratio_slot, negate_slot, flag_slot, weigh_slot, fail_slot;
CGRect hook_frame(id self, SEL cmd) { return from_imp<CGRect(id, SEL)>(frame_slot)(self, cmd); }
CGRect hook_scale(id self, SEL cmd, CGRect rect, double factor) {
  return from_imp<CGRect(id, SEL, CGRect, double)>(scale_slot)(self, cmd, rect, factor);
}
NSRange hook_range(id self, SEL cmd, unsigned long location) {
  return from_imp<NSRange(id, SEL, unsigned long)>(range_slot)(self, cmd, location);
}
double hook_ratio(id self, SEL cmd, double numerator, float denominator) {
  return from_imp<double(id, SEL, double, float)>(ratio_slot)(self, cmd, numerator, denominator);
}
char hook_negate(id self, SEL cmd, char c) {
  return from_imp<char(id, SEL, char)>(negate_slot)(self, cmd, c);
}
BOOL hook_flag(id self, SEL cmd) { return from_imp<BOOL(id, SEL)>(flag_slot)(self, cmd); }
double hook_weigh(id self, SEL cmd, long a, double b, char c, float d, long e, double f, long g,
                  double h, long i, double j, int k, double l, double m, double n, double o) {
  using Fn = double(id, SEL, long, double, char, float, long, double, long, double, long, double,
                    int, double, double, double, double);
  return from_imp<Fn>(weigh_slot)(self, cmd, a, b, c, d, e, f, g, h, i, j, k, l, m, n, o);
}
void hook_fail(id self, SEL cmd) { from_imp<void(id, SEL)>(fail_slot)(self, cmd); }

class HookTrampoline : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Class base = objc::ClassDefinition("TrampolineBase", nsobject())
                     .method("frame", base_frame)
                     .method("scale:by:", base_scale)
                     .method("rangeFrom:", base_range)
                     .method("ratio:over:", base_ratio)
                     .method("negate:", base_negate)
                     .method("flag", base_flag)
                     .method("weigh:b:c:d:e:f:g:h:i:j:k:l:m:n:o:", base_weigh)
                     .method("fail", base_fail)
                     .finish();
    derived_ = define("TrampolineDerived", base);
    auto hook = [](const char* selector, IMP rule, IMP* slot) {
      MSHookMessageEx(derived_, objc::sel(selector), rule, slot);
    };
    hook("frame", to_imp(hook_frame), &frame_slot);
    hook("scale:by:", to_imp(hook_scale), &scale_slot);
    hook("rangeFrom:", to_imp(hook_range), &range_slot);
    hook("ratio:over:", to_imp(hook_ratio), &ratio_slot);
    hook("negate:", to_imp(hook_negate), &negate_slot);
    hook("flag", to_imp(hook_flag), &flag_slot);
    hook("weigh:b:c:d:e:f:g:h:i:j:k:l:m:n:o:", to_imp(hook_weigh), &weigh_slot);
    hook("fail", to_imp(hook_fail), &fail_slot);
  }
  static Class derived_;
};
Class HookTrampoline::derived_ = Nil;

TEST_F(HookTrampoline, StructResultsAndArgumentsPassIntact) {
  Ref object = instance(derived_);
  // A struct returned in memory.
  EXPECT_EQ(msg<CGRect>(object, "frame"), CGRectMake(1, 2, 3, 4));
  // A struct passed in memory beside a double.
  EXPECT_EQ(msg<CGRect>(object, "scale:by:", CGRectMake(1, 2, 3, 4), 0.5),
            CGRectMake(0.5, 1, 1.5, 2));
  // A struct returned in two registers.
  EXPECT_EQ(msg<NSRange>(object, "rangeFrom:", 7ul), NSMakeRange(7, 8));
}

TEST_F(HookTrampoline, FloatingAndNarrowValuesPassIntact) {
  Ref object = instance(derived_);
  // Doubles and floats travel in their own registers.
  EXPECT_DOUBLE_EQ(msg<double>(object, "ratio:over:", 3.0, 4.0f), 0.75);
  // A negative char keeps its sign, and a BOOL its value.
  EXPECT_EQ(msg<char>(object, "negate:", static_cast<char>(5)), -5);
  EXPECT_EQ(msg<BOOL>(object, "flag"), YES);
}

TEST_F(HookTrampoline, ArgumentsBeyondTheRegistersPassIntact) {
  Ref object = instance(derived_);
  // More integer and floating arguments than the registers hold go on the stack.
  const double expected =
      base_weigh(nil, nullptr, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
  EXPECT_DOUBLE_EQ(
      msg<double>(object, "weigh:b:c:d:e:f:g:h:i:j:k:l:m:n:o:", 1l, 2.0, static_cast<char>(3), 4.0f,
                  5l, 6.0, 7l, 8.0, 9l, 10.0, 11, 12.0, 13.0, 14.0, 15.0),
      expected);
}

TEST_F(HookTrampoline, ExceptionsRaisedBehindItReachTheCaller) {
  ns::AutoreleasePool pool;
  Ref object = instance(derived_);
  // A platform exception raised by the superclass's method unwinds through
  // the trampoline and the hook to the sender.
  try {
    msg<void>(object, "fail");
    FAIL() << "the superclass's method raises";
  } catch (const objc::Exception& e) {
    EXPECT_EQ(ns::exception_name(e.object()), "NSRangeException");
  }
}

}  // namespace
