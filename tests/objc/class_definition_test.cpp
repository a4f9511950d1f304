// Classes defined from C++: members by name, C++ state in members, reference
// counting and the autorelease pool.
#include <gtest/gtest.h>

#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"

namespace {

using objc::msg;
using objc::Ref;

int destroyed = 0;
struct Tracked {
  ~Tracked() { ++destroyed; }
  int value = 7;
};

Class holder_class() {
  static Class cls = objc::ClassDefinition("MemberHolder", objc_getClass("NSObject"))
                         .member<Ref>("_held")
                         .member<Tracked>("_tracked")
                         .member<double>("_weight")
                         .finish();
  return cls;
}

TEST(ClassDefinition, MembersAreFoundByNameWithTheirOffsets) {
  Class cls = holder_class();
  // Members are the runtime's own instance variables, reachable by name.
  ASSERT_NE(class_getInstanceVariable(cls, "_weight"), nullptr);
  EXPECT_EQ(objc::member_offset(cls, "_weight"),
            ivar_getOffset(class_getInstanceVariable(cls, "_weight")));
  EXPECT_EQ(objc::member_offset(cls, "_missing"), -1);
  EXPECT_EQ(objc::member_offset(Nil, "_weight"), -1);
}

TEST(ClassDefinition, CppMembersLiveAndDieWithTheObject) {
  ns::AutoreleasePool pool;
  destroyed = 0;
  id holder = msg<id>(holder_class(), "new");
  const objc::Member<Tracked> tracked{"MemberHolder", "_tracked"};
  const objc::Member<Ref> held{"MemberHolder", "_held"};
  // Non-trivial members are constructed when the object is made...
  EXPECT_EQ(tracked.of(holder).value, 7);
  id text = msg<id>(objc_getClass("NSString"), "new");
  held.of(holder) = Ref::adopt(text);
  msg<id>(text, "retain");
  EXPECT_EQ(msg<unsigned long>(text, "retainCount"), 2u);
  // ...and destroyed when it is freed, releasing what they own.
  msg<void>(holder, "release");
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(msg<unsigned long>(text, "retainCount"), 1u);
  msg<void>(text, "release");
}

TEST(ClassDefinition, KindOfTestsFollowTheSuperclassChain) {
  ns::AutoreleasePool pool;
  id text = ns::string("x");
  EXPECT_TRUE(msg<BOOL>(text, "isKindOfClass:", objc_getClass("NSObject")));
  EXPECT_TRUE(msg<BOOL>(text, "isKindOfClass:", objc_getClass("NSString")));
  EXPECT_FALSE(msg<BOOL>(text, "isKindOfClass:", objc_getClass("NSMutableString")));
  // An absent class makes the test false.
  EXPECT_FALSE(msg<BOOL>(text, "isKindOfClass:", static_cast<Class>(Nil)));
  // `class` names the object's own class; for a class it is the class itself.
  EXPECT_EQ(msg<Class>(text, "class"), objc_getClass("NSString"));
  EXPECT_EQ(msg<Class>(objc_getClass("NSString"), "class"), objc_getClass("NSString"));
}

TEST(AutoreleasePool, ReleasesWhatWasAutoreleasedWhenItEnds) {
  id text = msg<id>(objc_getClass("NSString"), "new");
  {
    ns::AutoreleasePool pool;
    msg<id>(text, "retain");
    msg<id>(text, "autorelease");
    EXPECT_EQ(msg<unsigned long>(text, "retainCount"), 2u);
  }
  EXPECT_EQ(msg<unsigned long>(text, "retainCount"), 1u);
  msg<void>(text, "release");
}

TEST(RootClass, ClassObjectsIgnoreReferenceCounting) {
  // Classes live for the process; retaining or releasing them changes nothing.
  Class cls = objc_getClass("NSString");
  EXPECT_EQ(msg<id>(cls, "retain"), reinterpret_cast<id>(cls));
  msg<void>(cls, "release");
  EXPECT_EQ(objc_getClass("NSString"), cls);
}

}  // namespace
