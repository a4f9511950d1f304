// The registry's rows against the app model: every row with a rule has the
// shape of the method it replaces, so a rule can never be installed over a
// method of another signature. The check itself is shown to catch a row of
// the wrong shape.
#include "core/hook_registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "hosts/gmail/host_classes.h"
#include "platform/objc/type_encoding.h"

namespace tenebra {
namespace {

// The replaced method's type encoding, or nothing when the process has no
// such class or the class does not answer the selector.
std::optional<std::string> replaced_encoding(const HookRow& row) {
  Class cls = objc_getClass(row.class_name);
  if (cls == Nil) return std::nullopt;
  SEL selector = sel_registerName(row.selector);
  Method method = row.side == Side::kClassMethod ? class_getClassMethod(cls, selector)
                                                 : class_getInstanceMethod(cls, selector);
  if (method == nullptr) return std::nullopt;
  return std::string(method_getTypeEncoding(method));
}

class HookRegistry : public testing::Test {
 protected:
  static void SetUpTestSuite() { host::define_host_classes({}); }
};

TEST_F(HookRegistry, EveryRuleHasTheSignatureOfTheMethodItReplaces) {
  int checked = 0;
  for (const HookRow& row : hook_registry()) {
    if (objc_getClass(row.class_name) == Nil) continue;
    SCOPED_TRACE(std::string(row.class_name) + " " + row.selector);
    // A class of the model that a rule names answers the rule's selector.
    const auto encoding = replaced_encoding(row);
    ASSERT_TRUE(encoding);
    EXPECT_TRUE(objc::same_signature(*encoding, row.signature()))
        << *encoding << " is replaced by a rule of " << row.signature();
    ++checked;
  }
  // The model has every class the registry names.
  EXPECT_EQ(checked, 52);
}

TEST_F(HookRegistry, RowsAreDistinctAndClassesAreConsecutive) {
  // The installer looks a class up once per run of rows: one class's rows
  // stand together, and no method is replaced twice.
  std::set<std::string> methods;
  std::set<std::string> finished_classes;
  std::string current;
  for (const HookRow& row : hook_registry()) {
    const std::string side = row.side == Side::kClassMethod ? "+" : "-";
    EXPECT_TRUE(methods.insert(side + row.class_name + " " + row.selector).second)
        << row.class_name << " " << row.selector;
    if (row.class_name != current) {
      EXPECT_FALSE(finished_classes.count(row.class_name)) << row.class_name;
      if (!current.empty()) finished_classes.insert(current);
      current = row.class_name;
    }
  }
}

TEST_F(HookRegistry, ARuleOfAnotherShapeIsCaught) {
  // -[UIView setBackgroundColor:] takes an object: a rule taking a double
  // (or answering one) does not match it.
  static SavedImplementation<void(id, SEL, double)> takes_double;
  static SavedImplementation<double(id, SEL, id)> answers_double;
  const HookRow wrong_argument =
      hook("UIView", Side::kInstance, "setBackgroundColor:",
           +[](id, SEL, double) {}, takes_double);
  const HookRow wrong_result =
      hook("UIView", Side::kInstance, "setBackgroundColor:",
           +[](id, SEL, id) { return 0.0; }, answers_double);
  for (const HookRow& row : {wrong_argument, wrong_result}) {
    EXPECT_FALSE(objc::same_signature(*replaced_encoding(row), row.signature()))
        << row.signature();
  }
}

}  // namespace
}  // namespace tenebra
