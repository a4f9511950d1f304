// Replays fuzz inputs without libFuzzer: every file named on the command line,
// and every file inside a named directory, goes once through the target's
// LLVMFuzzerTestOneInput. A normal build links each target with this, so the
// test suite replays the seed corpus and every input a fuzzing run once
// crashed on, with no clang needed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// The regular files at `path`: itself, or its directory's entries in name
// order, so that a failure names the same input on every run.
std::vector<std::filesystem::path> inputs_at(const std::filesystem::path& path) {
  if (!std::filesystem::is_directory(path)) return {path};
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    if (!std::filesystem::exists(argv[i], error)) {
      std::fprintf(stderr, "error: no such input: %s\n", argv[i]);
      return 1;
    }
    for (const auto& file : inputs_at(argv[i])) {
      std::ifstream stream(file, std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
      if (!stream.good() && !stream.eof()) {
        std::fprintf(stderr, "error: cannot read %s\n", file.c_str());
        return 1;
      }
      // Printed first, so that a crash's report follows the input's name.
      std::fprintf(stderr, "replaying %s\n", file.c_str());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("%zu inputs replayed\n", replayed);
  return 0;
}
