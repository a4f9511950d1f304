// Reading console source: every literal kind, sends and their selectors,
// statement separation, and syntax errors with their columns.
#include "tools/console/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/console/lexer.h"

namespace console {
namespace {

// A compact rendering of a syntax tree, so one line states a whole parse.
std::string render(const Expression& e);

std::string render_list(const std::vector<ExpressionPtr>& list) {
  std::string out;
  for (const auto& item : list) out += " " + render(*item);
  return out;
}

std::string render(const Expression& e) {
  struct Visitor {
    std::string operator()(const IntegerLiteral& n) const {
      return (n.negative ? "-" : "") + std::to_string(n.magnitude);
    }
    std::string operator()(const FloatLiteral& n) const {
      return "float(" + std::to_string(n.value) + (n.single ? "f" : "") + ")";
    }
    std::string operator()(const CTextLiteral& t) const { return "c'" + t.utf8 + "'"; }
    std::string operator()(const TextLiteral& t) const { return "@'" + t.utf8 + "'"; }
    std::string operator()(const BoolLiteral& b) const { return b.value ? "YES" : "NO"; }
    std::string operator()(const NilLiteral&) const { return "nil"; }
    std::string operator()(const BoxedLiteral& b) const { return "box(" + render(*b.inner) + ")"; }
    std::string operator()(const ArrayLiteral& a) const {
      return "array(" + render_list(a.elements) + " )";
    }
    std::string operator()(const DictionaryLiteral& d) const {
      std::string out = "dict(";
      for (const auto& [k, v] : d.entries) out += " " + render(*k) + "=" + render(*v);
      return out + " )";
    }
    std::string operator()(const SelectorLiteral& s) const { return "sel(" + s.name + ")"; }
    std::string operator()(const Name& n) const { return n.text; }
    std::string operator()(const Send& s) const {
      return "[" + render(*s.receiver) + " " + s.selector + render_list(s.arguments) + "]";
    }
    std::string operator()(const FunctionCall& m) const {
      return m.function + "(" + render_list(m.arguments) + " )";
    }
  };
  return std::visit(Visitor{}, e.node);
}

std::string render(const Result<std::vector<Statement>>& result) {
  if (!result) {
    return "error " + std::to_string(result.error().position.line) + ":" +
           std::to_string(result.error().position.column) + " " + result.error().message;
  }
  std::string out;
  for (const auto& s : *result) {
    if (!out.empty()) out += " ; ";
    if (s.target) out += *s.target + " = ";
    out += render(*s.value);
  }
  return out;
}

struct Case {
  std::string_view source;
  const char* expected;
  friend void PrintTo(const Case& c, std::ostream* out) { *out << c.source; }
};

class Parses : public testing::TestWithParam<Case> {};

TEST_P(Parses, IntoTheExpectedTree) {
  EXPECT_EQ(render(parse(GetParam().source)), GetParam().expected) << GetParam().source;
}

INSTANTIATE_TEST_SUITE_P(
    Literals, Parses,
    testing::Values(
        Case{"42", "42"}, Case{"0x2A", "42"}, Case{"-7", "-7"}, Case{"- 7", "-7"}, Case{"-0", "0"},
        Case{"18446744073709551615", "18446744073709551615"}, Case{"3.5", "float(3.500000)"},
        Case{".5", "float(0.500000)"}, Case{"1e3", "float(1000.000000)"},
        Case{"2.5E-1", "float(0.250000)"}, Case{"0.5f", "float(0.500000f)"},
        Case{"-1.5", "float(-1.500000)"}, Case{"\"abc\"", "c'abc'"}, Case{"@\"abc\"", "@'abc'"},
        Case{"@\"ab\" @\"cd\"", "@'abcd'"},
        Case{R"(@"q\"t\\ \n\t\x41\u00e9\U0001F600")", "@'q\"t\\ \n\tA\xC3\xA9\xF0\x9F\x98\x80'"},
        Case{"@\"caf\xC3\xA9\"", "@'caf\xC3\xA9'"}, Case{"YES", "YES"}, Case{"NO", "NO"},
        Case{"nil", "nil"}, Case{"Nil", "nil"}, Case{"NULL", "nil"}, Case{"@42", "box(42)"},
        Case{"@-1", "box(-1)"}, Case{"@3.5f", "box(float(3.500000f))"}, Case{"@YES", "box(YES)"},
        Case{"@([v count])", "box([v count])"}, Case{"@[]", "array( )"},
        Case{"@[@1, @\"a\", nil]", "array( box(1) @'a' nil )"}, Case{"@[@1,]", "array( box(1) )"},
        Case{"@{}", "dict( )"},
        Case{"@{@\"k\": @1, @\"l\": @[]}", "dict( @'k'=box(1) @'l'=array( ) )"},
        Case{"@selector(description)", "sel(description)"},
        Case{"@selector(colorWithWhite:alpha:)", "sel(colorWithWhite:alpha:)"},
        Case{"@selector(::)", "sel(::)"},
        Case{"CGRectMake(0, 0, 320.5, 44)", "CGRectMake( 0 0 float(320.500000) 44 )"},
        Case{"CGSizeMake(1, 2)", "CGSizeMake( 1 2 )"},
        Case{"CGPointMake(-1, 2)", "CGPointMake( -1 2 )"},
        Case{"NSMakeRange(0, 5)", "NSMakeRange( 0 5 )"}, Case{"CGPointMake()", "CGPointMake( )"},
        Case{"(42)", "42"}));

INSTANTIATE_TEST_SUITE_P(
    Sends, Parses,
    testing::Values(Case{"[UIView new]", "[UIView new]"},
                    Case{"[[v class] superclass]", "[[v class] superclass]"},
                    Case{"[UIColor colorWithRed:1 green:0.5 blue:0 alpha:1]",
                         "[UIColor colorWithRed:green:blue:alpha: 1 float(0.500000) 0 1]"},
                    Case{"[v setBackgroundColor:[UIColor colorWithWhite:1 alpha:1]]",
                         "[v setBackgroundColor: [UIColor colorWithWhite:alpha: 1 1]]"},
                    Case{"[[[UIView alloc] initWithFrame:CGRectMake(0, 0, 1, 1)] frame]",
                         "[[[UIView alloc] initWithFrame: CGRectMake( 0 0 1 1 )] frame]"},
                    Case{"[@\"abc\" length]", "[@'abc' length]"},
                    Case{"[@[@1] count]", "[array( box(1) ) count]"},
                    Case{"[42 description]", "[42 description]"},
                    Case{"[obj :1 :2]", "[obj :: 1 2]"},
                    Case{"[NSArray arrayWithObjects:@1, @2, nil]",
                         "[NSArray arrayWithObjects: box(1) box(2) nil]"},
                    Case{"[v respondsToSelector:@selector(frame)]",
                         "[v respondsToSelector: sel(frame)]"}));

INSTANTIATE_TEST_SUITE_P(
    Statements, Parses,
    testing::Values(Case{"v = [UIView new]", "v = [UIView new]"},
                    Case{"v = [UIView new];", "v = [UIView new]"},
                    Case{"a = 1; b = a", "a = 1 ; b = a"}, Case{"a = 1\nb = 2\n", "a = 1 ; b = 2"},
                    Case{";;\n\n", ""}, Case{"", ""}, Case{"// only a comment", ""},
                    Case{"[v frame] // the frame", "[v frame]"},
                    Case{"[UIColor colorWithWhite:1\n         alpha:1]",
                         "[UIColor colorWithWhite:alpha: 1 1]"},
                    Case{"@[@1,\n @2]", "array( box(1) box(2) )"},
                    Case{"x = y = 1", "error 1:7 expected the end of the statement, found \"=\""}));

INSTANTIATE_TEST_SUITE_P(
    Errors, Parses,
    testing::Values(
        Case{"[v frame", "error 1:9 expected \"]\", found the end of the input"},
        Case{"[v]", "error 1:3 expected a selector, found \"]\""},
        Case{"[]", "error 1:2 expected an expression, found \"]\""},
        Case{"[v a:1 b]", "error 1:8 expected \"]\", found \"b\""},
        Case{"[v frame] x", "error 1:11 expected the end of the statement, found \"x\""},
        Case{"@\"abc", "error 1:1 unterminated text"},
        Case{"x = @\"a\nb\"", "error 1:5 unterminated text"},
        Case{"@\"a\\qb\"", "error 1:4 unknown escape \"\\q\""},
        Case{"@\"\\uD800\"", "error 1:3 invalid character code in escape"},
        Case{"@\"\\x\"", "error 1:3 invalid character code in escape"},
        Case{"18446744073709551616", "error 1:1 integer constant is too large"},
        Case{"0x10000000000000000", "error 1:1 integer constant is too large"},
        Case{"1e999", "error 1:1 floating constant is out of range"},
        Case{"1e999f", "error 1:1 floating constant is out of range"},
        Case{"3.4e39f", "error 1:1 floating constant is out of range"},
        Case{"12abc", "error 1:1 malformed number"}, Case{"0x", "error 1:1 malformed number"},
        Case{"1e+", "error 1:1 malformed number"}, Case{"1.2.3", "error 1:1 malformed number"},
        Case{"[v #]", "error 1:4 unexpected character \"#\""},
        Case{std::string_view("[v \0]", 5), "error 1:4 unexpected character \\x00"},
        Case{"[v \x80]", "error 1:4 unexpected character \\x80"},
        Case{"[v \xE2\x82]", "error 1:4 unexpected character \\xE2\\x82"},
        Case{"@\"\xC3\xA9\" \xE2\x82\xAC", "error 1:6 unexpected character \"\xE2\x82\xAC\""},
        Case{"@",
             "error 1:2 expected a number, YES, NO, \"(\", \"[\", \"{\" or \"selector\" after "
             "\"@\", found the end of the input"},
        Case{"@foo",
             "error 1:2 expected a number, YES, NO, \"(\", \"[\", \"{\" or \"selector\" "
             "after \"@\", found \"foo\""},
        Case{"@[@1 @2]", "error 1:6 expected \",\" or \"]\", found \"@\""},
        Case{"@{@1 @2}", "error 1:6 expected \":\", found \"@\""},
        Case{"@selector()", "error 1:11 expected a selector, found \")\""},
        Case{"@selector(a:b)", "error 1:13 expected \")\", found \"b\""},
        Case{"- x", "error 1:3 expected a number after \"-\", found \"x\""},
        Case{"Foo(1)", "error 1:1 unknown function \"Foo\""},
        Case{"CGRectMake(1 2)", "error 1:14 expected \",\" or \")\", found a number"},
        Case{"YES = 1", "error 1:1 cannot assign to \"YES\""},
        Case{"a = 1\n[v", "error 2:3 expected a selector, found the end of the input"},
        Case{"a = 1\n  )", "error 2:3 expected an expression, found \")\""}));

TEST(Parsing, SourceWithAnErrorKeepsNoStatement) {
  // Nothing of a unit with a syntax error may run, not even what precedes it:
  // the answer is the error alone.
  const auto result = parse("a = 1; [b");
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().position, (Position{1, 10}));
}

TEST(Parsing, PositionsPointAtEachNode) {
  const auto result = parse("x = [v  a:@1 b:CGPointMake(1, 2)]");
  ASSERT_TRUE(result);
  const auto& send = std::get<Send>((*result)[0].value->node);
  EXPECT_EQ((*result)[0].position, (Position{1, 1}));
  EXPECT_EQ((*result)[0].value->position, (Position{1, 5}));
  EXPECT_EQ(send.receiver->position, (Position{1, 6}));
  EXPECT_EQ(send.arguments[0]->position, (Position{1, 11}));
  EXPECT_EQ(send.arguments[1]->position, (Position{1, 16}));
}

TEST(Parsing, DeepNestingIsRefusedNotOverflowed) {
  // Hostile input must end in a syntax error, not a stack overflow.
  std::string deep(100000, '[');
  const auto sends = parse(deep);
  ASSERT_FALSE(sends);
  EXPECT_EQ(sends.error().message, "expression is nested too deeply");
  const auto arrays = parse(std::string(100000, '@') + "[");
  ASSERT_FALSE(arrays);
  std::string fine;
  for (int i = 0; i < kMaxNesting - 1; ++i) fine += "[";
  fine += "v";
  for (int i = 0; i < kMaxNesting - 1; ++i) fine += " a]";
  EXPECT_TRUE(parse(fine));
}

TEST(OpenBrackets, TellsWhetherAReaderNeedsMoreLines) {
  const std::pair<const char*, int> cases[] = {
      {"[v frame]", 0},         {"[v setFrame:CGRectMake(0,", 2},
      {"@{@1: @[", 2},          {"@\"[[[\"", 0},
      {"[v a] // [[", 0},       {"]]] [", 1},
      {"@\"unterminated [", 0},
  };
  for (const auto& [source, depth] : cases) EXPECT_EQ(open_brackets(source), depth) << source;
  // Carried from line to line, the count is the one of the whole text.
  EXPECT_EQ(open_brackets("and:2]", open_brackets("[v sumOf:[w a:1", 0)), 1);
  EXPECT_EQ(open_brackets("]]]]", 2), 0);
  EXPECT_EQ(open_brackets("@\"unterminated", 3), 0);
}

}  // namespace
}  // namespace console
