// Reads console source into statements. The grammar is Objective-C's message
// syntax with its literals; statements are separated by ";" or line breaks
// (line breaks inside brackets do not end a statement).
#pragma once

#include <string_view>
#include <vector>

#include "tools/console/syntax.h"

namespace console {

// Parses every statement of `source`, or reports the first syntax error
// (nothing of a source with an error is kept, so nothing of it runs).
Result<std::vector<Statement>> parse(std::string_view source);

// The functions that make structs: CGRectMake, CGSizeMake, CGPointMake,
// NSMakeRange.
bool is_struct_maker(std::string_view name);
// Whether the name is a function the console calls: a struct maker or one of
// the platform's C functions.
bool is_function_name(std::string_view name);

// Deepest nesting of brackets the parser accepts, so hostile input cannot
// exhaust the stack.
inline constexpr int kMaxNesting = 200;

}  // namespace console
