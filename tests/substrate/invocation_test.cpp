// Boxed invocations: arguments converted to the method's own types, results
// boxed with the method's result encoding, and the failures a console meets
// (wrong counts, values that do not convert, unknown selectors, exceptions).
#include "platform/objc/invocation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"
#include "platform/substrate/substrate.h"

namespace {

using objc::Boxed;
using objc::invoke;
using objc::msg;
using objc::Ref;

double half(id, SEL, double value) { return value / 2; }
float twice(id, SEL, float value) { return value * 2; }
long add_to(id, SEL, int a, long b) { return a + b; }
char negate(id, SEL, char c) { return static_cast<char>(-c); }
unsigned short wrap(id, SEL, unsigned short value) { return value; }
unsigned long long widest(id, SEL, unsigned long long value) { return value; }
BOOL is_positive(id, SEL, double value) { return value > 0 ? YES : NO; }
BOOL flip(id, SEL, BOOL value) { return value ? NO : YES; }
bool truth(id, SEL, bool value) { return value; }
CGRect frame(id, SEL) { return CGRectMake(1, 2, 3, 4); }
CGRect inset(id, SEL, CGRect rect, double by) {
  return CGRectMake(rect.origin.x + by, rect.origin.y + by, rect.size.width - 2 * by,
                    rect.size.height - 2 * by);
}
NSRange range(id, SEL, unsigned long location, unsigned long length) {
  return NSMakeRange(location, length);
}
id echo(id, SEL, id object) { return object; }
const char* class_name(id, SEL, Class cls) { return cls ? class_getName(cls) : nullptr; }
const char* selector_name(id, SEL, SEL selector) { return sel_getName(selector); }
unsigned long length_of(id, SEL, const char* text) { return std::strlen(text); }
void* pass_pointer(id, SEL, void* pointer) { return pointer; }
int counter = 0;
void bump(id, SEL) { ++counter; }
void fail(id, SEL) { objc::raise("NSRangeException", "index 3 beyond bounds"); }
id shared(id self, SEL) { return self; }

Class probe_class() {
  static Class cls = objc::ClassDefinition("InvocationProbe", objc_getClass("NSObject"))
                         .method("half:", half)
                         .method("twice:", twice)
                         .method("add:to:", add_to)
                         .method("negate:", negate)
                         .method("wrap:", wrap)
                         .method("widest:", widest)
                         .method("isPositive:", is_positive)
                         .method("flip:", flip)
                         .method("truth:", truth)
                         .method("frame", frame)
                         .method("inset:by:", inset)
                         .method("rangeAt:length:", range)
                         .method("echo:", echo)
                         .method("nameOfClass:", class_name)
                         .method("nameOfSelector:", selector_name)
                         .method("lengthOf:", length_of)
                         .method("passPointer:", pass_pointer)
                         .method("bump", bump)
                         .method("fail", fail)
                         .class_method("shared", shared)
                         .finish();
  return cls;
}

// Foundation's NSNumber where this build has it; otherwise a minimal one with
// the same messages, so that unboxing is exercised either way.
const objc::Member<double> kHeld{"NSNumber", "_held"};
id number_holding(id cls, double value) {
  id number = msg<id>(msg<id>(cls, "alloc"), "init");
  kHeld.of(number) = value;
  return ns::autorelease(number);
}
id with_double(id cls, SEL, double value) { return number_holding(cls, value); }
id with_long_long(id cls, SEL, long long value) {
  return number_holding(cls, static_cast<double>(value));
}
id with_bool(id cls, SEL, BOOL value) { return number_holding(cls, value); }
double held_double(id self, SEL) { return kHeld.of(self); }
long long held_long_long(id self, SEL) { return static_cast<long long>(kHeld.of(self)); }
unsigned long long held_unsigned(id self, SEL) {
  return static_cast<unsigned long long>(kHeld.of(self));
}
BOOL held_bool(id self, SEL) { return kHeld.of(self) != 0 ? YES : NO; }

Class number_class() {
  static Class cls = [] {
    if (Class existing = objc_getClass("NSNumber")) return existing;
    return objc::ClassDefinition("NSNumber", objc_getClass("NSObject"))
        .member<double>("_held")
        .class_method("numberWithDouble:", with_double)
        .class_method("numberWithLongLong:", with_long_long)
        .class_method("numberWithBool:", with_bool)
        .method("doubleValue", held_double)
        .method("longLongValue", held_long_long)
        .method("unsignedLongLongValue", held_unsigned)
        .method("boolValue", held_bool)
        .finish();
  }();
  return cls;
}

class Invocation : public ::testing::Test {
 protected:
  void SetUp() override { probe_ = Ref::adopt(msg<id>(probe_class(), "new")); }

  // Invokes on the probe and expects success.
  Boxed call(const char* selector, std::vector<Boxed> arguments = {}) {
    objc::InvocationResult result = invoke(probe_.get(), objc::sel(selector), arguments);
    EXPECT_TRUE(result) << selector << ": " << result.error;
    return result ? *result.value : Boxed();
  }
  // Invokes on the probe and expects an error; returns its text.
  std::string error_of(const char* selector, std::vector<Boxed> arguments) {
    objc::InvocationResult result = invoke(probe_.get(), objc::sel(selector), arguments);
    EXPECT_FALSE(result) << selector;
    return result.error;
  }

  ns::AutoreleasePool pool_;
  Ref probe_;
};

template <typename T>
T value_of(const Boxed& box) {
  const T* value = box.get<T>();
  EXPECT_NE(value, nullptr) << "result encoded \"" << box.encoding() << "\" is of another kind";
  return value ? *value : T{};
}

TEST_F(Invocation, ScalarResultsComeBackWithTheMethodsEncoding) {
  // A double argument and result.
  Boxed halved = call("half:", {Boxed::real(3)});
  EXPECT_EQ(value_of<double>(halved), 1.5);
  EXPECT_EQ(halved.encoding(), "d");
  // A float stays a float.
  EXPECT_EQ(value_of<float>(call("twice:", {Boxed::single(1.25f)})), 2.5f);
  // Signed results widen to long long, keeping their sign.
  Boxed negated = call("negate:", {Boxed::integer(5)});
  EXPECT_EQ(value_of<long long>(negated), -5);
  EXPECT_EQ(negated.encoding(), "c");
  EXPECT_EQ(value_of<long long>(call("add:to:", {Boxed::integer(-2), Boxed::integer(40)})), 38);
  // Unsigned results widen to unsigned long long, all 64 bits intact.
  EXPECT_EQ(value_of<unsigned long long>(call("wrap:", {Boxed::integer(65535)})), 65535u);
  const unsigned long long top = std::numeric_limits<unsigned long long>::max();
  EXPECT_EQ(value_of<unsigned long long>(call("widest:", {Boxed::unsigned_integer(top)})), top);
  // A method without a result gives nothing, and runs.
  const int before = counter;
  EXPECT_TRUE(call("bump").is_nothing());
  EXPECT_EQ(counter, before + 1);
}

TEST_F(Invocation, NumbersConvertAsObjectiveCConvertsLiterals) {
  // An integer passed where a double is taken becomes that double.
  EXPECT_EQ(value_of<double>(call("half:", {Boxed::integer(3)})), 1.5);
  // A floating value passed where an integer is taken truncates toward zero.
  EXPECT_EQ(value_of<long long>(call("add:to:", {Boxed::real(2.9), Boxed::real(-1.9)})), 1);
  // An integer too wide for the parameter wraps, as C converts it.
  EXPECT_EQ(value_of<unsigned long long>(call("wrap:", {Boxed::integer(65536 + 7)})), 7u);
  // YES and NO are the numbers 1 and 0.
  EXPECT_EQ(value_of<double>(call("half:", {Boxed::boolean(YES)})), 0.5);
  // A C++ bool parameter takes any non-zero value as true.
  EXPECT_EQ(value_of<BOOL>(call("truth:", {Boxed::real(0.25)})), YES);
}

TEST_F(Invocation, FloatingValuesAnIntegerCannotHoldAreRefused) {
  // Converting these would be undefined behaviour in C: the call is not made.
  const double unrepresentable[] = {1e10, -3e9, std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN()};
  for (double value : unrepresentable) {
    EXPECT_EQ(error_of("add:to:", {Boxed::real(value), Boxed::integer(0)}),
              "argument 1 of -[InvocationProbe add:to:]: cannot pass a double as int")
        << value;
  }
  // A double beyond a float's range is refused too.
  EXPECT_FALSE(invoke(probe_.get(), objc::sel("twice:"), {Boxed::real(1e300)}));
}

TEST_F(Invocation, BoolsTravelBothWays) {
  // A BOOL result stays a BOOL, with the runtime's encoding for it.
  Boxed positive = call("isPositive:", {Boxed::real(2)});
  EXPECT_EQ(value_of<BOOL>(positive), YES);
  EXPECT_EQ(positive.encoding(), "C");
  EXPECT_EQ(value_of<BOOL>(call("isPositive:", {Boxed::real(-2)})), NO);
  // A BOOL argument arrives as given.
  EXPECT_EQ(value_of<BOOL>(call("flip:", {Boxed::boolean(NO)})), YES);
  EXPECT_EQ(value_of<BOOL>(call("flip:", {Boxed::integer(1)})), NO);
  // A C++ bool result is a BOOL as well.
  EXPECT_EQ(value_of<BOOL>(call("truth:", {Boxed::boolean(YES)})), YES);
}

TEST_F(Invocation, StructsPassAndReturnByValue) {
  // A struct result returned in memory.
  Boxed rect = call("frame");
  EXPECT_EQ(rect.encoding(), "{CGRect={CGPoint=dd}{CGSize=dd}}");
  EXPECT_EQ(rect.as_struct<CGRect>(), CGRectMake(1, 2, 3, 4));
  // A struct argument beside a converted number.
  EXPECT_EQ(call("inset:by:", {Boxed::structure(CGRectMake(0, 0, 10, 10)), Boxed::integer(1)})
                .as_struct<CGRect>(),
            CGRectMake(1, 1, 8, 8));
  // A struct returned in registers.
  EXPECT_EQ(call("rangeAt:length:", {Boxed::integer(2), Boxed::integer(5)}).as_struct<NSRange>(),
            NSMakeRange(2, 5));
  // A struct result is not mistaken for another struct.
  EXPECT_EQ(rect.as_struct<NSRange>(), std::nullopt);
}

TEST_F(Invocation, AStructOfAnotherTypeIsRefused) {
  // An NSRange where a CGRect is taken does not convert, whatever its bytes.
  EXPECT_EQ(error_of("inset:by:", {Boxed::structure(NSMakeRange(1, 2)), Boxed::integer(1)}),
            "argument 1 of -[InvocationProbe inset:by:]: cannot pass a struct {_NSRange=QQ} as "
            "struct CGRect");
  // Bytes that do not fill the type are refused too.
  EXPECT_FALSE(
      invoke(probe_.get(), objc::sel("inset:by:"),
             {Boxed::structure("{CGRect={CGPoint=dd}{CGSize=dd}}", {1, 2, 3}), Boxed::integer(1)}));
}

TEST_F(Invocation, ObjectsClassesSelectorsAndTexts) {
  id text = ns::string("abc");
  // An object argument and result are the same object, not a copy.
  Boxed echoed = call("echo:", {Boxed::object(text)});
  EXPECT_EQ(value_of<id>(echoed), text);
  EXPECT_EQ(echoed.encoding(), "@");
  // nil is an object like any other.
  EXPECT_EQ(value_of<id>(call("echo:", {Boxed::object(nil)})), nil);
  // A class is an object; a class object passes where a Class is taken.
  EXPECT_EQ(value_of<id>(call("echo:", {Boxed::class_object(probe_class())})),
            reinterpret_cast<id>(probe_class()));
  EXPECT_EQ(value_of<std::string>(call("nameOfClass:", {Boxed::class_object(probe_class())})),
            "InvocationProbe");
  EXPECT_EQ(value_of<std::string>(
                call("nameOfClass:", {Boxed::object(reinterpret_cast<id>(probe_class()))})),
            "InvocationProbe");
  // A null C string result comes back as a null pointer.
  EXPECT_EQ(value_of<void*>(call("nameOfClass:", {Boxed::object(nil)})), nullptr);
  // Selectors and C strings pass as themselves.
  EXPECT_EQ(value_of<std::string>(call("nameOfSelector:", {Boxed::selector(objc::sel("frame"))})),
            "frame");
  EXPECT_EQ(value_of<unsigned long long>(call("lengthOf:", {Boxed::c_string("four")})), 4u);
  int marker = 0;
  EXPECT_EQ(value_of<void*>(call("passPointer:", {Boxed::pointer(&marker)})), &marker);
  // A class method on a class receiver.
  objc::InvocationResult shared_result = invoke(probe_class(), objc::sel("shared"), {});
  ASSERT_TRUE(shared_result);
  EXPECT_EQ(value_of<id>(*shared_result.value), reinterpret_cast<id>(probe_class()));
}

TEST_F(Invocation, KindsThatDoNotFitAreRefused) {
  id text = ns::string("abc");
  struct Case {
    const char* selector;
    Boxed argument;
    const char* error;
  };
  const Case cases[] = {
      {"half:", Boxed::object(text),
       "argument 1 of -[InvocationProbe half:]: cannot pass an object as double"},
      {"half:", Boxed::c_string("3"),
       "argument 1 of -[InvocationProbe half:]: cannot pass a C string as double"},
      {"echo:", Boxed::integer(1),
       "argument 1 of -[InvocationProbe echo:]: cannot pass an integer as an object"},
      {"nameOfClass:", Boxed::object(text),
       "argument 1 of -[InvocationProbe nameOfClass:]: cannot pass an object as a class"},
      {"nameOfSelector:", Boxed::c_string("frame"),
       "argument 1 of -[InvocationProbe nameOfSelector:]: cannot pass a C string as a selector"},
      {"lengthOf:", Boxed::integer(0),
       "argument 1 of -[InvocationProbe lengthOf:]: cannot pass an integer as a C string"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(error_of(c.selector, {c.argument}), c.error);
  }
}

TEST_F(Invocation, NumberObjectsUnboxWhereAScalarIsTaken) {
  Class number = number_class();
  id two_and_a_half = msg<id>(number, "numberWithDouble:", 2.5);
  id seven = msg<id>(number, "numberWithLongLong:", 7ll);
  id yes = msg<id>(number, "numberWithBool:", YES);
  // A number object passed for a double gives its double value.
  EXPECT_EQ(value_of<double>(call("half:", {Boxed::object(two_and_a_half)})), 1.25);
  // For an integer, its integer value.
  EXPECT_EQ(value_of<long long>(call("add:to:", {Boxed::object(seven), Boxed::object(seven)})), 14);
  EXPECT_EQ(value_of<unsigned long long>(call("widest:", {Boxed::object(seven)})), 7u);
  // For a BOOL, its truth.
  EXPECT_EQ(value_of<BOOL>(call("flip:", {Boxed::object(yes)})), NO);
  EXPECT_EQ(value_of<BOOL>(call("flip:", {Boxed::object(two_and_a_half)})), NO);
  // Where an object is taken, the number passes as itself.
  EXPECT_EQ(value_of<id>(call("echo:", {Boxed::object(seven)})), seven);
}

TEST_F(Invocation, AWrongArgumentCountIsAnErrorAndCallsNothing) {
  const int before = counter;
  EXPECT_EQ(error_of("half:", {}), "-[InvocationProbe half:] takes 1 argument, given 0");
  EXPECT_EQ(error_of("add:to:", {Boxed::integer(1)}),
            "-[InvocationProbe add:to:] takes 2 arguments, given 1");
  EXPECT_EQ(error_of("bump", {Boxed::integer(1)}),
            "-[InvocationProbe bump] takes 0 arguments, given 1");
  EXPECT_EQ(counter, before);
}

void take_union(id, SEL, void*) {}

TEST_F(Invocation, AMethodWhoseTypesCannotBePassedIsAnError) {
  // A union argument has no libffi description: the call is refused, not guessed.
  Class cls = objc::ClassDefinition("InvocationUnion", objc_getClass("NSObject")).finish();
  class_addMethod(cls, objc::sel("takeUnion:"), objc::to_imp(take_union), "v@:(Value=id)");
  Ref object = Ref::adopt(msg<id>(cls, "new"));
  objc::InvocationResult result =
      invoke(object.get(), objc::sel("takeUnion:"), {Boxed::integer(1)});
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error,
            "cannot call -[InvocationUnion takeUnion:]: its types \"v@:(Value=id)\" cannot be "
            "passed here");
}

TEST_F(Invocation, ANilReceiverAnswersTheZeroOfTheResultTypeWithoutACall) {
  const int before = counter;
  // "bump" answers nothing, and so does a message to nil; nothing is called.
  objc::InvocationResult result = invoke(static_cast<id>(nil), objc::sel("bump"), {});
  ASSERT_TRUE(result);
  EXPECT_TRUE(result.value->is_nothing());
  EXPECT_EQ(counter, before);
  // A selector no method has gives no type: the answer is a nil object.
  result = invoke(static_cast<id>(nil), objc::sel("noMethodHasThisSelector"), {});
  ASSERT_TRUE(result);
  EXPECT_EQ(value_of<id>(*result.value), nil);
}

TEST_F(Invocation, AnUnknownSelectorRaisesAsASendDoes) {
  try {
    invoke(probe_.get(), objc::sel("noSuchMethod:"), {Boxed::integer(1)});
    FAIL() << "an unknown selector must raise";
  } catch (const objc::Exception& e) {
    EXPECT_EQ(ns::exception_name(e.object()), "NSInvalidArgumentException");
    EXPECT_NE(ns::exception_reason(e.object()).find("-[InvocationProbe noSuchMethod:]"),
              std::string::npos);
  }
}

TEST_F(Invocation, ExceptionsRaisedByTheMethodPropagate) {
  try {
    invoke(probe_.get(), objc::sel("fail"), {});
    FAIL() << "the method raises";
  } catch (const objc::Exception& e) {
    EXPECT_EQ(ns::exception_name(e.object()), "NSRangeException");
    EXPECT_EQ(ns::exception_reason(e.object()), "index 3 beyond bounds");
  }
}

IMP hooked_half_slot;
double hooked_half(id self, SEL cmd, double value) {
  return objc::from_imp<double(id, SEL, double)>(hooked_half_slot)(self, cmd, value) + 10;
}

TEST(InvocationDispatch, AnInvocationReachesHooksAsASendDoes) {
  Class cls = objc::ClassDefinition("InvocationHooked", probe_class()).finish();
  MSHookMessageEx(cls, objc::sel("half:"), objc::to_imp(hooked_half), &hooked_half_slot);
  Ref object = Ref::adopt(msg<id>(cls, "new"));
  // The call is dispatched, so the hook and its trampoline both run.
  objc::InvocationResult result = invoke(object.get(), objc::sel("half:"), {Boxed::real(4)});
  ASSERT_TRUE(result);
  EXPECT_EQ(*result.value->get<double>(), 12.0);
}

}  // namespace
