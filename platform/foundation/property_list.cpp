#include "platform/foundation/property_list.h"

#include <plist/plist.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/device/files.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/string_encoding.h"

namespace ns {
namespace {

struct PlistFree {
  void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, PlistFree>;

// Memory that libplist hands out with malloc.
struct MallocFree {
  void operator()(void* memory) const { std::free(memory); }
};
using Owned = std::unique_ptr<char, MallocFree>;

// ---- Limits checked before libplist parses -------------------------------

// The deepest nesting of <array> and <dict> elements, skipping comments,
// character data, processing instructions and declarations, where libplist
// would not see elements either. Unterminated constructs are refused.
bool xml_within_limits(std::string_view xml) {
  unsigned depth = 0;
  auto is_name_end = [&](std::size_t at) {
    return at >= xml.size() ||
           !((xml[at] >= 'a' && xml[at] <= 'z') || (xml[at] >= 'A' && xml[at] <= 'Z'));
  };
  auto names_container = [&](std::size_t at) {
    return (xml.compare(at, 5, "array") == 0 && is_name_end(at + 5)) ||
           (xml.compare(at, 4, "dict") == 0 && is_name_end(at + 4));
  };
  std::size_t at = 0;
  while ((at = xml.find('<', at)) != std::string_view::npos) {
    std::string_view rest = xml.substr(at);
    std::string_view terminator;
    if (rest.starts_with("<!--")) {
      terminator = "-->";
    } else if (rest.starts_with("<![CDATA[")) {
      terminator = "]]>";
    } else if (rest.starts_with("<?")) {
      terminator = "?>";
    } else if (rest.starts_with("<!")) {
      terminator = ">";
    }
    if (!terminator.empty()) {
      std::size_t end = xml.find(terminator, at + 2);
      if (end == std::string_view::npos) return false;
      at = end + terminator.size();
      continue;
    }
    if (rest.starts_with("</")) {
      if (names_container(at + 2) && depth > 0) --depth;
      at += 2;
      continue;
    }
    if (names_container(at + 1)) {
      std::size_t close = xml.find('>', at);
      if (close == std::string_view::npos) return false;
      bool empty_element = xml[close - 1] == '/';
      if (!empty_element && ++depth > kMaxPropertyListDepth) return false;
    }
    ++at;
  }
  return true;
}

std::uint64_t read_big_endian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// The binary form: a header, objects, an offset table and a 32-byte trailer.
// Checks that every container reachable from the top object lies within the
// object area and refers to existing objects, that no dictionary key holds a
// NUL, that no container contains itself, and that the tree libplist would
// build (shared objects expanded) stays within the depth and object limits.
bool binary_within_limits(std::string_view bytes) {
  constexpr std::size_t kHeader = 8;
  constexpr std::size_t kTrailer = 32;
  if (bytes.size() < kHeader + kTrailer + 2) return false;
  const std::size_t trailer = bytes.size() - kTrailer;
  const std::size_t offset_size = static_cast<unsigned char>(bytes[trailer + 6]);
  const std::size_t ref_size = static_cast<unsigned char>(bytes[trailer + 7]);
  const std::uint64_t object_count = read_big_endian(bytes, trailer + 8, 8);
  const std::uint64_t top = read_big_endian(bytes, trailer + 16, 8);
  const std::uint64_t table = read_big_endian(bytes, trailer + 24, 8);
  if (offset_size < 1 || offset_size > 8 || ref_size < 1 || ref_size > 8) return false;
  if (object_count == 0 || object_count > bytes.size() || top >= object_count) return false;
  if (table <= kHeader || table > trailer || (trailer - table) / offset_size < object_count) {
    return false;
  }

  // Where an object's marker lies, or nothing when its offset is outside the
  // object area.
  auto offset_of = [&](std::uint64_t object) -> std::optional<std::uint64_t> {
    std::uint64_t offset = read_big_endian(bytes, table + object * offset_size, offset_size);
    if (offset < kHeader || offset >= table) return std::nullopt;
    return offset;
  };
  // The count in the marker at `offset` (its low four bits, or the integer
  // after it when they are all set) and where the object's contents begin.
  struct Counted {
    std::uint64_t count;
    std::uint64_t contents;
  };
  auto counted = [&](std::uint64_t offset) -> std::optional<Counted> {
    std::uint64_t count = static_cast<unsigned char>(bytes[offset]) & 0xF;
    std::uint64_t at = offset + 1;
    if (count != 0xF) return Counted{count, at};
    if (at >= table) return std::nullopt;
    auto count_marker = static_cast<unsigned char>(bytes[at]);
    if (count_marker >> 4 != 0x1 || (count_marker & 0xF) > 3) return std::nullopt;
    std::size_t width = std::size_t{1} << (count_marker & 0xF);
    if (at + 1 + width > table) return std::nullopt;
    return Counted{read_big_endian(bytes, at + 1, width), at + 1 + width};
  };
  // libplist asserts that a dictionary key has no NUL inside, so a file with
  // such a key is refused here rather than abort the process.
  auto is_clean_key = [&](std::uint64_t object) {
    auto offset = offset_of(object);
    if (!offset) return false;
    unsigned type = static_cast<unsigned char>(bytes[*offset]) >> 4;
    if (type != 0x5 && type != 0x6) return true;  // libplist refuses other keys
    auto key = counted(*offset);
    if (!key) return false;
    const std::uint64_t unit = type == 0x6 ? 2 : 1;
    if (key->count > (table - key->contents) / unit) return false;
    std::string_view text = bytes.substr(key->contents, key->count * unit);
    if (unit == 1) return text.find('\0') == std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += 2) {
      if (text[i] == '\0' && text[i + 1] == '\0') return false;
    }
    return true;
  };

  // The objects a container refers to, or nothing when it is malformed.
  auto children = [&](std::uint64_t object) -> std::optional<std::vector<std::uint64_t>> {
    auto offset = offset_of(object);
    if (!offset) return std::nullopt;
    unsigned type = static_cast<unsigned char>(bytes[*offset]) >> 4;
    if (type != 0xA && type != 0xC && type != 0xD) return std::vector<std::uint64_t>{};
    auto container = counted(*offset);
    if (!container) return std::nullopt;
    const std::uint64_t count = container->count;
    const std::uint64_t at = container->contents;
    std::uint64_t refs = type == 0xD ? 2 * count : count;
    if (count > bytes.size() || refs > (table - at) / ref_size) return std::nullopt;
    std::vector<std::uint64_t> out(refs);
    for (std::uint64_t i = 0; i < refs; ++i) {
      out[i] = read_big_endian(bytes, at + i * ref_size, ref_size);
      if (out[i] >= object_count) return std::nullopt;
      if (type == 0xD && i < count && !is_clean_key(out[i])) return std::nullopt;
    }
    return out;
  };

  enum : unsigned char { kUnseen, kOpen, kDone };
  std::vector<unsigned char> state(object_count, kUnseen);
  std::vector<unsigned> depth(object_count, 0);
  std::vector<std::size_t> size(object_count, 0);
  struct Frame {
    std::uint64_t object;
    std::vector<std::uint64_t> children;
    std::size_t next = 0;
  };
  std::vector<Frame> path;
  auto open = [&](std::uint64_t object) {
    auto refs = children(object);
    if (!refs) return false;
    state[object] = kOpen;
    size[object] = 1;
    path.push_back({object, std::move(*refs)});
    return path.size() <= kMaxPropertyListDepth;
  };
  if (!open(top)) return false;
  while (!path.empty()) {
    Frame& frame = path.back();
    if (frame.next == frame.children.size()) {
      state[frame.object] = kDone;
      path.pop_back();
      continue;
    }
    std::uint64_t child = frame.children[frame.next++];
    std::uint64_t parent = frame.object;
    if (state[child] == kOpen) return false;  // a container inside itself
    if (state[child] == kUnseen) {
      if (!open(child)) return false;
      --path[path.size() - 2].next;  // the parent counts the child once it is done
      continue;
    }
    if (path.size() + depth[child] > kMaxPropertyListDepth) return false;
    depth[parent] = std::max(depth[parent], depth[child] + 1);
    size[parent] += size[child];
    if (size[parent] > kMaxPropertyListObjects) return false;
  }
  return true;
}

// ---- libplist nodes to objects -------------------------------------------

// Integers are kept in 64 bits without their sign; the XML text of the node
// tells whether one with the top bit set is negative or a large unsigned value.
bool is_negative_integer(plist_t node) {
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(node, &xml, &length);
  if (xml == nullptr) return true;
  bool negative = std::string_view(xml, length).find("<integer>-") != std::string_view::npos;
  plist_to_xml_free(xml);
  return negative;
}

id object_from_node(plist_t node, unsigned depth);

id array_from_node(plist_t node, unsigned depth) {
  std::vector<id> items;
  uint32_t count = plist_array_get_size(node);
  items.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    id item = object_from_node(plist_array_get_item(node, i), depth + 1);
    if (item == nil) return nil;
    items.push_back(item);
  }
  return array(items);
}

id dictionary_from_node(plist_t node, unsigned depth) {
  std::vector<id> keys;
  std::vector<id> values;
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(node, &iterator);
  std::unique_ptr<void, MallocFree> iterator_owner(iterator);
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(node, iterator, &key, &value);
    Owned key_owner(key);
    if (value == nullptr) break;
    id item = object_from_node(value, depth + 1);
    if (key == nullptr || item == nil) return nil;
    keys.push_back(string(std::string_view(key)));
    values.push_back(item);
  }
  return msg<id>(objc_getClass("NSDictionary"),
                 "dictionaryWithObjects:forKeys:count:", values.data(), keys.data(),
                 static_cast<unsigned long>(keys.size()));
}

id object_from_node(plist_t node, unsigned depth) {
  if (node == nullptr || depth > kMaxPropertyListDepth) return nil;
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t value = 0;
      plist_get_bool_val(node, &value);
      return boolean(value != 0);
    }
    case PLIST_UINT: {
      uint64_t value = 0;
      plist_get_uint_val(node, &value);
      if (value > static_cast<uint64_t>(LLONG_MAX) && !is_negative_integer(node)) {
        return number(static_cast<unsigned long long>(value));
      }
      return number(static_cast<long long>(value));
    }
    case PLIST_REAL: {
      double value = 0;
      plist_get_real_val(node, &value);
      return number(value);
    }
    case PLIST_STRING: {
      // Read with its length: a binary list's string may hold a NUL, which
      // plist_get_string_val meets with a failed assertion.
      uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return text == nullptr ? nil : string(std::string_view(text, length));
    }
    case PLIST_DATA: {
      char* bytes = nullptr;
      uint64_t length = 0;
      plist_get_data_val(node, &bytes, &length);
      Owned owner(bytes);
      return data(bytes == nullptr ? std::string_view() : std::string_view(bytes, length));
    }
    case PLIST_DATE: {
      int32_t seconds = 0;
      int32_t microseconds = 0;
      plist_get_date_val(node, &seconds, &microseconds);
      return date_since_1970(kReferenceDateSince1970 + seconds + microseconds / 1e6);
    }
    case PLIST_UID: {
      uint64_t value = 0;
      plist_get_uid_val(node, &value);
      return dictionary({{string("CF$UID"), number(static_cast<unsigned long long>(value))}});
    }
    case PLIST_ARRAY:
      return array_from_node(node, depth);
    case PLIST_DICT:
      return dictionary_from_node(node, depth);
    default:
      return nil;
  }
}

// ---- Objects to libplist nodes -------------------------------------------

std::optional<std::string> plist_text(id text) {
  const std::u16string& units = characters(text);
  if (units.find(u'\0') != std::u16string::npos) return std::nullopt;
  return encode(units, NSUTF8StringEncoding);
}

// A node for an integer above LLONG_MAX: libplist writes nodes it makes
// itself as signed, but keeps the unsigned form of one it has parsed.
Node large_unsigned_node(unsigned long long value) {
  std::string xml = "<plist><integer>" + std::to_string(value) + "</integer></plist>";
  plist_t node = nullptr;
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &node);
  return Node(node);
}

Node node_from_object(id object, unsigned depth);

Node array_node(id object, unsigned depth) {
  Node node(plist_new_array());
  for (id item : array_items(object)) {
    Node child = node_from_object(item, depth + 1);
    if (!child) return nullptr;
    plist_array_append_item(node.get(), child.release());
  }
  return node;
}

Node dictionary_node(id object, unsigned depth) {
  Node node(plist_new_dict());
  for (auto [key, value] : dictionary_items(object)) {
    auto key_text = is_string(key) ? plist_text(key) : std::nullopt;
    if (!key_text) return nullptr;
    Node child = node_from_object(value, depth + 1);
    if (!child) return nullptr;
    plist_dict_set_item(node.get(), key_text->c_str(), child.release());
  }
  return node;
}

Node date_node(id object) {
  double since_reference = seconds_since_1970(object) - kReferenceDateSince1970;
  if (!std::isfinite(since_reference)) return nullptr;
  double seconds = std::floor(since_reference);
  double microseconds = std::round((since_reference - seconds) * 1e6);
  if (microseconds >= 1e6) {
    seconds += 1;
    microseconds = 0;
  }
  if (seconds < INT32_MIN || seconds > INT32_MAX) return nullptr;
  return Node(plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>(microseconds)));
}

Node node_from_object(id object, unsigned depth) {
  if (object == nil || depth > kMaxPropertyListDepth) return nullptr;
  if (is_number(object)) {
    switch (number_kind(object)) {
      case NumberKind::kBoolean:
        return Node(plist_new_bool(msg<BOOL>(object, "boolValue") ? 1 : 0));
      case NumberKind::kInteger:
        return Node(plist_new_uint(static_cast<uint64_t>(msg<long long>(object, "longLongValue"))));
      case NumberKind::kLargeUnsigned:
        return large_unsigned_node(msg<unsigned long long>(object, "unsignedLongLongValue"));
      case NumberKind::kReal:
        return Node(plist_new_real(msg<double>(object, "doubleValue")));
    }
  }
  if (is_string(object)) {
    auto text = plist_text(object);
    return text ? Node(plist_new_string(text->c_str())) : nullptr;
  }
  if (is_data(object)) {
    std::string_view bytes = data_bytes(object);
    return Node(plist_new_data(bytes.data(), bytes.size()));
  }
  if (is_date(object)) return date_node(object);
  if (is_array(object)) return array_node(object, depth);
  if (is_dictionary(object)) return dictionary_node(object, depth);
  return nullptr;
}

}  // namespace

id property_list_from_bytes(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaxPropertyListBytes) return nil;
  auto length = static_cast<uint32_t>(bytes.size());
  bool within = plist_is_binary(bytes.data(), length) ? binary_within_limits(bytes)
                                                      : xml_within_limits(bytes);
  if (!within) return nil;
  plist_t root = nullptr;
  plist_from_memory(bytes.data(), length, &root);
  Node owner(root);
  return object_from_node(root, 0);
}

id read_property_list(std::string_view device_path) {
  std::error_code error;
  auto bytes = device::read_file(device_path, error, kMaxPropertyListBytes);
  return bytes ? property_list_from_bytes(*bytes) : nil;
}

std::optional<std::string> property_list_xml(id root) {
  Node node = node_from_object(root, 0);
  if (!node) return std::nullopt;
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(node.get(), &xml, &length);
  if (xml == nullptr) return std::nullopt;
  std::string text(xml, length);
  plist_to_xml_free(xml);
  return text;
}

bool write_property_list(id root, std::string_view device_path, bool atomically) {
  auto xml = property_list_xml(root);
  if (!xml) return false;
  auto mode = atomically ? device::WriteMode::kAtomic : device::WriteMode::kInPlace;
  return !device::write_file(device_path, *xml, mode);
}

}  // namespace ns
