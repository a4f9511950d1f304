// A folder of the running test's own under the system's temporary folder,
// named after the process and the test so that tests run in parallel never
// share one, and removed with all it holds when the test ends.
#pragma once

#include <filesystem>
#include <string_view>

namespace test_support {

class ScratchDirectory {
 public:
  explicit ScratchDirectory(std::string_view prefix);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace test_support
