// The mail head replacement: the page a UIWebView is given, through the
// installed rule, with any script file beside the library. The input is the
// page (bytes widened to UTF-16 units, high bytes standing for surrogate
// halves), then after the first NUL the script file's bytes. The page loaded
// is the given one with the script element after every literal "<head>",
// left to right and never rescanning what was put in; the script's own "%"
// signs and markers are never expanded, and a script that cannot be read
// leaves "(null)" in its place, as the format gives for nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "fuzz/fuzz_check.h"
#include "overrides/host/mail_script.h"
#include "platform/device/device_paths.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/message.h"
#include "platform/objc/ref.h"
#include "tools/support/themed_process.h"

namespace {

using objc::msg;
using objc::Ref;

std::u16string widened(std::string_view bytes) {
  std::u16string out;
  for (unsigned char b : bytes) {
    out += b >= 0xF0 ? static_cast<char16_t>(0xD800 + (b & 0x0F) * 0x80) : char16_t{b};
  }
  return out;
}

// The replacement written plainly, as the oracle.
std::u16string with_script_after_heads(const std::u16string& page, const std::u16string& script) {
  const std::u16string marker = u"<head>";
  const std::u16string replacement = u"<head><script>" + script + u"</script>";
  std::u16string out;
  std::size_t from = 0;
  for (std::size_t at; (at = page.find(marker, from)) != std::u16string::npos;
       from = at + marker.size()) {
    out += page.substr(from, at - from) + replacement;
  }
  return out + page.substr(from);
}

std::filesystem::path script_file() {
  return std::filesystem::path(device::resolve(tenebra::kScriptBundlePath)) /
         (std::string(tenebra::kScriptResourceName) + "." + tenebra::kScriptResourceType);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tenebra::testing::bring_up_theme();
  std::filesystem::create_directories(script_file().parent_path());
  tenebra::settings.enabled = 1;
  tenebra::settings.colorEmail = 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ns::AutoreleasePool pool;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min(input.find('\0'), input.size());
  const std::u16string page = widened(input.substr(0, split));
  const std::string_view script_bytes = input.substr(std::min(split + 1, input.size()));
  std::ofstream(script_file(), std::ios::binary | std::ios::trunc) << script_bytes;

  id script = msg<id>(objc_getClass("Helper"), "getScript");
  const std::u16string script_text = script == nil ? u"(null)" : ns::characters(script);

  Ref view = Ref::adopt(msg<id>(objc_getClass("UIWebView"), "new"));
  msg<void>(view, "loadHTMLString:baseURL:", ns::string(page), nil);
  id loaded = msg<id>(view, "loadedHTMLString");
  FUZZ_CHECK(loaded != nil);
  FUZZ_CHECK(ns::characters(loaded) == with_script_after_heads(page, script_text));
  return 0;
}
