// Evaluating console statements: names, literals and message sends, the
// sends made through the boxed invocation, so any method can be called with
// the types its own encoding names. Variables hold owning references.
//
// Ownership follows Objective-C's conventions as ARC applies them: a result
// of the alloc, new, copy, mutableCopy and init families is owned by the
// value that receives it, any other object result is retained; an init
// message consumes a reference to its receiver. So `v = [[UIView alloc]
// init]` leaves `v` the only owner, and a statement's temporaries are
// released when it ends.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/objc/invocation.h"
#include "platform/objc/ref.h"
#include "tools/console/syntax.h"

namespace console {

// A value the console holds: the boxed value and, for an object, the
// reference that keeps it alive.
struct Value {
  objc::Boxed boxed;
  objc::Ref owner;
};

// A statement that cannot be evaluated: an unknown name, a receiver that is
// not an object, a wrong argument, an assignment of nothing. The message is
// one line, without the "error: " that the session puts before it.
class EvaluationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Evaluator {
 public:
  // The value of `expression`. Throws EvaluationError for input the console
  // refuses and lets the platform's exceptions (objc::Exception) through.
  // Call it inside an autorelease pool: results may be autoreleased.
  Value evaluate(const Expression& expression);

  // Runs a statement: evaluates it and, for an assignment, stores the value
  // (an assignment of a void result is an error). Returns the value of a
  // plain expression, nothing (a void box) for an assignment.
  Value execute(const Statement& statement);

  // The variable's value, or null when there is none.
  const Value* variable(const std::string& name) const;
  // Releases every variable (inside a pool of its own, since deallocation
  // may autorelease).
  void clear();
  ~Evaluator();

 private:
  Value name(const std::string& text);
  Value send(const Send& message);
  Value box(const Value& inner);
  Value array(const ArrayLiteral& literal);
  Value dictionary(const DictionaryLiteral& literal);
  Value function_call(const FunctionCall& call);
  Value c_function_call(const FunctionCall& call);

  std::map<std::string, Value, std::less<>> variables_;
};

// Which conventions a selector's family carries (see above).
bool returns_owned(std::string_view selector);
bool consumes_receiver(std::string_view selector);

// How a value is named in an error: "an integer", "a struct CGRect", "nil".
std::string kind_of(const objc::Boxed& value);

}  // namespace console
