#include "platform/objc/ffi_types.h"

#include <cctype>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace objc {
namespace {

// Encodings come from method tables, but a hostile one must not exhaust the
// stack.
constexpr int kMaxDepth = 32;

// Whether `c` qualifies the type after it (const, in, inout, out, bycopy,
// byref, oneway): it says nothing about how the value is passed.
constexpr bool is_type_qualifier(char c) {
  return c == 'r' || c == 'n' || c == 'N' || c == 'o' || c == 'O' || c == 'R' || c == 'V';
}

// Everything parsed so far, for the life of the process: libffi keeps
// pointers to the types, and signatures are handed out by address.
struct Store {
  std::mutex lock;
  std::unordered_map<std::string, std::unique_ptr<FfiSignature>> signatures;
  std::unordered_map<std::string, std::unique_ptr<FfiType>> types;
  std::unordered_map<std::string, ffi_type*> structs;
  std::deque<ffi_type> struct_types;
  std::deque<std::vector<ffi_type*>> struct_elements;

  static Store& shared() {
    static auto* store = new Store;
    return *store;
  }
};

// One parsed type: its libffi type (null when it cannot be passed by value)
// and, for an array, how many elements it holds.
struct Parsed {
  ffi_type* type = nullptr;
  std::size_t array_count = 0;
};

// A cursor over one encoding. Every parse_* returns false for malformed text;
// a well-formed type that libffi cannot pass leaves `Parsed::type` null.
// Without a store it only reads the text, and a struct's `Parsed::type` stays
// null.
class Parser {
 public:
  Parser(std::string_view text, Store* store, std::size_t pos = 0)
      : text_(text), store_(store), pos_(pos) {}

  std::size_t position() const { return pos_; }

  bool at_end() const { return pos_ >= text_.size(); }

  // Frame offsets follow each type of a method encoding ("v24@0:8").
  void skip_offset() {
    if (!at_end() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
    while (!at_end() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  bool parse(std::string& out, Parsed& parsed, int depth) {
    if (depth > kMaxDepth) return false;
    while (!at_end() && is_type_qualifier(text_[pos_])) ++pos_;
    if (at_end()) return false;
    const char code = text_[pos_++];
    parsed = {};
    if (ffi_type* scalar = scalar_type(code)) {
      out += code;
      parsed.type = scalar;
      return true;
    }
    switch (code) {
      case '@':
        out += '@';
        parsed.type = &ffi_type_pointer;
        if (!at_end() && text_[pos_] == '?') {
          out += '?';  // a block
          ++pos_;
        } else if (!at_end() && text_[pos_] == '"') {
          return skip_quoted();  // a class name says nothing about the call
        }
        return true;
      case '^': {
        out += '^';
        Parsed pointee;
        if (!parse(out, pointee, depth + 1)) return false;
        parsed.type = &ffi_type_pointer;
        return true;
      }
      case '?':  // an unknown type, as behind a function pointer
        out += '?';
        return true;
      case 'b':
        out += 'b';
        return read_count(out) > 0;
      case '[':
        return parse_array(out, parsed, depth);
      case '{':
        return parse_aggregate(out, parsed, depth, '}');
      case '(':
        return parse_aggregate(out, parsed, depth, ')');
      default:
        return false;
    }
  }

 private:
  static ffi_type* scalar_type(char code) {
    struct Scalar {
      char code;
      ffi_type* type;
    };
    static const Scalar kScalars[] = {
        {'c', &ffi_type_sint8},      {'C', &ffi_type_uint8},   {'s', &ffi_type_sint16},
        {'S', &ffi_type_uint16},     {'i', &ffi_type_sint32},  {'I', &ffi_type_uint32},
        {'l', &ffi_type_slong},      {'L', &ffi_type_ulong},   {'q', &ffi_type_sint64},
        {'Q', &ffi_type_uint64},     {'f', &ffi_type_float},   {'d', &ffi_type_double},
        {'D', &ffi_type_longdouble}, {'B', &ffi_type_uint8},   {'v', &ffi_type_void},
        {'#', &ffi_type_pointer},    {':', &ffi_type_pointer}, {'*', &ffi_type_pointer},
        {'%', &ffi_type_pointer},
    };
    for (const Scalar& scalar : kScalars) {
      if (scalar.code == code) return scalar.type;
    }
    return nullptr;
  }

  bool skip_quoted() {
    const std::size_t close = text_.find('"', pos_ + 1);
    if (close == std::string_view::npos) return false;
    pos_ = close + 1;
    return true;
  }

  // Decimal digits at the cursor, copied to `out`; 0 when there are none.
  std::size_t read_count(std::string& out) {
    std::size_t count = 0;
    bool any = false;
    while (!at_end() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      if (count > 1'000'000) return 0;
      count = count * 10 + static_cast<std::size_t>(text_[pos_] - '0');
      out += text_[pos_++];
      any = true;
    }
    return any ? count : 0;
  }

  // "[12i]": passed only inside a struct, where it lays out as its elements.
  bool parse_array(std::string& out, Parsed& parsed, int depth) {
    out += '[';
    const std::size_t count = read_count(out);
    Parsed element;
    if (!parse(out, element, depth + 1)) return false;
    if (at_end() || text_[pos_] != ']') return false;
    out += text_[pos_++];
    if (count > 0 && element.type != nullptr && element.type != &ffi_type_void &&
        element.array_count == 0) {
      parsed.type = element.type;
      parsed.array_count = count;
    }
    return true;
  }

  // "{name=members}" or "(name=members)"; "{name}" alone is an opaque struct,
  // which only a pointer can point to.
  bool parse_aggregate(std::string& out, Parsed& parsed, int depth, char close) {
    const char open = close == '}' ? '{' : '(';
    const std::size_t name_end = text_.find_first_of(close == '}' ? "=}" : "=)", pos_);
    if (name_end == std::string_view::npos) return false;
    const std::size_t start = out.size();
    out += open;
    out.append(text_.substr(pos_, name_end - pos_));
    pos_ = name_end;
    std::vector<ffi_type*> members;
    bool passable = close == '}';
    if (text_[pos_] == '=') {
      out += text_[pos_++];
      while (!at_end() && text_[pos_] != close) {
        if (text_[pos_] == '"' && !skip_quoted()) return false;  // a field name
        Parsed member;
        if (!parse(out, member, depth + 1)) return false;
        skip_offset();
        if (member.type == nullptr || member.type == &ffi_type_void) passable = false;
        const std::size_t copies = member.array_count > 0 ? member.array_count : 1;
        if (passable && copies <= 4096) {
          members.insert(members.end(), copies, member.type);
        } else {
          passable = false;
        }
      }
    }
    if (at_end()) return false;
    out += text_[pos_++];
    if (passable && !members.empty() && store_ != nullptr) {
      parsed.type = struct_type(out.substr(start), members);
    }
    return true;
  }

  ffi_type* struct_type(const std::string& encoding, std::vector<ffi_type*> members) {
    if (auto it = store_->structs.find(encoding); it != store_->structs.end()) return it->second;
    members.push_back(nullptr);
    auto& elements = store_->struct_elements.emplace_back(std::move(members));
    ffi_type& type = store_->struct_types.emplace_back();
    type.size = 0;
    type.alignment = 0;
    type.type = FFI_TYPE_STRUCT;
    type.elements = elements.data();
    ffi_type* result =
        ffi_get_struct_offsets(FFI_DEFAULT_ABI, &type, nullptr) == FFI_OK ? &type : nullptr;
    store_->structs.emplace(encoding, result);
    return result;
  }

  std::string_view text_;
  Store* store_;
  std::size_t pos_;
};

FfiType make_type(std::string encoding, ffi_type* type) {
  const bool is_void = type == &ffi_type_void;
  const std::size_t size = is_void ? 0 : type->size;
  const std::size_t alignment = is_void ? 1 : type->alignment;
  return FfiType{std::move(encoding), type, size, alignment};
}

std::unique_ptr<FfiType> parse_type(std::string_view text, Store& store) {
  Parser parser(text, &store);
  std::string encoding;
  Parsed parsed;
  if (!parser.parse(encoding, parsed, 0)) return nullptr;
  parser.skip_offset();
  if (!parser.at_end() || parsed.type == nullptr || parsed.array_count > 0) return nullptr;
  return std::make_unique<FfiType>(make_type(std::move(encoding), parsed.type));
}

std::unique_ptr<FfiSignature> parse_signature(std::string_view text, Store& store) {
  Parser parser(text, &store);
  auto signature = std::make_unique<FfiSignature>();
  bool first = true;
  while (!parser.at_end()) {
    std::string encoding;
    Parsed parsed;
    if (!parser.parse(encoding, parsed, 0)) return nullptr;
    parser.skip_offset();
    if (parsed.type == nullptr || parsed.array_count > 0) return nullptr;
    if (first) {
      signature->result = make_type(std::move(encoding), parsed.type);
      first = false;
      continue;
    }
    if (parsed.type == &ffi_type_void) return nullptr;
    signature->arguments.push_back(make_type(std::move(encoding), parsed.type));
    signature->argument_types.push_back(parsed.type);
  }
  if (first) return nullptr;
  if (ffi_prep_cif(&signature->cif, FFI_DEFAULT_ABI,
                   static_cast<unsigned>(signature->argument_types.size()), signature->result.type,
                   signature->argument_types.data()) != FFI_OK) {
    return nullptr;
  }
  return signature;
}

}  // namespace

std::optional<std::string> read_type(std::string_view encoding, std::size_t& at) {
  Parser parser(encoding, nullptr, at);
  std::string out;
  Parsed parsed;
  if (!parser.parse(out, parsed, 0)) return std::nullopt;
  parser.skip_offset();
  at = parser.position();
  return out;
}

const FfiSignature* ffi_signature(std::string_view method_encoding) {
  Store& store = Store::shared();
  std::lock_guard guard(store.lock);
  std::string key(method_encoding);
  auto it = store.signatures.find(key);
  if (it == store.signatures.end()) {
    it = store.signatures.emplace(key, parse_signature(method_encoding, store)).first;
  }
  return it->second.get();
}

const FfiType* ffi_type_of(std::string_view type_encoding) {
  Store& store = Store::shared();
  std::lock_guard guard(store.lock);
  std::string key(type_encoding);
  auto it = store.types.find(key);
  if (it == store.types.end()) {
    it = store.types.emplace(key, parse_type(type_encoding, store)).first;
  }
  return it->second.get();
}

}  // namespace objc
