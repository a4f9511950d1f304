// The layering of the source tree: every #include of ours, and every relative
// import of the JavaScript tools, is held against one table of the arrows
// each part may use, so a back-arrow fails here rather than in a review.
// Parts are folders, except the files of core/ that only the library itself
// compiles (the registry's table and the initialisers), which assemble
// everything theme-side.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A part and the parts it may reach besides itself; "*" is every part.
struct Arrows {
  std::string_view part;
  std::vector<std::string_view> may_use;
};

const std::vector<Arrows> kArrows = {
    // The device model: each framework on those below it.
    {"platform/objc", {}},
    {"platform/device", {}},
    {"platform/substrate", {"platform/objc"}},
    {"platform/foundation", {"platform/objc", "platform/device"}},
    {"platform/corefoundation", {"platform/objc", "platform/device", "platform/foundation"}},
    {"platform/coregraphics", {"platform/objc"}},
    {"platform/uikit",
     {"platform/objc", "platform/device", "platform/foundation", "platform/corefoundation",
      "platform/coregraphics"}},
    {"platform/preferences", {"platform/objc", "platform/foundation"}},
    {"platform/webkit", {"platform/objc", "platform/foundation", "platform/coregraphics"}},
    {"platform",
     {"platform/objc", "platform/device", "platform/substrate", "platform/foundation",
      "platform/corefoundation", "platform/coregraphics", "platform/uikit",
      "platform/preferences", "platform/webkit"}},
    // The theme: toolkit, core, the rules, and the library that assembles them.
    // The image operations draw through UIKit's C drawing functions, as on the
    // device (image contexts, UIRectFill).
    {"toolkit",
     {"platform/objc", "platform/foundation", "platform/coregraphics", "platform/uikit"}},
    {"core",
     {"toolkit", "platform/objc", "platform/foundation", "platform/corefoundation",
      "platform/coregraphics", "platform/substrate"}},
    {"overrides",
     {"core", "toolkit", "platform/objc", "platform/foundation", "platform/corefoundation",
      "platform/coregraphics", "platform/uikit", "platform/webkit"}},
    {"library",
     {"core", "toolkit", "overrides", "obfuscator", "platform/objc", "platform/foundation",
      "platform/corefoundation", "platform/coregraphics", "platform/uikit"}},
    {"obfuscator", {"platform/objc", "platform/foundation"}},
    // The app model and the settings pane stand on the platform only.
    {"hosts",
     {"platform/objc", "platform/device", "platform/foundation", "platform/corefoundation",
      "platform/coregraphics", "platform/uikit", "platform/substrate", "platform/preferences"}},
    {"tenebrasettings",
     {"platform", "platform/objc", "platform/device", "platform/foundation",
      "platform/corefoundation", "platform/coregraphics", "platform/uikit"}},
    // Front ends and their support, benchmarks and tests.
    {"tools",
     {"platform", "platform/objc", "platform/device", "platform/substrate", "platform/foundation",
      "platform/corefoundation", "platform/coregraphics", "platform/uikit", "toolkit", "core",
      "library", "overrides", "obfuscator", "hosts", "tools/preview"}},
    // The preview draws the app model's screens as a tool: it reads views by
    // message and the registry's rows, and nothing theme-side reaches it.
    {"tools/preview",
     {"platform", "platform/objc", "platform/device", "platform/foundation",
      "platform/corefoundation", "platform/coregraphics", "platform/uikit", "core", "library",
      "hosts", "tools"}},
    {"bench",
     {"platform", "platform/objc", "platform/device", "platform/substrate", "platform/foundation",
      "platform/corefoundation", "platform/coregraphics", "platform/uikit", "toolkit", "core",
      "library", "overrides", "obfuscator", "hosts", "tools"}},
    {"tests", {"*"}},
    {"fuzz", {"*"}},
};

// The files of core/ that belong to the library itself, not core's library.
const std::set<std::string> kLibraryFiles = {
    "core/hook_registry.cpp", "core/hook_registry.h", "core/library_classes.cpp",
    "core/library_classes.h", "core/startup.cpp",
};

const fs::path kRoot = TENEBRA_SOURCE_DIR;

// The part a repository path belongs to: the longest part that is a folder
// above it, or "" for none.
std::string part_of(const std::string& path) {
  if (kLibraryFiles.count(path)) return "library";
  std::string best;
  for (const Arrows& row : kArrows) {
    const std::string part(row.part);
    if (path.starts_with(part + "/") && part.size() > best.size()) best = part;
  }
  return best;
}

bool may_use(const std::string& from, const std::string& to) {
  if (from == to) return true;
  for (const Arrows& row : kArrows) {
    if (row.part != from) continue;
    return std::any_of(row.may_use.begin(), row.may_use.end(),
                       [&](std::string_view allowed) { return allowed == "*" || allowed == to; });
  }
  return false;
}

bool is_source(const fs::path& path) {
  const std::string ext = path.extension().string();
  return ext == ".cpp" || ext == ".h" || ext == ".mjs" || ext == ".js";
}

// Every source file of ours, as a path relative to the repository; build
// trees, installed packages and hidden folders are not ours.
std::vector<std::string> sources() {
  std::vector<std::string> out;
  for (auto it = fs::recursive_directory_iterator(kRoot); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() &&
        (name.starts_with(".") || name.starts_with("build") || name == "node_modules")) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file() && is_source(it->path())) {
      out.push_back(fs::relative(it->path(), kRoot).generic_string());
    }
  }
  return out;
}

// The repository paths a file names: quoted #includes of our own folders, and
// the relative imports of a JavaScript module.
std::vector<std::string> references(const std::string& file) {
  std::vector<std::string> out;
  std::ifstream in(kRoot / file);
  const bool script = file.ends_with(".mjs") || file.ends_with(".js");
  std::string line;
  while (std::getline(in, line)) {
    if (!script) {
      static constexpr std::string_view kInclude = "#include \"";
      if (!line.starts_with(kInclude)) continue;
      const std::size_t end = line.find('"', kInclude.size());
      if (end == std::string::npos) continue;
      const std::string target = line.substr(kInclude.size(), end - kInclude.size());
      // A bare name is a file beside the includer, or a system header.
      if (target.find('/') != std::string::npos) out.push_back(target);
      continue;
    }
    for (const std::string_view quote : {"'", "\""}) {
      const std::string opening = std::string("from ") + std::string(quote) + ".";
      const std::size_t at = line.find(opening);
      if (at == std::string::npos) continue;
      const std::size_t begin = at + opening.size() - 1;
      const std::size_t end = line.find(quote, begin);
      if (end == std::string::npos) continue;
      const fs::path target =
          (fs::path(file).parent_path() / line.substr(begin, end - begin)).lexically_normal();
      out.push_back(target.generic_string());
    }
  }
  return out;
}

TEST(Layering, EveryReferenceFollowsAnAllowedArrow) {
  const std::vector<std::string> files = sources();
  ASSERT_GT(files.size(), 100u);
  std::map<std::string, int> arrows_used;
  for (const std::string& file : files) {
    const std::string from = part_of(file);
    if (from.empty()) continue;
    for (const std::string& target : references(file)) {
      const std::string to = part_of(target);
      if (to.empty()) continue;  // a system or library header such as "objc/runtime.h"
      EXPECT_TRUE(may_use(from, to)) << file << " reaches " << target << " (" << from << " -> "
                                     << to << " is not an arrow of the table)";
      ++arrows_used[from + " -> " + to];
    }
  }
  // The table is read at all: the library assembles the rules.
  EXPECT_GT(arrows_used["library -> overrides"], 0);
}

TEST(Layering, EveryFolderOfSourcesHasARow) {
  // A new folder is placed in the table before it can hold code.
  for (const std::string& file : sources()) {
    if (file.find('/') == std::string::npos) continue;
    EXPECT_FALSE(part_of(file).empty()) << file << " lies in no part of the table";
  }
}

TEST(Layering, TheTableCatchesBackArrows) {
  EXPECT_FALSE(may_use("core", "overrides"));
  EXPECT_FALSE(may_use("platform/foundation", "platform/coregraphics"));
  EXPECT_FALSE(may_use("platform/corefoundation", "platform/uikit"));
  EXPECT_FALSE(may_use("toolkit", "core"));
  EXPECT_FALSE(may_use("bench", "tests"));
  EXPECT_EQ(part_of("core/hook_registry.cpp"), "library");
  EXPECT_EQ(part_of("core/settings.cpp"), "core");
  EXPECT_EQ(part_of("platform/platform_init.cpp"), "platform");
}

}  // namespace
