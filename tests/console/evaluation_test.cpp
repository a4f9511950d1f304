// Evaluating statements against runtime classes: what each kind of value
// shows as, sends of every argument and result kind, variables and the
// ownership of what they hold, and the one-line error for each kind of bad
// input after which the session goes on.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "tests/console/console_probe.h"
#include "tools/console/printer.h"
#include "tools/console/session.h"

namespace console {
namespace {

struct Transcript {
  std::string answers;
  std::string errors;
  bool failed = false;
};

// Runs each unit in one session, as several -e arguments do.
Transcript run(const std::vector<std::string>& units) {
  console_test::probe_class();
  std::ostringstream answers;
  std::ostringstream errors;
  bool failed = false;
  {
    Session session(answers, errors);
    for (const auto& unit : units) session.run(unit);
    failed = session.failed();
  }
  return {answers.str(), errors.str(), failed};
}

struct Case {
  const char* source;
  const char* shown;  // the answer line, or the error line
  friend void PrintTo(const Case& c, std::ostream* out) { *out << c.source; }
};

class Answers : public testing::TestWithParam<Case> {};

TEST_P(Answers, ShowTheValueOnOneLine) {
  const Transcript t = run({"p = [ConsoleProbe probeWithValue:2.5]", GetParam().source});
  EXPECT_EQ(t.errors, "");
  EXPECT_EQ(t.answers, std::string(GetParam().shown) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Literals, Answers,
    testing::Values(Case{"42", "42"}, Case{"-9223372036854775808", "-9223372036854775808"},
                    Case{"18446744073709551615", "18446744073709551615"}, Case{"0.8", "0.8"},
                    Case{"1e-7", "1e-07"}, Case{"2.0", "2"}, Case{"0.1f", "0.1"},
                    Case{"YES", "YES"}, Case{"NO", "NO"}, Case{"nil", "nil"},
                    Case{"\"a\\\"b\\n\\x01\"", "\"a\\\"b\\n\\x01\""},
                    Case{"@\"caf\xC3\xA9\"", "\"caf\xC3\xA9\""},
                    Case{"@selector(setFrame:)", "@selector(setFrame:)"},
                    Case{"CGRectMake(0, 0, 320, 44.5)", "{{0, 0}, {320, 44.5}}"},
                    Case{"CGSizeMake(YES, -1)", "{1, -1}"},
                    Case{"CGPointMake(0.5f, 2)", "{0.5, 2}"},
                    Case{"NSMakeRange(3, 18446744073709551615)", "{3, 18446744073709551615}"},
                    Case{"NSObject", "NSObject"}));

INSTANTIATE_TEST_SUITE_P(
    Sends, Answers,
    testing::Values(
        Case{"[p value]", "2.5"}, Case{"[p sumOf:1 and:0.5f and:YES]", "2.5"},
        Case{"[ConsoleProbe twice:21]", "42"}, Case{"[ConsoleProbe twice:2.9]", "4"},
        Case{"[p big]", "18446744073709551615"}, Case{"[p negative]", "-5"},
        Case{"[p ratio]", "0.1"}, Case{"[p isPositive]", "YES"}, Case{"[p negate:YES]", "NO"},
        Case{"[p odd]", "{65, 2.5, -3}"}, Case{"[p cText]", "\"probe \\\"text\\\"\""},
        Case{"[p nullText]", "NULL"}, Case{"[p nameOfSelector:@selector(a:b:)]", "\"a:b:\""},
        Case{"[ConsoleProbe nameOfClass:[p class]]", "\"ConsoleProbe\""},
        Case{"[[p class] superclass]", "NSObject"},
        Case{"[[ConsoleProbe probeWithValue:[p value]] value]", "2.5"},
        Case{"[[[ConsoleProbe alloc] initWithValue:-1] isPositive]", "NO"},
        Case{"[[[ConsoleProbe alloc] initReplacing] value]", "-1"}, Case{"[nil value]", "nil"},
        Case{"[@\"abc\" length]", "3"}, Case{"[@\"abc\" hasPrefix:@\"ab\"]", "YES"},
        Case{"[@\"a\" description]", "\"a\""},
        Case{"[NSString stringWithUTF8String:\"\\u00e9t\\u00e9\"]", "\"\xC3\xA9t\xC3\xA9\""}));

INSTANTIATE_TEST_SUITE_P(
    Colors, Answers,
    testing::Values(Case{"[UIColor colorWithWhite:1 alpha:1]", "UIColor grey(1, 1) #FFFF00"},
                    Case{"[UIColor colorWithRed:1 green:1 blue:1 alpha:1]",
                         "UIColor rgb(1, 1, 1, 1) #FFFFFF"},
                    Case{"[UIColor colorWithRed:0.5 green:0 blue:1.2 alpha:0.25]",
                         "UIColor rgb(0.5, 0, 1.2, 0.25) #8000132"},
                    Case{"[UIColor clearColor]", "UIColor grey(0, 0) #000000"}));

INSTANTIATE_TEST_SUITE_P(
    FoundationValues, Answers,
    testing::Values(
        Case{"@42", "42"}, Case{"@-5", "-5"}, Case{"@3.5", "3.5"}, Case{"@0.5f", "0.5"},
        Case{"@YES", "YES"}, Case{"@(NO)", "NO"},
        Case{"@(18446744073709551615)", "18446744073709551615"},
        Case{"@(\"c text\")", "\"c text\""},
        Case{"[NSNumber numberWithDouble:0.30000000000000004]", "0.30000000000000004"},
        Case{"@[]", "@[]"}, Case{"@{}", "@{}"},
        Case{"@[@1, @\"a\", @[@2.5, @NO], NSObject]", "@[@1, @\"a\", @[@2.5, @NO], NSObject]"},
        Case{"@{@\"k\": @1, @\"l\": @[@\"m\"]}", "@{@\"k\": @1, @\"l\": @[@\"m\"]}"},
        Case{"[@[@1, @2] count]", "2"}, Case{"[@{@\"k\": @\"v\"} objectForKey:@\"k\"]", "\"v\""},
        Case{"[ConsoleProbe twice:@21]", "42"}, Case{"[p setValue:@YES]; [p value]", "1"}));

TEST(Evaluation, NestingBeyondEightLevelsIsCutShort) {
  // An array that holds itself would otherwise print for ever.
  const Transcript t =
      run({"a = [NSMutableArray new]; [a addObject:a]", "a", "[a removeAllObjects]"});
  EXPECT_EQ(t.errors, "");
  EXPECT_EQ(t.answers, "@[@[@[@[@[@[@[@[@[...]]]]]]]]]\n");
}

TEST(Evaluation, AViewKeepsTheColorItIsGiven) {
  const Transcript t =
      run({"v = [UIView new]", "[v backgroundColor]",
           "[v setBackgroundColor:[UIColor colorWithWhite:1 alpha:1]]", "[v backgroundColor]",
           "[[[UIView alloc] initWithFrame:CGRectMake(0, 0, 320, 44)] frame]"});
  EXPECT_EQ(t.errors, "");
  EXPECT_EQ(t.answers, "nil\nUIColor grey(1, 1) #FFFF00\n{{0, 0}, {320, 44}}\n");
}

TEST(Evaluation, ObjectsWithoutAFormOfTheirOwnShowTheirDescription) {
  const Transcript t = run({"[ConsoleProbe new]"});
  EXPECT_EQ(t.answers.rfind("<ConsoleProbe: 0x", 0), 0u) << t.answers;
}

TEST(Evaluation, StructsTravelBothWays) {
  const Transcript t =
      run({"p = [ConsoleProbe new]", "[p setFrame:CGRectMake(1, 2, 3, 4)]", "[p frame]", "[p size]",
           "r = [p frame]", "[p setFrame:r]", "[p size]"});
  EXPECT_EQ(t.errors, "");
  // A void send answers nothing at all: no line, not even an empty one.
  EXPECT_EQ(t.answers, "{{1, 2}, {3, 4}}\n{3, 4}\n{3, 4}\n");
}

TEST(Evaluation, VariablesComeBeforeClassesAndHoldAnyValue) {
  const Transcript t =
      run({"NSObject = 5", "NSObject", "s = @\"x\"", "s = CGPointMake(1, 2)", "s"});
  EXPECT_EQ(t.errors, "");
  // An assignment answers nothing; the variable then shadows the class.
  EXPECT_EQ(t.answers, "5\n{1, 2}\n");
}

TEST(Evaluation, StatementsOfOneUnitRunInOrder) {
  const Transcript t = run({"a = [ConsoleProbe probeWithValue:1]; [a setValue:7]; [a value]"});
  EXPECT_EQ(t.answers, "7\n");
}

TEST(Ownership, TemporariesAreReleasedWhenTheStatementEnds) {
  const int before = console_test::probe_deallocations();
  // new, alloc/init and autoreleased results alike are gone after the statement.
  const Transcript t = run({"[ConsoleProbe new]", "[[ConsoleProbe alloc] initWithValue:1]",
                            "[ConsoleProbe probeWithValue:1]"});
  EXPECT_EQ(t.errors, "");
  EXPECT_EQ(console_test::probe_deallocations() - before, 3);
}

TEST(Ownership, AVariableKeepsItsObjectUntilReassigned) {
  console_test::probe_class();
  std::ostringstream answers;
  std::ostringstream errors;
  Session session(answers, errors);
  const int before = console_test::probe_deallocations();
  session.run("v = [[ConsoleProbe alloc] initWithValue:3]");
  session.run("w = [ConsoleProbe probeWithValue:4]");
  session.run("[v setName:w]");
  EXPECT_EQ(console_test::probe_deallocations(), before);
  session.run("[v value]; [w value]");
  EXPECT_EQ(answers.str(), "3\n4\n");
  // w's probe is still named by v: only v's goes when v is reassigned.
  session.run("w = nil; v = 1");
  EXPECT_EQ(console_test::probe_deallocations() - before, 2);
  EXPECT_EQ(errors.str(), "");
}

TEST(Ownership, AnInitThatReplacesItsReceiverLeavesOneOwner) {
  const int before = console_test::probe_deallocations();
  const Transcript t = run({"v = [[ConsoleProbe alloc] initReplacing]", "[v value]"});
  EXPECT_EQ(t.answers, "-1\n");
  // The replaced receiver and, at the session's end, the replacement.
  EXPECT_EQ(console_test::probe_deallocations() - before, 2);
}

TEST(StructText, LaysFieldsOutAsTheCAbiDoes) {
  struct Mixed {
    char c;
    struct {
      short s;
      double d;
    } inner;
    unsigned char flag;
    float f;
  } mixed{'x', {-2, 0.25}, 1, 1.5f};
  const auto* bytes = reinterpret_cast<const unsigned char*>(&mixed);
  EXPECT_EQ(show_struct("{Mixed=c{Inner=sd}Cf}", bytes, sizeof mixed), "{120, {-2, 0.25}, 1, 1.5}");
  // Qualifiers and frame offsets in an encoding say nothing about the layout.
  EXPECT_EQ(show_struct("{Mixed=c0{Inner=s0d8}8C24f28}", bytes, sizeof mixed),
            "{120, {-2, 0.25}, 1, 1.5}");
  // What cannot be laid out here, or does not match the bytes, gives nothing.
  EXPECT_EQ(show_struct("{Mixed=c{Inner=sd}Cf}", bytes, sizeof mixed - 8), "");
  EXPECT_EQ(show_struct("{Array=[4i]}", bytes, 16), "");
  EXPECT_EQ(show_struct("{Union=(U=id)}", bytes, 8), "");
  EXPECT_EQ(show_struct("{Open=id", bytes, 16), "");
  EXPECT_EQ(show_struct("i", bytes, 4), "");
}

TEST(OwnershipFamilies, FollowTheSelectorsFirstWord) {
  for (const char* owned : {"alloc", "new", "newProbe", "copy", "copyWithZone:", "mutableCopy",
                            "init", "initWithFrame:", "_init"}) {
    EXPECT_TRUE(returns_owned(owned)) << owned;
  }
  for (const char* plain : {"newsletter", "copyright", "initialize", "allocation", "description",
                            "probeWithValue:", "mutableCopying"}) {
    EXPECT_FALSE(returns_owned(plain)) << plain;
  }
  EXPECT_TRUE(consumes_receiver("initWithValue:"));
  EXPECT_FALSE(consumes_receiver("new"));
}

class Errors : public testing::TestWithParam<Case> {};

TEST_P(Errors, AreOneLineAndTheSessionGoesOn) {
  const Transcript t =
      run({"p = [ConsoleProbe probeWithValue:2.5]", GetParam().source, "[p value]"});
  EXPECT_EQ(t.errors.find('\n'), t.errors.size() - 1) << t.errors;
  EXPECT_EQ(t.errors.rfind(std::string("error: ") + GetParam().shown, 0), 0u) << t.errors;
  EXPECT_EQ(t.answers, "2.5\n");
  EXPECT_TRUE(t.failed);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, Errors,
    testing::Values(
        Case{"[p frame", "syntax error at column 9: expected \"]\", found the end of the input"},
        Case{"[p value] [p value]", "syntax error at column 11: expected the end of the"},
        Case{"[p value]\n[p", "syntax error at line 2, column 3: expected a selector"},
        Case{"[Foo new]", "unknown class \"Foo\""}, Case{"[q value]", "unknown variable \"q\""},
        Case{"[p noSuchThing]",
             "NSInvalidArgumentException: -[ConsoleProbe noSuchThing]: unrecognized selector sent "
             "to instance 0x"},
        Case{"[ConsoleProbe noSuchThing]",
             "NSInvalidArgumentException: +[ConsoleProbe noSuchThing]: unrecognized selector sent "
             "to class 0x"},
        Case{"[p explode]", "NSRangeException: the probe exploded"},
        Case{"[p setValue:@\"x\"]", "argument 1 of -[ConsoleProbe setValue:]: cannot pass"},
        Case{"[p setFrame:CGSizeMake(1, 2)]",
             "argument 1 of -[ConsoleProbe setFrame:]: cannot pass"},
        Case{"[p setName:42]", "argument 1 of -[ConsoleProbe setName:]: cannot pass"},
        Case{"[p value:1]", "NSInvalidArgumentException: -[ConsoleProbe value:]"},
        Case{"[p sumOf:1 and:2 and:3, 4]", "-[ConsoleProbe sumOf:and:and:] takes 3"},
        Case{"[42 value]", "cannot send \"value\" to an integer: the receiver must be an object"},
        Case{"[CGRectMake(0, 0, 1, 1) value]", "cannot send \"value\" to a struct CGRect"},
        Case{"CGRectMake(1, 2)", "CGRectMake takes 4 arguments, not 2"},
        Case{"CGPointMake(@\"x\", 1)", "argument 1 of CGPointMake is an object, not a number"},
        Case{"NSMakeRange(-1, 1)", "argument 1 of NSMakeRange is an integer, not a non-negative"},
        Case{"NSMakeRange(1.5, 1)", "argument 1 of NSMakeRange is a double, not a non-negative"},
        Case{"x = [p nothing]", "nothing to assign to \"x\": the message returns void"},
        Case{"[p release]", "\"release\" cannot be sent here: the console counts references"},
        Case{"[p autorelease]", "\"autorelease\" cannot be sent here"},
        Case{"@(p)", "cannot box an object: @(...) takes a number or a C text"},
        Case{"@(CGPointMake(1, 2))", "cannot box a struct CGPoint"},
        Case{"-9223372036854775809", "integer constant -9223372036854775809 is too small"},
        Case{"@[@1, nil]", "array element 2 is nil, not an object"},
        Case{"@[@1, 2]", "array element 2 is an integer, not an object"},
        Case{"@{@\"k\": nil}", "dictionary value 1 is nil, not an object"},
        Case{"@{nil: @1}", "dictionary key 1 is nil, not an object"},
        Case{"[@[@1] objectAtIndex:3]",
             "NSRangeException: *** -[NSArray objectAtIndex:]: index 3"}));

TEST(Errors, AFailedStatementLeavesTheVariableAsItWas) {
  const Transcript t = run({"v = 1", "v = [p explode]", "v = [Nope new]", "v"});
  EXPECT_EQ(t.answers, "1\n");
}

TEST(Errors, ASyntaxErrorRunsNothingOfItsUnit) {
  const Transcript t = run({"v = 1", "v = 2; [v", "v"});
  EXPECT_EQ(t.answers, "1\n");
}

TEST(Errors, AnErrorDoesNotStopTheRestOfItsUnit) {
  const Transcript t = run({"[Nope new]; 7"});
  EXPECT_EQ(t.answers, "7\n");
  EXPECT_EQ(t.errors, "error: unknown class \"Nope\"\n");
}

}  // namespace
}  // namespace console
