// The console's language: a small slice of Objective-C. A statement is an
// expression, or `name = expression`; expressions are message sends
// (`[receiver selector]`, `[receiver key:arg key2:arg2]`), names (variables
// first, then classes), literals (numbers, C texts, `@"texts"`, boxed values
// `@42` / `@(expr)`, `@[...]`, `@{...}`, YES/NO/nil/NULL, `@selector(...)`)
// and calls of functions: the struct makers CGRectMake, CGSizeMake,
// CGPointMake and NSMakeRange, and the platform's C functions the console
// knows (c_functions.h).
// Every node remembers where it starts, so an error can name the column.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace console {

// A place in the source: line and column, both counted from 1, the column in
// characters (not bytes).
struct Position {
  int line = 1;
  int column = 1;
  friend bool operator==(const Position&, const Position&) = default;
};

struct Expression;
using ExpressionPtr = std::unique_ptr<Expression>;

// 42, 0x2A, -7: the magnitude and its sign, typed only when it is used, as a
// C integer constant is converted to the type of the parameter it meets.
struct IntegerLiteral {
  std::uint64_t magnitude = 0;
  bool negative = false;
};
// 3.5, 1e-3, 0.5f: `single` for the f suffix.
struct FloatLiteral {
  double value = 0;
  bool single = false;
};
// "text": a C text (const char*).
struct CTextLiteral {
  std::string utf8;
};
// @"text": an NSString.
struct TextLiteral {
  std::string utf8;
};
// YES and NO.
struct BoolLiteral {
  bool value = false;
};
// nil, Nil and NULL.
struct NilLiteral {};
// @42, @3.5, @YES, @(expression): the value as an object.
struct BoxedLiteral {
  ExpressionPtr inner;
};
// @[a, b]
struct ArrayLiteral {
  std::vector<ExpressionPtr> elements;
};
// @{key: value, ...}
struct DictionaryLiteral {
  std::vector<std::pair<ExpressionPtr, ExpressionPtr>> entries;
};
// @selector(name:)
struct SelectorLiteral {
  std::string name;
};
// A variable or a class.
struct Name {
  std::string text;
};
// [receiver selector] / [receiver key:arg ...]; `arguments` follow the
// selector's parts in order, then any comma-separated variadic extras.
struct Send {
  ExpressionPtr receiver;
  std::string selector;
  std::vector<ExpressionPtr> arguments;
};
// CGRectMake(x, y, w, h) and its kin, or a C function: UIRectFill(r).
struct FunctionCall {
  std::string function;
  std::vector<ExpressionPtr> arguments;
};

struct Expression {
  using Node = std::variant<IntegerLiteral, FloatLiteral, CTextLiteral, TextLiteral, BoolLiteral,
                            NilLiteral, BoxedLiteral, ArrayLiteral, DictionaryLiteral,
                            SelectorLiteral, Name, Send, FunctionCall>;
  Position position;
  Node node;
};

struct Statement {
  Position position;
  std::optional<std::string> target;  // the variable of `name = expression`
  ExpressionPtr value;
};

// A failure to read the source: where and what.
struct SyntaxError {
  Position position;
  std::string message;
};

// What each step of reading the source answers: its value, or the one error
// that stopped it, never both.
template <typename T>
class Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(SyntaxError error) : state_(std::in_place_index<1>, std::move(error)) {}

  explicit operator bool() const { return state_.index() == 0; }
  T& operator*() { return std::get<0>(state_); }
  const T& operator*() const { return std::get<0>(state_); }
  T* operator->() { return &std::get<0>(state_); }
  const T* operator->() const { return &std::get<0>(state_); }
  const SyntaxError& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, SyntaxError> state_;
};

}  // namespace console
