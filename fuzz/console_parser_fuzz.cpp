// The console's statement parser over any source text: an error it reports
// names a place in the source.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "tools/console/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const auto result = console::parse(source);
  if (!result) {
    const auto lines = static_cast<int>(std::count(source.begin(), source.end(), '\n'));
    FUZZ_CHECK(result.error().position.line >= 1 && result.error().position.line <= lines + 1);
    FUZZ_CHECK(result.error().position.column >= 1);
  }
  return 0;
}
