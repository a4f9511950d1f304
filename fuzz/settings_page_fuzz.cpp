// A preference page's property list as the Settings-app model loads it, and
// the pane reading each cell's value: any bytes give one specifier per item
// that is a dictionary naming a known cell kind, in order, each holding its
// item's entries; and the value the pane shows for each is the settings
// file's entry under the cell's "key" when the cell's "defaults" is the
// settings domain, else the cell's "default", whatever types either holds.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"
#include "platform/objc/message.h"
#include "platform/preferences/specifier_plist.h"
#include "tenebrasettings/settings_file.h"

namespace {

using objc::msg;

constexpr const char* kSettingsFile = "/User/Library/Preferences/com.kestrow.tenebrasettings.plist";

// The settings file every input reads against: entries of several kinds.
id stored_settings() {
  static id stored = msg<id>(
      ns::dictionary({{ns::string("enabled"), ns::boolean(false)},
                      {ns::string("colorEmail"), ns::boolean(true)},
                      {ns::string("count"), ns::number(7LL)},
                      {ns::string("name"), ns::string("stored")},
                      {ns::string("list"), ns::array({ns::string("x")})}}),
      "retain");
  return stored;
}

bool names_known_cell(id item) {
  if (!ns::is_dictionary(item)) return false;
  id kind = msg<id>(item, "objectForKey:", ns::string("cell"));
  if (!ns::is_string(kind)) return false;
  for (std::u16string_view known :
       {u"PSGroupCell", u"PSSwitchCell", u"PSLinkCell", u"PSButtonCell", u"PSStaticTextCell"}) {
    if (ns::string_equals(kind, known)) return true;
  }
  return false;
}

// Equal objects, or trees that write as the same property list (a NaN is
// not equal to itself).
bool same(id a, id b) {
  if (a == b || (a != nil && msg<BOOL>(a, "isEqual:", b))) return true;
  const auto xml = ns::property_list_xml(a);
  return xml.has_value() && xml == ns::property_list_xml(b);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static device::TemporaryRoot root;
  ns::AutoreleasePool pool;
  std::filesystem::create_directories(device::resolve("/User/Library/Preferences"));
  FUZZ_CHECK(ns::write_property_list(stored_settings(), kSettingsFile, true));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ns::AutoreleasePool pool;
  ns::LogCapture log;  // the loader logs each item it leaves out
  id plist = ns::property_list_from_bytes({reinterpret_cast<const char*>(data), size});
  id target = msg<id>(objc_getClass("PSListController"), "new");
  id specifiers = ps::specifiers_from_plist(plist, target, nil, ns::string("Root"));
  FUZZ_CHECK(ns::is_array(specifiers));

  id items = ns::is_dictionary(plist) ? msg<id>(plist, "objectForKey:", ns::string("items")) : nil;
  std::vector<id> cells;
  if (ns::is_array(items)) {
    for (id item : ns::array_items(items)) {
      if (names_known_cell(item)) cells.push_back(item);
    }
  }
  const std::vector<id> made = ns::array_items(specifiers);
  FUZZ_CHECK(made.size() == cells.size());
  for (std::size_t i = 0; i < made.size(); ++i) {
    id properties = msg<id>(made[i], "properties");
    FUZZ_CHECK(same(properties, cells[i]));

    id domain = msg<id>(properties, "objectForKey:", ns::string("defaults"));
    id key = msg<id>(properties, "objectForKey:", ns::string("key"));
    id fallback = msg<id>(properties, "objectForKey:", ns::string("default"));
    id stored = ns::is_string(domain) && ns::string_equals(domain, u"com.kestrow.tenebrasettings") &&
                        key != nil
                    ? msg<id>(stored_settings(), "objectForKey:", key)
                    : nil;
    FUZZ_CHECK(same(tenebrasettings::read_preference(made[i]), stored != nil ? stored : fallback));
  }
  msg<void>(target, "release");
  return 0;
}
