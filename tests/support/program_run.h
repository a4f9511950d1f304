// A built program run as a user runs it: an argument vector handed to the
// program itself (no shell between, so no quoting), its standard input from
// a given text, and its output streams and exit status read back.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

struct Outcome {
  std::string out;
  std::string err;
  // The exit status; 128 plus the signal's number when a signal ended it,
  // -1 when it could not be started.
  int status = -1;
};

// Runs `program` with `arguments` and waits for it. Its standard input is
// `input`; its streams pass through files in `directory`, which must exist.
// The environment is the test's own, with a sanitizer build's leak
// statistics kept out of the error stream.
Outcome run_program(const std::string& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& directory, const std::string& input = "");

// A file's whole contents as bytes; empty when it cannot be read.
std::string slurp(const std::filesystem::path& path);

}  // namespace test_support
