#include "platform/preferences/specifier_plist.h"

#include <string_view>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_log.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/preferences/preferences.h"

namespace ps {
namespace {

using objc::msg;

struct CellKind {
  std::u16string_view name;
  PSCellType type;
};

constexpr CellKind kCellKinds[] = {
    {u"PSGroupCell", PSGroupCell},
    {u"PSSwitchCell", PSSwitchCell},
    {u"PSLinkCell", PSLinkCell},
    {u"PSButtonCell", PSButtonCell},
    {u"PSStaticTextCell", PSStaticTextCell},
};

const CellKind* cell_kind(id name) {
  if (!ns::is_string(name)) return nullptr;
  for (const CellKind& kind : kCellKinds) {
    if (ns::string_equals(name, kind.name)) return &kind;
  }
  return nullptr;
}

// The item's entry under `key` when it is a non-empty text.
id text_entry(id item, const char* key) {
  id value = msg<id>(item, "objectForKey:", ns::string(key));
  return ns::is_string(value) && !ns::characters(value).empty() ? value : nil;
}

SEL selector_entry(id item, const char* key, const char* fallback) {
  id value = text_entry(item, key);
  if (value != nil) return NSSelectorFromString(value);
  return fallback != nullptr ? objc::sel(fallback) : nullptr;
}

Class detail_class(id item, id bundle) {
  id name = text_entry(item, "detail");
  if (name == nil) return Nil;
  Class cls = msg<Class>(bundle, "classNamed:", name);
  return cls != Nil ? cls : NSClassFromString(name);
}

id specifier_from_item(id item, id target, id bundle) {
  const CellKind* kind = cell_kind(msg<id>(item, "objectForKey:", NSSTR("cell")));
  if (kind == nullptr) return nil;
  const bool holds_value = kind->type != PSGroupCell && kind->type != PSButtonCell &&
                           kind->type != PSLinkCell && kind->type != PSStaticTextCell;
  id specifier = msg<id>(
      objc_getClass("PSSpecifier"),
      "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", text_entry(item, "label"),
      target, holds_value ? selector_entry(item, "set", "setPreferenceValue:specifier:") : nullptr,
      holds_value ? selector_entry(item, "get", "readPreferenceValue:") : nullptr,
      detail_class(item, bundle), static_cast<long>(kind->type), Class{Nil});
  msg<void>(specifier, "setProperties:", item);
  msg<void>(specifier, "setButtonAction:", selector_entry(item, "action", nullptr));
  return specifier;
}

}  // namespace

id specifiers_from_plist(id plist, id target, id bundle, id name) {
  id specifiers = msg<id>(objc_getClass("NSMutableArray"), "array");
  id items = ns::is_dictionary(plist) ? msg<id>(plist, "objectForKey:", NSSTR("items")) : nil;
  if (!ns::is_array(items)) {
    NSLog(NSSTR("Preferences: %@.plist has no list of items"), name);
    return specifiers;
  }
  long position = 0;
  for (id item : ns::array_items(items)) {
    id specifier = ns::is_dictionary(item) ? specifier_from_item(item, target, bundle) : nil;
    if (specifier == nil) {
      NSLog(NSSTR("Preferences: item %ld of %@.plist is no cell and is left out"), position, name);
    } else {
      msg<void>(specifiers, "addObject:", specifier);
    }
    ++position;
  }
  return specifiers;
}

}  // namespace ps
