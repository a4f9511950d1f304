// Property lists from any bytes, the ground under every settings file the
// library, the pane and the Settings app read: reading never fails but to
// nil, and whatever reads as a tree writes as XML that reads back to the same
// XML.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/property_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ns::AutoreleasePool pool;
  id root = ns::property_list_from_bytes({reinterpret_cast<const char*>(data), size});
  if (root == nil) return 0;
  const auto xml = ns::property_list_xml(root);
  if (!xml) return 0;
  id again = ns::property_list_from_bytes(*xml);
  FUZZ_CHECK(again != nil);
  FUZZ_CHECK(ns::property_list_xml(again) == xml);
  return 0;
}
