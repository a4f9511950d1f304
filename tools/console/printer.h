// How the console shows a value, one line each:
//  - nothing (a void result) shows as nothing at all;
//  - nil as "nil", a class by its name, a selector as @selector(name:);
//  - an integer as its digits, a BOOL as YES or NO, a floating value in the
//    shortest form that reads back as the same number ("0.8", "1e-07");
//  - a text quoted with C's escapes, "abc" (a C text and an NSString alike;
//    inside a collection an NSString keeps its @, @"abc");
//  - an NSNumber as its value, a Boolean one as YES or NO (inside a
//    collection @42, @YES);
//  - arrays and dictionaries in Objective-C literal form, @[@1, @"a"] and
//    @{@"k": @1}, nested ones included (past a depth of 8 as @[...]);
//  - a colour as its class, model, components and colour text:
//    UIColor rgb(1, 1, 1, 1) #FFFFFF, UIColor grey(1, 1) #FFFF00;
//  - a struct field by field in braces, so a CGRect reads {{0, 0}, {320, 44}}
//    as the platform's NSStringFromCGRect writes it;
//  - any other object by its description.
// Showing an object sends it messages (description, count, ...), so it may
// raise; call it inside an autorelease pool.
#pragma once

#include <string>
#include <string_view>

#include "platform/objc/invocation.h"

namespace console {

// The line for a statement's value (empty for nothing).
std::string show(const objc::Boxed& value);

// A text quoted with C's escapes: "a\"b\n". Characters below U+0020 and
// U+007F are written as \x escapes; all else as it is.
std::string quote(std::string_view utf8);

// The shortest form that reads back as the same double, without a trailing
// ".0" ("1", "0.5", "-2.5e-08", "inf", "nan").
std::string format_number(double value);
std::string format_number(float value);

// A struct's fields in braces, laid out as libffi lays the encoding out for
// this machine; empty when the encoding holds a type this cannot show
// (unions, arrays, bit fields) or does not match the size of `bytes`.
std::string show_struct(std::string_view encoding, const unsigned char* bytes, std::size_t size);

}  // namespace console
