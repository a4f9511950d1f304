#include "tools/console/evaluator.h"

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exported_objects.h"
#include "platform/objc/message.h"
#include "tools/console/c_functions.h"
#include "tools/console/parser.h"

namespace console {
namespace {

using objc::Boxed;
using objc::Ref;

// Whether the selector's first word (past leading underscores) is `family`,
// as ARC reads method families: "initWithFrame:" is in init, "initialize" is
// not.
bool in_family(std::string_view selector, std::string_view family) {
  while (!selector.empty() && selector.front() == '_') selector.remove_prefix(1);
  if (!selector.starts_with(family)) return false;
  if (selector.size() == family.size()) return true;
  const char next = selector[family.size()];
  return !(next >= 'a' && next <= 'z');
}

Value object_value(id object) { return Value{Boxed::object(object), Ref::retain(object)}; }

Class required_class(const char* name) {
  Class cls = objc_getClass(name);
  if (cls == Nil) throw EvaluationError(std::string("unknown class \"") + name + "\"");
  return cls;
}

// The platform's answer to a send the console makes on its own behalf.
Value call(Class receiver, const char* selector, const std::vector<Boxed>& arguments) {
  objc::InvocationResult result = objc::invoke(receiver, objc::sel(selector), arguments);
  if (!result) throw EvaluationError(result.error);
  const id* object = result.value->get<id>();
  if (object == nullptr) {
    throw EvaluationError(objc::method_name(reinterpret_cast<id>(receiver), objc::sel(selector)) +
                          " does not answer an object");
  }
  return object_value(*object);
}

// A struct maker's argument as a double (CGFloat).
double coordinate(const Value& value, const FunctionCall& maker, std::size_t index) {
  const Boxed& box = value.boxed;
  if (const auto* v = box.get<long long>()) return static_cast<double>(*v);
  if (const auto* v = box.get<unsigned long long>()) return static_cast<double>(*v);
  if (const auto* v = box.get<double>()) return *v;
  if (const auto* v = box.get<float>()) return *v;
  if (const auto* v = box.get<BOOL>()) return *v;
  throw EvaluationError("argument " + std::to_string(index + 1) + " of " + maker.function + " is " +
                        kind_of(box) + ", not a number");
}

// A struct maker's argument as an NSUInteger.
unsigned long count(const Value& value, const FunctionCall& maker, std::size_t index) {
  const Boxed& box = value.boxed;
  if (const auto* v = box.get<long long>(); v && *v >= 0) return static_cast<unsigned long>(*v);
  if (const auto* v = box.get<unsigned long long>()) return *v;
  if (const auto* v = box.get<BOOL>()) return *v;
  throw EvaluationError("argument " + std::to_string(index + 1) + " of " + maker.function + " is " +
                        kind_of(box) + ", not a non-negative integer");
}

}  // namespace

bool returns_owned(std::string_view selector) {
  return in_family(selector, "alloc") || in_family(selector, "new") ||
         in_family(selector, "copy") || in_family(selector, "mutableCopy") ||
         in_family(selector, "init");
}

bool consumes_receiver(std::string_view selector) { return in_family(selector, "init"); }

std::string kind_of(const Boxed& value) {
  struct Visitor {
    const Boxed& box;
    std::string operator()(std::monostate) const { return "nothing"; }
    std::string operator()(id object) const { return object ? "an object" : "nil"; }
    std::string operator()(Class) const { return "a class"; }
    std::string operator()(SEL) const { return "a selector"; }
    std::string operator()(long long) const { return "an integer"; }
    std::string operator()(unsigned long long) const { return "an integer"; }
    std::string operator()(double) const { return "a double"; }
    std::string operator()(float) const { return "a float"; }
    std::string operator()(BOOL) const { return "a BOOL"; }
    std::string operator()(const std::string&) const { return "a C text"; }
    std::string operator()(void*) const { return "a pointer"; }
    std::string operator()(const Boxed::Bytes&) const {
      const std::string& encoding = box.encoding();
      return "a struct " + encoding.substr(1, encoding.find_first_of("=}") - 1);
    }
  };
  return std::visit(Visitor{value}, value.value());
}

Value Evaluator::evaluate(const Expression& expression) {
  struct Visitor {
    Evaluator& self;
    Value operator()(const IntegerLiteral& n) const {
      if (!n.negative) {
        if (n.magnitude <= static_cast<std::uint64_t>(LLONG_MAX)) {
          return {Boxed::integer(static_cast<long long>(n.magnitude)), {}};
        }
        return {Boxed::unsigned_integer(n.magnitude), {}};
      }
      if (n.magnitude > static_cast<std::uint64_t>(LLONG_MAX) + 1) {
        throw EvaluationError("integer constant -" + std::to_string(n.magnitude) + " is too small");
      }
      // -(2^63) is representable, its magnitude is not: negate in unsigned.
      return {Boxed::integer(static_cast<long long>(0 - n.magnitude)), {}};
    }
    Value operator()(const FloatLiteral& n) const {
      return {n.single ? Boxed::single(static_cast<float>(n.value)) : Boxed::real(n.value), {}};
    }
    Value operator()(const CTextLiteral& t) const { return {Boxed::c_string(t.utf8), {}}; }
    Value operator()(const TextLiteral& t) const { return object_value(ns::string(t.utf8)); }
    Value operator()(const BoolLiteral& b) const {
      return {Boxed::boolean(b.value ? YES : NO), {}};
    }
    Value operator()(const NilLiteral&) const { return {Boxed::object(nil), {}}; }
    Value operator()(const BoxedLiteral& b) const { return self.box(self.evaluate(*b.inner)); }
    Value operator()(const ArrayLiteral& a) const { return self.array(a); }
    Value operator()(const DictionaryLiteral& d) const { return self.dictionary(d); }
    Value operator()(const SelectorLiteral& s) const {
      return {Boxed::selector(objc::sel(s.name.c_str())), {}};
    }
    Value operator()(const Name& n) const { return self.name(n.text); }
    Value operator()(const Send& s) const { return self.send(s); }
    Value operator()(const FunctionCall& m) const { return self.function_call(m); }
  };
  return std::visit(Visitor{*this}, expression.node);
}

Value Evaluator::name(const std::string& text) {
  if (const auto found = variables_.find(text); found != variables_.end()) return found->second;
  if (Class cls = objc_getClass(text.c_str()); cls != Nil) return {Boxed::class_object(cls), {}};
  if (const auto constant = objc::exported_object(text)) return object_value(*constant);
  const bool looks_like_class = !text.empty() && text.front() >= 'A' && text.front() <= 'Z';
  throw EvaluationError(std::string(looks_like_class ? "unknown class \"" : "unknown variable \"") +
                        text + "\"");
}

Value Evaluator::send(const Send& message) {
  const std::string& selector = message.selector;
  // Under the console's ownership rules, as under ARC, references are not
  // counted by hand: a stray release would free what a variable still holds.
  for (const char* refused : {"retain", "release", "autorelease", "dealloc"}) {
    if (selector == refused) {
      throw EvaluationError("\"" + selector +
                            "\" cannot be sent here: the console counts references itself");
    }
  }
  const Value receiver = evaluate(*message.receiver);
  const id* object = receiver.boxed.get<id>();
  const Class* cls = receiver.boxed.get<Class>();
  if (object == nullptr && cls == nullptr) {
    throw EvaluationError("cannot send \"" + selector + "\" to " + kind_of(receiver.boxed) +
                          ": the receiver must be an object or a class");
  }
  std::vector<Value> arguments;
  arguments.reserve(message.arguments.size());
  for (const auto& argument : message.arguments) arguments.push_back(evaluate(*argument));
  std::vector<Boxed> boxes;
  boxes.reserve(arguments.size());
  for (const Value& argument : arguments) boxes.push_back(argument.boxed);

  const SEL sel = objc::sel(selector.c_str());
  const bool consumed = object != nullptr && *object != nil && consumes_receiver(selector);
  // The reference an init message consumes. If the method raises, it is not
  // known whether the method released it, so it is left as it is.
  if (consumed) objc::retain_object(*object);
  objc::InvocationResult result =
      cls != nullptr ? objc::invoke(*cls, sel, boxes) : objc::invoke(*object, sel, boxes);
  if (!result) {
    if (consumed) objc::release_object(*object);
    throw EvaluationError(result.error);
  }
  Value answer{std::move(*result.value), {}};
  if (const id* out = answer.boxed.get<id>(); out != nullptr && *out != nil) {
    answer.owner = returns_owned(selector) ? Ref::adopt(*out) : Ref::retain(*out);
  }
  return answer;
}

// @(...) as Objective-C boxes: with the NSNumber class method a literal of
// that type would use, or an NSString for a C text.
Value Evaluator::box(const Value& inner) {
  const Boxed& value = inner.boxed;
  Class number = Nil;
  const auto number_class = [&number]() {
    if (number == Nil) number = required_class("NSNumber");
    return number;
  };
  if (const auto* v = value.get<long long>()) {
    const bool fits_int = *v >= INT_MIN && *v <= INT_MAX;
    return call(number_class(), fits_int ? "numberWithInt:" : "numberWithLongLong:", {value});
  }
  if (const auto* v = value.get<unsigned long long>()) {
    return call(number_class(),
                *v <= static_cast<unsigned long long>(LLONG_MAX) ? "numberWithLongLong:"
                                                                 : "numberWithUnsignedInteger:",
                {value});
  }
  if (value.get<double>()) return call(number_class(), "numberWithDouble:", {value});
  if (value.get<float>()) return call(number_class(), "numberWithFloat:", {value});
  if (value.get<BOOL>()) return call(number_class(), "numberWithBool:", {value});
  if (const auto* text = value.get<std::string>()) return object_value(ns::string(*text));
  throw EvaluationError("cannot box " + kind_of(value) + ": @(...) takes a number or a C text");
}

namespace {

// An element of a collection literal: an object (a class is one too), never
// nil (the platform's collections hold no nil).
id element(const Value& value, const char* what, std::size_t index) {
  if (const Class* cls = value.boxed.get<Class>(); cls != nullptr && *cls != Nil) {
    return reinterpret_cast<id>(*cls);
  }
  const id* object = value.boxed.get<id>();
  if (object == nullptr || *object == nil) {
    throw EvaluationError(std::string(what) + " " + std::to_string(index + 1) + " is " +
                          kind_of(value.boxed) + ", not an object");
  }
  return *object;
}

}  // namespace

Value Evaluator::array(const ArrayLiteral& literal) {
  std::vector<Value> elements;
  elements.reserve(literal.elements.size());
  for (const auto& e : literal.elements) elements.push_back(evaluate(*e));
  Ref items =
      Ref::adopt(objc::msg<id>(objc::msg<id>(required_class("NSMutableArray"), "alloc"), "init"));
  for (std::size_t i = 0; i < elements.size(); ++i) {
    objc::msg<void>(items.get(), "addObject:", element(elements[i], "array element", i));
  }
  id frozen = objc::msg<id>(items.get(), "copy");
  return {Boxed::object(frozen), Ref::adopt(frozen)};
}

Value Evaluator::dictionary(const DictionaryLiteral& literal) {
  std::vector<std::pair<Value, Value>> entries;
  entries.reserve(literal.entries.size());
  for (const auto& [key, value] : literal.entries) {
    Value k = evaluate(*key);
    entries.emplace_back(std::move(k), evaluate(*value));
  }
  Ref items = Ref::adopt(
      objc::msg<id>(objc::msg<id>(required_class("NSMutableDictionary"), "alloc"), "init"));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    id key = element(entries[i].first, "dictionary key", i);
    id value = element(entries[i].second, "dictionary value", i);
    objc::msg<void>(items.get(), "setObject:forKey:", value, key);
  }
  id frozen = objc::msg<id>(items.get(), "copy");
  return {Boxed::object(frozen), Ref::adopt(frozen)};
}

Value Evaluator::c_function_call(const FunctionCall& call) {
  const CFunction* function = find_c_function(call.function);
  std::vector<Value> values;
  std::vector<Boxed> arguments;
  for (const auto& argument : call.arguments) {
    values.push_back(evaluate(*argument));
    arguments.push_back(values.back().boxed);
  }
  objc::InvocationResult result =
      objc::invoke_function(function->name, function->address, function->types, arguments);
  if (!result) throw EvaluationError(result.error);
  // The functions the console knows hand back objects they do not give away.
  if (const id* object = result.value->get<id>()) return object_value(*object);
  return {std::move(*result.value), {}};
}

Value Evaluator::function_call(const FunctionCall& maker) {
  if (!is_struct_maker(maker.function)) return c_function_call(maker);
  std::vector<Value> arguments;
  arguments.reserve(maker.arguments.size());
  for (const auto& argument : maker.arguments) arguments.push_back(evaluate(*argument));
  const std::size_t wanted = maker.function == "CGRectMake" ? 4 : 2;
  if (arguments.size() != wanted) {
    throw EvaluationError(maker.function + " takes " + std::to_string(wanted) + " arguments, not " +
                          std::to_string(arguments.size()));
  }
  const auto at = [&](std::size_t i) { return coordinate(arguments[i], maker, i); };
  if (maker.function == "CGRectMake") {
    return {Boxed::structure(CGRectMake(at(0), at(1), at(2), at(3))), {}};
  }
  if (maker.function == "CGSizeMake") return {Boxed::structure(CGSizeMake(at(0), at(1))), {}};
  if (maker.function == "CGPointMake") return {Boxed::structure(CGPointMake(at(0), at(1))), {}};
  return {
      Boxed::structure(NSMakeRange(count(arguments[0], maker, 0), count(arguments[1], maker, 1))),
      {}};
}

Value Evaluator::execute(const Statement& statement) {
  Value value = evaluate(*statement.value);
  if (!statement.target) return value;
  if (value.boxed.is_nothing()) {
    throw EvaluationError("nothing to assign to \"" + *statement.target +
                          "\": the message returns void");
  }
  variables_[*statement.target] = std::move(value);
  return {};
}

const Value* Evaluator::variable(const std::string& name) const {
  const auto found = variables_.find(name);
  return found == variables_.end() ? nullptr : &found->second;
}

void Evaluator::clear() {
  ns::AutoreleasePool pool;
  variables_.clear();
}

Evaluator::~Evaluator() { clear(); }

}  // namespace console
