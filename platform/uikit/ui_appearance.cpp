#include "platform/uikit/ui_appearance.h"

#include <cctype>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "platform/objc/class_definition.h"
#include "platform/objc/message.h"

namespace ui {
namespace {

using objc::msg;
using objc::Ref;

const objc::Member<Class> kCustomizableClass{"_UIAppearance", "_customizableClass"};
const objc::Member<std::vector<AppearanceSetting>> kSettings{"_UIAppearance", "_settings"};

// Each customizable class has its proxy, an instance of a subclass of
// _UIAppearance made for that class alone: the proxy learns the class's
// setters as they are first sent, and two classes whose setters of one name
// take different types cannot get in each other's way.
struct Registry {
  std::unordered_map<Class, id> proxy_of_class;
  std::unordered_map<Class, Class> class_of_proxy_class;
};
Registry& registry() {
  static auto* shared = new Registry;  // lives for the process, as the proxies do
  return *shared;
}

const objc::ClassRef base_class{"_UIAppearance"};

bool is_setter_name(std::string_view name) {
  return name.size() > 4 && name.starts_with("set") &&
         std::isupper(static_cast<unsigned char>(name[3])) && name.find(':') == name.size() - 1;
}

// The setter a property getter pairs with: `textColor` with `setTextColor:`,
// `isTranslucent` with `setTranslucent:`; nullptr when `cls` has neither.
SEL setter_for_getter(Class cls, std::string_view getter) {
  if (getter.empty() || getter.find(':') != std::string_view::npos) return nullptr;
  std::string candidates[2];
  candidates[0] = "set" + std::string(getter) + ":";
  candidates[0][3] = static_cast<char>(std::toupper(static_cast<unsigned char>(candidates[0][3])));
  if (getter.size() > 2 && getter.starts_with("is") &&
      std::isupper(static_cast<unsigned char>(getter[2]))) {
    candidates[1] = "set" + std::string(getter.substr(2)) + ":";
  }
  for (const auto& candidate : candidates) {
    if (candidate.empty()) continue;
    SEL setter = objc::sel(candidate.c_str());
    if (class_getInstanceMethod(cls, setter) != nullptr) return setter;
  }
  return nullptr;
}

template <typename T>
void record(id self, SEL cmd, objc::wire_t<T> value) {
  auto& settings = kSettings.of(self);
  std::erase_if(settings,
                [cmd](const AppearanceSetting& s) { return sel_isEqual(s.selector, cmd); });
  if constexpr (std::is_same_v<T, Ref>) {
    settings.push_back({cmd, AppearanceValue(std::in_place_type<Ref>, Ref::retain(value))});
  } else {
    settings.push_back({cmd, AppearanceValue(std::in_place_type<T>, value)});
  }
}

template <typename T>
objc::wire_t<T> recorded(id self, SEL cmd) {
  SEL setter = setter_for_getter(kCustomizableClass.of(self), sel_getName(cmd));
  for (const auto& setting : kSettings.of(self)) {
    if (!sel_isEqual(setting.selector, setter)) continue;
    if constexpr (std::is_same_v<T, Ref>) {
      return std::get<Ref>(setting.value).get();
    } else {
      return std::get<T>(setting.value);
    }
  }
  return objc::wire_t<T>{};
}

template <typename T>
bool add_recorder(Class proxy_class, SEL selector, const char* types) {
  const std::string encoding = objc::method_encoding<void, objc::wire_t<T>>();
  if (!objc::same_signature(types, encoding)) return false;
  return class_addMethod(proxy_class, selector, objc::to_imp(&record<T>), encoding.c_str());
}

template <typename T>
bool add_reader(Class proxy_class, SEL selector, const char* types, const char* setter_types) {
  const std::string encoding = objc::method_encoding<objc::wire_t<T>>();
  if (!objc::same_signature(types, encoding) ||
      !objc::same_signature(setter_types, objc::method_encoding<void, objc::wire_t<T>>())) {
    return false;
  }
  return class_addMethod(proxy_class, selector, objc::to_imp(&recorded<T>), encoding.c_str());
}

template <typename... Ts>
bool add_recorder_of_any(Class proxy_class, SEL selector, const char* types, std::variant<Ts...>*) {
  return (add_recorder<Ts>(proxy_class, selector, types) || ...);
}
template <typename... Ts>
bool add_reader_of_any(Class proxy_class, SEL selector, const char* types, const char* setter_types,
                       std::variant<Ts...>*) {
  return (add_reader<Ts>(proxy_class, selector, types, setter_types) || ...);
}

// The runtime asks here, once per selector, before it gives up on a message
// the proxy does not know yet. A one-argument setter of the customizable class
// becomes a recorder, the getter of such a setter a reader; anything else is
// left unresolved, and the send raises NSInvalidArgumentException.
BOOL resolve_instance_method(id self, SEL, SEL selector) {
  const auto& known = registry().class_of_proxy_class;
  auto found = known.find(reinterpret_cast<Class>(self));
  if (found == known.end() || selector == nullptr) return NO;
  Class proxy_class = found->first;
  Class customizable = found->second;
  Method method = class_getInstanceMethod(customizable, selector);
  if (method == nullptr) return NO;
  const char* types = method_getTypeEncoding(method);
  const std::string_view name = sel_getName(selector);
  AppearanceValue* kinds = nullptr;
  if (is_setter_name(name)) return add_recorder_of_any(proxy_class, selector, types, kinds);
  if (SEL setter = setter_for_getter(customizable, name)) {
    const char* setter_types =
        method_getTypeEncoding(class_getInstanceMethod(customizable, setter));
    return add_reader_of_any(proxy_class, selector, types, setter_types, kinds);
  }
  return NO;
}

void replay(id view, const AppearanceSetting& setting) {
  std::visit(
      [&](const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Ref>) {
          msg<void>(view, setting.selector, value.get());
        } else {
          msg<void>(view, setting.selector, value);
        }
      },
      setting.value);
}

}  // namespace

void define_appearance_classes() {
  objc::ClassDefinition("_UIAppearance", objc_getClass("NSObject"))
      .member<Class>("_customizableClass")
      .member<std::vector<AppearanceSetting>>("_settings")
      .class_method("resolveInstanceMethod:", resolve_instance_method)
      .finish();
}

id appearance_proxy(Class cls) {
  if (cls == Nil) return nil;
  auto& shared = registry();
  if (auto found = shared.proxy_of_class.find(cls); found != shared.proxy_of_class.end()) {
    return found->second;
  }
  const std::string name = std::string("_UIAppearance<") + class_getName(cls) + ">";
  Class proxy_class = objc::ClassDefinition(name.c_str(), base_class()).finish();
  shared.class_of_proxy_class[proxy_class] = cls;
  // Made by messages, so that the runtime installs the proxy class's dispatch
  // tables now: a method lookup that runs into the resolver before any send
  // would otherwise find nothing even after the resolver added the method.
  id proxy = msg<id>(msg<id>(proxy_class, "alloc"), "init");
  kCustomizableClass.of(proxy) = cls;
  shared.proxy_of_class[cls] = proxy;
  return proxy;
}

std::vector<AppearanceSetting> appearance_settings(Class cls) {
  const auto& proxies = registry().proxy_of_class;
  auto found = proxies.find(cls);
  return found == proxies.end() ? std::vector<AppearanceSetting>{} : kSettings.of(found->second);
}

void apply_appearance(id view) {
  const auto& proxies = registry().proxy_of_class;
  if (proxies.empty()) return;
  std::vector<Class> lineage;
  for (Class c = object_getClass(view); c != Nil; c = class_getSuperclass(c)) lineage.push_back(c);
  for (auto it = lineage.rbegin(); it != lineage.rend(); ++it) {
    auto found = proxies.find(*it);
    if (found == proxies.end()) continue;
    // A replayed setter may reach the proxy itself: replay a copy.
    const std::vector<AppearanceSetting> settings = kSettings.of(found->second);
    for (const auto& setting : settings) replay(view, setting);
  }
}

}  // namespace ui
