#include "tests/support/scratch_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <system_error>

namespace test_support {

ScratchDirectory::ScratchDirectory(std::string_view prefix)
    : path_(std::filesystem::temp_directory_path() /
            (std::string(prefix) + "_" + std::to_string(::getpid()) + "_" +
             testing::UnitTest::GetInstance()->current_test_info()->name())) {
  std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace test_support
