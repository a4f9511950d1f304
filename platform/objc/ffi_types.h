// Calls described by type encodings. A method's type encoding says all that
// libffi needs to call the method, or to stand in for it, without knowing its
// C++ type: this turns an encoding into libffi's description of each type and
// of the whole call. Each distinct encoding is parsed once and kept for the
// life of the process. The substrate's trampolines and the boxed invocation
// share it.
#pragma once

#include <ffi.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace objc {

// One type as the runtime encodes it and as libffi passes it.
struct FfiType {
  // The encoding without qualifiers, frame offsets, class names or field
  // names: "d", "@", "^v", "{CGRect={CGPoint=dd}{CGSize=dd}}".
  std::string encoding;
  ffi_type* type = nullptr;  // lives for the process
  std::size_t size = 0;
  std::size_t alignment = 0;
};

// A whole call: the result, then every argument (self and _cmd included), and
// the prepared description libffi calls through and builds closures from.
struct FfiSignature {
  FfiType result;
  std::vector<FfiType> arguments;
  std::vector<ffi_type*> argument_types;  // what `cif` points into
  ffi_cif cif{};
};

// The one reading of type encodings, which everything else that looks inside
// one goes through. Reads the type at `at` (its qualifiers, the type with all
// it holds, and any frame offset after it), moves `at` past it and answers the
// type written as `FfiType::encoding` writes it; nothing when the text there
// is malformed or nested too deep.
std::optional<std::string> read_type(std::string_view encoding, std::size_t& at);

// The call that a method type encoding describes ("v@:d", or with frame
// offsets as the runtime writes them, "v24@0:8d16"), or null when the encoding
// is malformed or names a type that cannot be passed by value here (a union,
// a bit field, an array, an opaque struct, an unknown code). Parsed once per
// distinct encoding; the result lives for the process and may be shared
// between threads.
const FfiSignature* ffi_signature(std::string_view method_encoding);

// One type encoding on its own ("d", "r*", "{_NSRange=QQ}", "v"), or null in
// the same cases. Void has size 0.
const FfiType* ffi_type_of(std::string_view type_encoding);

}  // namespace objc
