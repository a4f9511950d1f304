// Typed sends over the runtime: absent receivers, unknown selectors and
// signature checks.
#include <gtest/gtest.h>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/coregraphics/geometry.h"
#include "platform/objc/exception.h"
#include "platform/objc/message.h"

namespace {

using objc::msg;

double half(id, SEL, double value) { return value / 2; }
CGRect frame(id, SEL) { return CGRectMake(1, 2, 3, 4); }

Class probe_class() {
  static Class cls = objc::ClassDefinition("MessageProbe", objc_getClass("NSObject"))
                         .method("half:", half)
                         .method("frame", frame)
                         .finish();
  return cls;
}

TEST(TypedSend, AbsentReceiverAnswersZeroForEveryResultKind) {
  // A nil receiver answers zero without a lookup, whatever the result type.
  EXPECT_EQ(msg<double>(nil, "half:", 3.0), 0.0);
  EXPECT_EQ(msg<CGRect>(nil, "frame"), CGRect{});
  EXPECT_EQ(msg<id>(nil, "anything"), nil);
  EXPECT_FALSE(msg<BOOL>(nil, "isEqual:", nil));
}

TEST(TypedSend, ReachesTheMethodWithItsOwnTypes) {
  ns::AutoreleasePool pool;
  id probe = msg<id>(probe_class(), "new");
  // Floating-point and struct results come back intact.
  EXPECT_EQ(msg<double>(probe, "half:", 3.0), 1.5);
  EXPECT_EQ(msg<CGRect>(probe, "frame"), CGRectMake(1, 2, 3, 4));
  msg<void>(probe, "release");
}

TEST(TypedSend, UnknownSelectorRaisesInvalidArgument) {
  ns::AutoreleasePool pool;
  id probe = msg<id>(probe_class(), "new");
  try {
    msg<void>(probe, "noSuchMethod");
    FAIL() << "an unknown selector must raise";
  } catch (const objc::Exception& e) {
    EXPECT_EQ(ns::exception_name(e.object()), "NSInvalidArgumentException");
    EXPECT_NE(ns::exception_reason(e.object()).find("-[MessageProbe noSuchMethod]"),
              std::string::npos);
  }
  msg<void>(probe, "release");
}

TEST(TypedSendDeathTest, SignatureMismatchStopsAtOnce) {
  // Passing an int where the method takes a double would corrupt the call.
  EXPECT_DEATH(
      {
        id probe = msg<id>(probe_class(), "new");
        msg<double>(probe, "half:", 3);
      },
      "signature mismatch sending half:");
}

TEST(TypedSend, SuperSendReachesTheSuperclassMethod) {
  ns::AutoreleasePool pool;
  id text = ns::string("abc");
  // NSString describes itself by its text; NSObject by class and address.
  id own = msg<id>(text, "description");
  id inherited = objc::msg_super<id>(text, objc_getClass("NSString"), objc::sel("description"));
  EXPECT_EQ(ns::utf8(own), "abc");
  EXPECT_EQ(ns::utf8(inherited).rfind("<NSString: 0x", 0), 0u);
}

}  // namespace
