// Property lists: round trips in both forms, files written by another tool
// (Python's plistlib), one case per Boolean conversion, malformed and hostile
// files that must read as nil, and atomic writes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/device/device_paths.h"
#include "platform/foundation/foundation.h"
#include "tests/foundation/printable.h"

namespace {

using objc::msg;
namespace fs = std::filesystem;

Class cls(const char* name) { return objc_getClass(name); }
id text(const char* utf8) { return ns::string(utf8); }

class PropertyListTest : public testing::Test {
 protected:
  void SetUp() override { fs::create_directories(host("/var/mobile/Library/Preferences")); }

  std::string host(const std::string& device_path) const { return device::resolve(device_path); }
  void put(const std::string& device_path, const std::string& bytes) const {
    std::ofstream(host(device_path), std::ios::binary) << bytes;
  }
  std::string content(const std::string& device_path) const {
    std::ifstream in(host(device_path), std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
  }
  id read_dictionary(const std::string& device_path) const {
    return msg<id>(cls("NSDictionary"), "dictionaryWithContentsOfFile:", text(device_path.c_str()));
  }
  std::vector<std::string> names_in(const std::string& device_path) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(host(device_path))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  device::TemporaryRoot root_;
  ns::AutoreleasePool pool_;
};

const char* kPrefs = "/var/mobile/Library/Preferences/com.kestrow.tenebrasettings.plist";

id sample_tree() {
  return ns::dictionary({
      {text("enabled"), ns::boolean(true)},
      {text("colorEmail"), ns::boolean(false)},
      {text("count"), ns::number(3LL)},
      {text("negative"), ns::number(-5LL)},
      {text("largest"), ns::number(ULLONG_MAX)},
      {text("ratio"), ns::number(0.1)},
      {text("name"), text("caf\xC3\xA9 \xF0\x9F\x98\x80 <&>")},
      {text("bytes"), ns::data(std::string("\x00\xff\x10", 3))},
      {text("when"), ns::date_since_1970(1577934245.0)},
      {text("list"), ns::array({ns::number(1LL), text("two"), ns::dictionary({})})},
      {text("nested"), ns::dictionary({{text("deeper"), ns::array({ns::boolean(false)})}})},
  });
}

TEST_F(PropertyListTest, TreesRoundTripWithTheirKinds) {
  id tree = sample_tree();
  ASSERT_TRUE(msg<BOOL>(tree, "writeToFile:atomically:", text(kPrefs), YES));
  EXPECT_TRUE(content(kPrefs).starts_with("<?xml"));  // the XML form
  id back = read_dictionary(kPrefs);
  EXPECT_TRUE(msg<BOOL>(back, "isEqual:", tree)) << ns::utf8(msg<id>(back, "description"));
  // Booleans stay Booleans and integers stay integers, though they are equal.
  id enabled = msg<id>(back, "objectForKey:", text("enabled"));
  id count = msg<id>(back, "objectForKey:", text("count"));
  EXPECT_TRUE(ns::is_boolean(enabled));
  EXPECT_FALSE(ns::is_boolean(count));
  EXPECT_EQ(ns::number_kind(count), ns::NumberKind::kInteger);
  EXPECT_EQ(ns::number_kind(msg<id>(back, "objectForKey:", text("ratio"))), ns::NumberKind::kReal);
  EXPECT_EQ(msg<unsigned long long>(msg<id>(back, "objectForKey:", text("largest")),
                                    "unsignedLongLongValue"),
            ULLONG_MAX);
}

TEST_F(PropertyListTest, UserAndVarMobileNameOneFile) {
  id written = ns::dictionary({{text("colorEmail"), ns::boolean(false)}});
  ASSERT_TRUE(msg<BOOL>(written, "writeToFile:atomically:",
                        text("/User/Library/Preferences/com.kestrow.tenebrasettings.plist"), YES));
  EXPECT_TRUE(msg<BOOL>(read_dictionary(kPrefs), "isEqual:", written));
}

TEST_F(PropertyListTest, MutableReadsAreMutableAndTheRootKindMustMatch) {
  ASSERT_TRUE(msg<BOOL>(sample_tree(), "writeToFile:atomically:", text(kPrefs), YES));
  id table = msg<id>(cls("NSMutableDictionary"), "dictionaryWithContentsOfFile:", text(kPrefs));
  EXPECT_EQ(object_getClass(table), cls("NSMutableDictionary"));
  msg<void>(table, "setObject:forKey:", ns::boolean(false), text("enabled"));
  // A dictionary file is no array, and an array file no dictionary.
  EXPECT_EQ(msg<id>(cls("NSArray"), "arrayWithContentsOfFile:", text(kPrefs)), nil);
  id list = ns::array({text("a"), ns::number(2LL)});
  ASSERT_TRUE(msg<BOOL>(list, "writeToFile:atomically:", text("/list.plist"), NO));
  EXPECT_TRUE(msg<BOOL>(msg<id>(cls("NSArray"), "arrayWithContentsOfFile:", text("/list.plist")),
                        "isEqual:", list));
  EXPECT_EQ(read_dictionary("/list.plist"), nil);
}

// ---- Files written by another tool --------------------------------------

bool have_python() { return std::system("python3 -c pass >/dev/null 2>&1") == 0; }

// Runs a Python program with the given arguments; true when it exits with 0.
bool run_python(const std::string& dir, const std::string& program, const std::string& arguments) {
  std::string script = dir + "/program.py";
  std::ofstream(script) << program;
  return std::system(("python3 " + script + " " + arguments).c_str()) == 0;
}

const char* kPythonTree = R"(
import datetime, plistlib, sys
tree = {
    "enabled": True, "colorEmail": False, "one": 1, "zero": 0, "negative": -5,
    "ratio": 0.1, "text": "caf\u00e9 \U0001F600 <&>",
    "bytes": b"\x00\xff", "when": datetime.datetime(2020, 1, 2, 3, 4, 5),
    "list": [1, "two", {}], "nested": {"deeper": [False]},
}
)";

class PythonPropertyList : public PropertyListTest,
                           public testing::WithParamInterface<const char*> {};

TEST_P(PythonPropertyList, ReadsBackEveryKindUnchangedAndWritesWhatPythonReads) {
  if (!have_python()) GTEST_SKIP() << "python3 is not installed";
  const std::string form = GetParam();
  const std::string file = host(kPrefs);
  ASSERT_TRUE(run_python(root_.host_path(),
                         std::string(kPythonTree) +
                             "plistlib.dump(tree, open(sys.argv[1], 'wb'), fmt=plistlib.FMT_" +
                             form + ")\n",
                         file));
  id read = read_dictionary(kPrefs);
  ASSERT_NE(read, nil);
  auto value = [&](const char* key) { return msg<id>(read, "objectForKey:", text(key)); };
  EXPECT_TRUE(ns::is_boolean(value("enabled")) && msg<BOOL>(value("enabled"), "boolValue"));
  EXPECT_TRUE(ns::is_boolean(value("colorEmail")) && !msg<BOOL>(value("colorEmail"), "boolValue"));
  EXPECT_FALSE(ns::is_boolean(value("one")));
  EXPECT_EQ(msg<long long>(value("one"), "longLongValue"), 1);
  EXPECT_EQ(msg<long long>(value("zero"), "longLongValue"), 0);
  EXPECT_EQ(msg<long long>(value("negative"), "longLongValue"), -5);
  EXPECT_EQ(msg<double>(value("ratio"), "doubleValue"), 0.1);
  EXPECT_EQ(ns::utf8(value("text")), "caf\xC3\xA9 \xF0\x9F\x98\x80 <&>");
  EXPECT_EQ(ns::data_bytes(value("bytes")), std::string("\x00\xff", 2));
  EXPECT_EQ(msg<double>(value("when"), "timeIntervalSince1970"), 1577934245.0);
  EXPECT_EQ(ns::utf8(msg<id>(value("list"), "description")),
            "(\n    1,\n    two,\n    {\n    }\n)");

  // Written back by us, Python reads the same tree.
  ASSERT_TRUE(msg<BOOL>(read, "writeToFile:atomically:", text(kPrefs), YES));
  EXPECT_TRUE(
      run_python(root_.host_path(),
                 std::string(kPythonTree) +
                     "back = plistlib.load(open(sys.argv[1], 'rb'))\n"
                     "sys.exit(0 if back == tree and type(back['enabled']) is bool else 1)\n",
                 file));
}

INSTANTIATE_TEST_SUITE_P(Forms, PythonPropertyList, testing::Values("XML", "BINARY"));

// ---- Boolean readings ---------------------------------------------------

struct BoolReading {
  const char* value_xml;
  bool is_boolean;
  bool bool_value;
};
void PrintTo(const BoolReading& c, std::ostream* out) { *out << printable(c.value_xml); }

class PropertyListBoolReading : public PropertyListTest,
                                public testing::WithParamInterface<BoolReading> {};

// Every conversion the settings reader relies on gets its own case.
TEST_P(PropertyListBoolReading, GivesTheValueItsBoolValue) {
  put(kPrefs,
      std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>enabled</key>") +
          GetParam().value_xml + "</dict></plist>");
  id value = msg<id>(read_dictionary(kPrefs), "objectForKey:", text("enabled"));
  ASSERT_NE(value, nil);
  EXPECT_EQ(ns::is_boolean(value), GetParam().is_boolean);
  EXPECT_EQ(msg<BOOL>(value, "boolValue") != NO, GetParam().bool_value);
}

INSTANTIATE_TEST_SUITE_P(Cases, PropertyListBoolReading,
                         testing::Values(BoolReading{"<true/>", true, true},
                                         BoolReading{"<false/>", true, false},
                                         BoolReading{"<integer>1</integer>", false, true},
                                         BoolReading{"<integer>0</integer>", false, false},
                                         BoolReading{"<integer>2</integer>", false, true},
                                         BoolReading{"<integer>-1</integer>", false, true},
                                         BoolReading{"<real>0.0</real>", false, false},
                                         BoolReading{"<real>0.5</real>", false, true},
                                         BoolReading{"<string>YES</string>", false, true},
                                         BoolReading{"<string>false</string>", false, false},
                                         BoolReading{"<string>0</string>", false, false}));

// ---- Files that are no dictionary property list -------------------------

std::string deep_xml(int depth) {
  std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>";
  for (int i = 0; i < depth; ++i) xml += "<array>";
  for (int i = 0; i < depth; ++i) xml += "</array>";
  return xml + "</dict></plist>";
}

void append_big_endian(std::string& out, std::uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i));
}

// `objects` (the header and every object) followed by the offset table of
// `offsets` and the trailer, whose top object is the first.
std::string with_trailer(std::string objects, const std::vector<std::uint64_t>& offsets,
                         int offset_size, int ref_size) {
  const std::uint64_t table = objects.size();
  for (auto offset : offsets) append_big_endian(objects, offset, offset_size);
  objects += std::string(6, '\0');
  objects += static_cast<char>(offset_size);
  objects += static_cast<char>(ref_size);
  append_big_endian(objects, offsets.size(), 8);
  append_big_endian(objects, 0, 8);
  append_big_endian(objects, table, 8);
  return objects;
}

// A binary plist of `count` objects: object i is a container whose entries
// all refer to object `child(i)`, the last one the Boolean true.
std::string binary_chain(std::uint64_t count, int refs_per_object, bool dictionary,
                         std::uint64_t (*child)(std::uint64_t)) {
  std::string out = "bplist00";
  std::vector<std::uint64_t> offsets;
  for (std::uint64_t i = 0; i < count; ++i) {
    offsets.push_back(out.size());
    if (i + 1 == count) {
      out += '\x09';
      continue;
    }
    out += static_cast<char>((dictionary ? 0xD0 : 0xA0) | refs_per_object);
    for (int k = 0; k < refs_per_object * (dictionary ? 2 : 1); ++k)
      append_big_endian(out, child(i), 4);
  }
  return with_trailer(out, offsets, 8, 4);
}

// A binary plist of one dictionary whose one key is the encoded object
// `key` (marker and contents) and whose value is true.
std::string binary_dictionary(const std::string& key) {
  std::string out = "bplist00";
  std::vector<std::uint64_t> offsets = {out.size()};
  out += "\xD1\x01\x02";
  offsets.push_back(out.size());
  out += key;
  offsets.push_back(out.size());
  out += '\x09';
  return with_trailer(out, offsets, 1, 1);
}

TEST_F(PropertyListTest, FilesThatAreNoDictionaryReadAsNil) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::string header = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
  std::vector<Case> cases = {
      {"empty", ""},
      {"not a plist", "enabled = true\n"},
      {"root array", header + "<array><true/></array></plist>"},
      {"root text", header + "<string>x</string></plist>"},
      {"unclosed", header + "<dict><key>enabled</key><true/>"},
      {"key without key", header + "<dict><true/></dict></plist>"},
      {"bad binary header", "bplist00" + std::string(40, '\xff')},
      {"binary too short", "bplist00\x09"},
      {"nested too deep", deep_xml(100000)},
      {"closers hidden in a comment do not count", header + "<dict><key>k</key>" +
                                                       [] {
                                                         std::string nest;
                                                         for (int i = 0; i < 20000; ++i)
                                                           nest +=
                                                               "<array><!-- </array></array> -->";
                                                         return nest;
                                                       }()},
      {"unterminated comment", header + "<dict><!-- </dict></plist>"},
      {"binary nested too deep",
       binary_chain(100000, 1, false, [](std::uint64_t i) { return i + 1; })},
      // Thirty levels that each refer twice to the next expand to 2^30 objects.
      {"binary expands too far", binary_chain(30, 2, false, [](std::uint64_t i) { return i + 1; })},
      {"binary container inside itself",
       binary_chain(2, 1, true, [](std::uint64_t) { return std::uint64_t{0}; })},
      {"binary reference past the table",
       binary_chain(2, 1, false, [](std::uint64_t) { return std::uint64_t{7}; })},
      // libplist would abort the process on a key with a NUL inside.
      {"binary key holding a NUL", binary_dictionary(std::string("\x53k\0y", 4))},
      {"binary UTF-16 key holding a NUL", binary_dictionary(std::string("\x62\0k\0\0", 5))},
      {"binary key running past the objects", binary_dictionary("\x5F\x10\x7Fkey")},
  };
  for (const auto& c : cases) {
    put(kPrefs, c.bytes);
    EXPECT_EQ(read_dictionary(kPrefs), nil) << c.what;
  }
  // Missing files, directories and oversized files read as nil too.
  EXPECT_EQ(read_dictionary("/var/mobile/Library/Preferences/none.plist"), nil);
  EXPECT_EQ(read_dictionary("/var/mobile/Library"), nil);
  // A named pipe in the file's place is no file, and reading it does not wait.
  ASSERT_EQ(mkfifo(host("/var/mobile/Library/Preferences/pipe.plist").c_str(), 0644), 0);
  EXPECT_EQ(read_dictionary("/var/mobile/Library/Preferences/pipe.plist"), nil);
  put(kPrefs, std::string(ns::kMaxPropertyListBytes + 1, ' '));
  EXPECT_EQ(read_dictionary(kPrefs), nil);
}

TEST_F(PropertyListTest, NestingWithinTheLimitStillReads) {
  put(kPrefs, deep_xml(500));
  EXPECT_NE(read_dictionary(kPrefs), nil);
  // Empty containers open nothing.
  std::string flat = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key><array>";
  for (int i = 0; i < 2000; ++i) flat += "<array/><dict/>";
  put(kPrefs, flat + "</array></dict></plist>");
  EXPECT_NE(read_dictionary(kPrefs), nil);
  // Keys in either encoding read when they hold no NUL.
  for (const std::string& key : {std::string("\x53key"), std::string("\x62\0k\x01\0", 5)}) {
    put(kPrefs, binary_dictionary(key));
    EXPECT_NE(read_dictionary(kPrefs), nil);
  }
  // Shared binary objects are fine while the tree they make stays small.
  EXPECT_NE(ns::property_list_from_bytes(
                binary_chain(10, 2, false, [](std::uint64_t i) { return i + 1; })),
            nil);
}

TEST_F(PropertyListTest, EveryTruncationAndManyCorruptionsOfABinaryFileAreSafe) {
  if (!have_python()) GTEST_SKIP() << "python3 is not installed";
  const std::string file = host(kPrefs);
  ASSERT_TRUE(
      run_python(root_.host_path(),
                 std::string(kPythonTree) +
                     "plistlib.dump(tree, open(sys.argv[1], 'wb'), fmt=plistlib.FMT_BINARY)\n",
                 file));
  const std::string valid = content(kPrefs);
  ASSERT_TRUE(ns::is_dictionary(ns::property_list_from_bytes(valid)));
  for (std::size_t length = 0; length < valid.size(); ++length) {
    ns::AutoreleasePool pool;
    EXPECT_EQ(ns::property_list_from_bytes(valid.substr(0, length)), nil) << length;
  }
  // Corrupted copies may read or not, but never crash.
  std::mt19937 random(20240601);
  for (int round = 0; round < 400; ++round) {
    ns::AutoreleasePool pool;
    std::string broken = valid;
    for (int flips = 1 + round % 4; flips > 0; --flips) {
      broken[random() % broken.size()] = static_cast<char>(random());
    }
    ns::property_list_from_bytes(broken);
  }
}

// ---- What cannot be written ---------------------------------------------

TEST_F(PropertyListTest, TreesAPropertyListCannotHoldAreNotWritten) {
  put(kPrefs, "old");
  id plain = ns::autorelease(msg<id>(cls("NSObject"), "new"));
  id with_nul = ns::string(std::u16string(u"a\0b", 3));
  id cyclic = ns::autorelease(msg<id>(cls("NSMutableArray"), "new"));
  msg<void>(cyclic, "addObject:", cyclic);
  for (id tree :
       {ns::dictionary({{text("k"), plain}}), ns::dictionary({{ns::number(1LL), text("v")}}),
        ns::dictionary({{text("k"), with_nul}}), ns::dictionary({{text("k"), cyclic}}),
        ns::dictionary({{text("k"), ns::date_since_1970(1e12)}})}) {
    EXPECT_FALSE(msg<BOOL>(tree, "writeToFile:atomically:", text(kPrefs), YES));
  }
  msg<void>(cyclic, "removeAllObjects");
  EXPECT_EQ(content(kPrefs), "old");
}

// ---- Atomic writes ------------------------------------------------------

TEST_F(PropertyListTest, AtomicWritesLeaveOnlyTheFinishedFile) {
  const std::string directory = "/var/mobile/Library/Preferences";
  ASSERT_TRUE(msg<BOOL>(sample_tree(), "writeToFile:atomically:", text(kPrefs), YES));
  ASSERT_TRUE(msg<BOOL>(sample_tree(), "writeToFile:atomically:", text(kPrefs), YES));
  EXPECT_EQ(names_in(directory), std::vector<std::string>{"com.kestrow.tenebrasettings.plist"});
  EXPECT_EQ(fs::status(host(kPrefs)).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
  // A file's own permissions survive its replacement.
  fs::permissions(host(kPrefs), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(msg<BOOL>(sample_tree(), "writeToFile:atomically:", text(kPrefs), YES));
  EXPECT_EQ(fs::status(host(kPrefs)).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PropertyListTest, FailedWritesChangeNothing) {
  // A missing directory is not made.
  EXPECT_FALSE(msg<BOOL>(
      sample_tree(), "writeToFile:atomically:", text("/var/mobile/Library/Missing/x.plist"), YES));
  EXPECT_FALSE(fs::exists(host("/var/mobile/Library/Missing")));
  // A directory in the file's place stays.
  fs::create_directories(host("/var/mobile/Library/Preferences/dir.plist"));
  EXPECT_FALSE(msg<BOOL>(sample_tree(), "writeToFile:atomically:",
                         text("/var/mobile/Library/Preferences/dir.plist"), YES));
  EXPECT_TRUE(fs::is_directory(host("/var/mobile/Library/Preferences/dir.plist")));
  EXPECT_EQ(names_in("/var/mobile/Library/Preferences"), std::vector<std::string>{"dir.plist"});
}

TEST_F(PropertyListTest, AWriteThatRunsOutOfSpaceKeepsTheOldFile) {
  // A file-size limit makes the write fail part-way, as a full disk would.
  put(kPrefs, "old content");
  id big = ns::dictionary({{text("k"), text(std::string(64 * 1024, 'x').c_str())}});
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  BOOL atomic = msg<BOOL>(big, "writeToFile:atomically:", text(kPrefs), YES);
  std::string after_atomic = content(kPrefs);
  std::vector<std::string> names = names_in("/var/mobile/Library/Preferences");
  BOOL in_place = msg<BOOL>(big, "writeToFile:atomically:", text(kPrefs), NO);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous_handler);

  EXPECT_FALSE(atomic);
  EXPECT_EQ(after_atomic, "old content");
  EXPECT_EQ(names, std::vector<std::string>{"com.kestrow.tenebrasettings.plist"});
  // Written in place, the same failure leaves a partial file: what atomic avoids.
  EXPECT_FALSE(in_place);
  EXPECT_EQ(content(kPrefs).size(), 4096u);
}

TEST_F(PropertyListTest, AnUnwritableDirectoryKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  put(kPrefs, "old content");
  const std::string directory = host("/var/mobile/Library/Preferences");
  fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec);
  BOOL written = msg<BOOL>(sample_tree(), "writeToFile:atomically:", text(kPrefs), YES);
  fs::permissions(directory, fs::perms::owner_all);
  EXPECT_FALSE(written);
  EXPECT_EQ(content(kPrefs), "old content");
}

}  // namespace
