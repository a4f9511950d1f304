// Type encodings read as libffi types: scalars, pointers, structs, the
// decorations the runtime adds, and the encodings that cannot be passed.
#include "platform/objc/ffi_types.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/geometry.h"
#include "platform/foundation/foundation_types.h"
#include "platform/objc/type_encoding.h"
#include "platform/uikit/ui_image.h"

namespace {

struct TypeCase {
  const char* encoding;
  const char* essential;
  std::size_t size;
  std::size_t alignment;
};

class FfiTypeOf : public ::testing::TestWithParam<TypeCase> {};

TEST_P(FfiTypeOf, LaysTheTypeOutAsTheCompilerDoes) {
  const TypeCase& c = GetParam();
  const objc::FfiType* type = objc::ffi_type_of(c.encoding);
  ASSERT_NE(type, nullptr) << c.encoding;
  EXPECT_EQ(type->encoding, c.essential);
  EXPECT_EQ(type->size, c.size);
  EXPECT_EQ(type->alignment, c.alignment);
}

// Cases are named after their encodings, spelled in letters and digits.
std::string case_name(const ::testing::TestParamInfo<TypeCase>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char* c = info.param.encoding; *c != '\0'; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  }
  return name;
}

struct Mixed {
  char c;
  double d;
  short s[3];
  float f;
};

INSTANTIATE_TEST_SUITE_P(Scalars, FfiTypeOf,
                         ::testing::Values(TypeCase{"c", "c", 1, 1}, TypeCase{"C", "C", 1, 1},
                                           TypeCase{"s", "s", 2, 2}, TypeCase{"S", "S", 2, 2},
                                           TypeCase{"i", "i", 4, 4}, TypeCase{"I", "I", 4, 4},
                                           TypeCase{"l", "l", sizeof(long), alignof(long)},
                                           TypeCase{"L", "L", sizeof(long), alignof(long)},
                                           TypeCase{"q", "q", 8, alignof(long long)},
                                           TypeCase{"Q", "Q", 8, alignof(long long)},
                                           TypeCase{"f", "f", 4, 4},
                                           TypeCase{"d", "d", 8, alignof(double)},
                                           TypeCase{"B", "B", 1, 1}, TypeCase{"v", "v", 0, 1}),
                         case_name);

INSTANTIATE_TEST_SUITE_P(
    Pointers, FfiTypeOf,
    ::testing::Values(TypeCase{"@", "@", sizeof(void*), alignof(void*)},
                      TypeCase{"@\"NSString\"", "@", sizeof(void*), alignof(void*)},
                      TypeCase{"@?", "@?", sizeof(void*), alignof(void*)},
                      TypeCase{"#", "#", sizeof(void*), alignof(void*)},
                      TypeCase{":", ":", sizeof(void*), alignof(void*)},
                      TypeCase{"r*", "*", sizeof(void*), alignof(void*)},
                      TypeCase{"^v", "^v", sizeof(void*), alignof(void*)},
                      TypeCase{"^^{Node}", "^^{Node}", sizeof(void*), alignof(void*)},
                      TypeCase{"^?", "^?", sizeof(void*), alignof(void*)},
                      TypeCase{"^{_NSZone=}", "^{_NSZone=}", sizeof(void*), alignof(void*)},
                      TypeCase{"^(Value=id)", "^(Value=id)", sizeof(void*), alignof(void*)},
                      TypeCase{"Vr^{CGRect={CGPoint=dd}{CGSize=dd}}",
                               "^{CGRect={CGPoint=dd}{CGSize=dd}}", sizeof(void*), alignof(void*)}),
    case_name);

INSTANTIATE_TEST_SUITE_P(
    Structs, FfiTypeOf,
    ::testing::Values(TypeCase{"{CGPoint=dd}", "{CGPoint=dd}", sizeof(CGPoint), alignof(CGPoint)},
                      TypeCase{"{CGRect={CGPoint=dd}{CGSize=dd}}",
                               "{CGRect={CGPoint=dd}{CGSize=dd}}", sizeof(CGRect), alignof(CGRect)},
                      TypeCase{"{_NSRange=QQ}", "{_NSRange=QQ}", 16, alignof(unsigned long long)},
                      TypeCase{"{Mixed=cd[3s]f}", "{Mixed=cd[3s]f}", sizeof(Mixed), alignof(Mixed)},
                      TypeCase{"{Named=\"x\"d\"y\"d}", "{Named=dd}", 16, alignof(double)},
                      TypeCase{"n{_NSRange=QQ}16", "{_NSRange=QQ}", 16,
                               alignof(unsigned long long)}),
    case_name);

// Every struct the platform gives an encoding is laid out by libffi for this
// machine exactly as the compiler lays out the C++ type, on 32-bit targets as
// on 64-bit ones: what sends, hooks and the console pass is the real thing.
template <typename T>
void expect_compiler_layout() {
  const std::string encoding = objc::Encoding<T>::value();
  const objc::FfiType* type = objc::ffi_type_of(encoding);
  ASSERT_NE(type, nullptr) << encoding;
  EXPECT_EQ(type->size, sizeof(T)) << encoding;
  EXPECT_EQ(type->alignment, alignof(T)) << encoding;
}

TEST(FfiTypeOfDeclaredStructs, LibffiLaysEachOutAsTheCompilerDoes) {
  expect_compiler_layout<CGPoint>();
  expect_compiler_layout<CGSize>();
  expect_compiler_layout<CGRect>();
  expect_compiler_layout<CGAffineTransform>();
  expect_compiler_layout<NSRange>();
  expect_compiler_layout<UIEdgeInsets>();
}

TEST(FfiTypeOfUnsupported, EncodingsThatCannotBePassedByValueGiveNothing) {
  const char* const unsupported[] = {
      "",                      // nothing at all
      "x",                     // an unknown code
      "?",                     // an unknown type
      "(Value=id)",            // a union
      "b3",                    // a bit field
      "[4i]",                  // an array outside a struct
      "{Opaque}",              // a struct without members
      "{Empty=}",              // a struct with none either
      "{Holds=i(Value=id)}",   // a struct holding a union
      "{CGRect={CGPoint=dd}",  // unterminated
      "^",                     // a pointer to nothing
      "@\"NSString",           // an unterminated class name
      "[i]",                   // an array without a count
      "dd",                    // two types where one is asked for
  };
  for (const char* encoding : unsupported) {
    EXPECT_EQ(objc::ffi_type_of(encoding), nullptr) << '"' << encoding << '"';
  }
  // Nesting deeper than any real type is refused rather than followed.
  EXPECT_EQ(objc::ffi_type_of(std::string(200, '^') + "v"), nullptr);
}

TEST(FfiSignature, ReadsEveryTypeOfAMethodEncoding) {
  const objc::FfiSignature* signature = objc::ffi_signature(
      "{CGRect={CGPoint=dd}{CGSize=dd}}48@0:8{CGRect={CGPoint=dd}{CGSize=dd}}16d48");
  ASSERT_NE(signature, nullptr);
  // The result, then self, _cmd and the arguments; frame offsets are skipped.
  EXPECT_EQ(signature->result.encoding, "{CGRect={CGPoint=dd}{CGSize=dd}}");
  ASSERT_EQ(signature->arguments.size(), 4u);
  EXPECT_EQ(signature->arguments[0].encoding, "@");
  EXPECT_EQ(signature->arguments[1].encoding, ":");
  EXPECT_EQ(signature->arguments[3].encoding, "d");
  EXPECT_EQ(signature->cif.nargs, 4u);
  // Structs of one shape share one libffi type.
  EXPECT_EQ(signature->result.type, signature->arguments[2].type);
  EXPECT_EQ(signature->result.type, objc::ffi_type_of("{CGRect={CGPoint=dd}{CGSize=dd}}")->type);
}

TEST(FfiSignature, EachEncodingIsParsedOnce) {
  // The same text gives the same signature, shared for the process.
  EXPECT_EQ(objc::ffi_signature("v@:d"), objc::ffi_signature("v@:d"));
  EXPECT_EQ(objc::ffi_type_of("{_NSRange=QQ}"), objc::ffi_type_of("{_NSRange=QQ}"));
}

TEST(FfiSignature, UnpassableOrMalformedMethodsGiveNothing) {
  // A void argument, a union argument, nothing at all, and an unknown code.
  for (const char* encoding : {"v@:v", "v@:(Value=id)", "", "v@:x"}) {
    EXPECT_EQ(objc::ffi_signature(encoding), nullptr) << '"' << encoding << '"';
  }
}

TEST(TypeWalker, ReadsOneTypeAndMovesPastIt) {
  // A pointer's pointee, qualifiers and the frame offset after it are all
  // part of the one type.
  const std::string encoding = "^r{CGRect={CGPoint=dd}{CGSize=dd}}16@24";
  std::size_t at = 0;
  EXPECT_EQ(objc::read_type(encoding, at), "^{CGRect={CGPoint=dd}{CGSize=dd}}");
  EXPECT_EQ(encoding.substr(at), "@24");
  // An unclosed struct is no type, and the cursor stays where it was.
  at = 0;
  EXPECT_EQ(objc::read_type("{CGPoint=dd", at), std::nullopt);
  EXPECT_EQ(at, 0u);
}

struct SignaturePair {
  const char* a;
  const char* b;
  bool same;
};

TEST(TypeWalker, SameSignatureIgnoresOnlyWhatDoesNotShapeTheCall) {
  const SignaturePair pairs[] = {
      // Frame offsets, qualifiers, class names and field names say nothing
      // about how a value is passed.
      {"v24@0:8d16", "v@:d", true},
      {"v@:r*", "v@:*", true},
      {"@@:@\"NSString\"", "@@:@", true},
      {"v@:{Pair=\"x\"i\"y\"i}", "v@:{Pair=ii}", true},
      {"v@:^r^v", "v@:^^v", true},
      // An array's count, a bit field's width and every type do.
      {"v@:^[4i]", "v@:^[8i]", false},
      {"v@:^{Bits=b3}", "v@:^{Bits=b4}", false},
      {"v@:d", "v@:f", false},
      {"v@:", "v@:@", false},
      // Text that is no encoding matches only itself.
      {"v@:{", "v@:{", true},
      {"v@:{", "v@:", false},
  };
  for (const SignaturePair& pair : pairs) {
    EXPECT_EQ(objc::same_signature(pair.a, pair.b), pair.same) << pair.a << " vs " << pair.b;
  }
}

}  // namespace
