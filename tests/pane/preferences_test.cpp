// The Preferences framework stand-in and the Settings app model around the
// pane: specifiers read from a page's property list with the framework's
// keys, cells whose targets answer with the wrong shapes, broken page lists,
// and panes that cannot be found or loaded. None of it crashes; each gives a
// clear result.
#include "platform/preferences/preferences.h"

#include <fstream>
#include <string>
#include <vector>

#include "platform/foundation/foundation.h"
#include "tests/pane/pane_fixture.h"

namespace {

using objc::msg;
namespace fs = std::filesystem;

constexpr const char* kPage = R"(<plist><dict>
  <key>title</key><string>Page</string>
  <key>items</key><array>
    <dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>Group</string>
          <key>footerText</key><string>Foot</string></dict>
    <dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>On</string>
          <key>key</key><string>k</string><key>default</key><true/><key>id</key><string>the-id</string></dict>
    <dict><key>cell</key><string>PSLinkCell</string><key>label</key><string>Sub</string>
          <key>detail</key><string>PSListController</string></dict>
    <dict><key>cell</key><string>PSLinkCell</string><key>label</key><string>Nowhere</string>
          <key>detail</key><string>NSObject</string></dict>
    <dict><key>cell</key><string>PSButtonCell</string><key>label</key><string>Wrong shape</string>
          <key>action</key><string>description</string></dict>
    <dict><key>cell</key><string>PSButtonCell</string><key>label</key><string>Missing</string>
          <key>action</key><string>noSuchAction</string></dict>
    <dict><key>cell</key><string>PSStaticTextCell</string><key>label</key><string>Text</string></dict>
    <string>not a cell</string>
    <dict><key>cell</key><string>PSNoSuchCell</string></dict>
    <dict><key>label</key><string>no kind</string></dict>
    <dict><key>cell</key><integer>6</integer></dict>
  </array></dict></plist>)";

class Preferences : public testing::Test {
 protected:
  Preferences() {
    fs::create_directories(device::resolve("/Test.app"));
    ns::set_main_bundle("/Test.app");
  }
  void write_page(const char* name, const char* text) {
    std::ofstream(device::resolve(std::string("/Test.app/") + name + ".plist")) << text;
  }
  // The specifiers a plain list controller loads from `name`, and the log.
  std::pair<std::vector<id>, std::vector<std::string>> load(id controller, const char* name) {
    ns::LogCapture capture;
    id loaded =
        msg<id>(controller, "loadSpecifiersFromPlistName:target:", ns::string(name), controller);
    return {ns::array_items(loaded), capture.messages()};
  }

  ns::AutoreleasePool pool_;
  device::TemporaryRoot root_;
  objc::Ref controller_ = objc::Ref::adopt(msg<id>(objc_getClass("PSListController"), "new"));
};

TEST_F(Preferences, APageListBecomesSpecifiersWithTheFrameworksKeysAndBadItemsAreLeftOut) {
  write_page("Page", kPage);
  const auto [cells, log] = load(controller_, "Page");
  EXPECT_EQ(log.size(), 4u);  // the four items that are no cell
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_EQ(ns::utf8(msg<id>(controller_, "title")), "Page");
  const long kinds[] = {ps::PSGroupCell,  ps::PSSwitchCell, ps::PSLinkCell,      ps::PSLinkCell,
                        ps::PSButtonCell, ps::PSButtonCell, ps::PSStaticTextCell};
  for (std::size_t i = 0; i < cells.size(); ++i)
    EXPECT_EQ(msg<long>(cells[i], "cellType"), kinds[i]);

  id on = cells[1];
  EXPECT_EQ(ns::utf8(msg<id>(on, "name")), "On");
  EXPECT_EQ(ns::utf8(msg<id>(on, "identifier")), "the-id");
  EXPECT_EQ(ns::utf8(msg<id>(cells[0], "identifier")), "Group");
  EXPECT_EQ(ns::utf8(msg<id>(cells[0], "propertyForKey:", ns::string("footerText"))), "Foot");
  EXPECT_EQ(msg<id>(on, "target"), controller_.get());
  EXPECT_EQ(msg<id>(controller_, "specifierForID:", ns::string("the-id")),
            nil);  // not its own list
  // A page that keeps no values of its own shows each cell's default.
  EXPECT_EQ(msg<id>(on, "performGetter"), ns::boolean(true));

  id sub = msg<id>(controller_, "controllerForSpecifier:", cells[2]);
  ASSERT_NE(sub, nil);
  EXPECT_EQ(msg<id>(sub, "specifier"), cells[2]);
  EXPECT_EQ(msg<id>(controller_, "controllerForSpecifier:", cells[3]), nil);
  EXPECT_EQ(msg<id>(controller_, "controllerForSpecifier:", cells[1]), nil);

  for (id button : {cells[4], cells[5], cells[1]}) {
    ns::LogCapture capture;
    EXPECT_FALSE(msg<BOOL>(controller_, "performActionForSpecifier:", button));
  }
}

TEST_F(Preferences, ABrokenOrMissingPageListGivesAnEmptyPageAndALogLine) {
  const std::pair<const char*, const char*> pages[] = {
      {"NotAList", "this is not a property list"},
      {"RootArray", "<plist><array/></plist>"},
      {"ItemsText", "<plist><dict><key>items</key><string>x</string></dict></plist>"},
      {"Deep", nullptr},
  };
  std::string deep;
  for (int i = 0; i < 2000; ++i) deep += "<array>";
  for (const auto& [name, text] : pages) {
    SCOPED_TRACE(name);
    write_page(name, text != nullptr ? text : ("<plist>" + deep + "</plist>").c_str());
    const auto [cells, log] = load(controller_, name);
    EXPECT_TRUE(cells.empty());
    EXPECT_FALSE(log.empty());
  }
  const auto [cells, log] = load(controller_, "Missing");
  EXPECT_TRUE(cells.empty());
  EXPECT_FALSE(log.empty());
}

// Panes the Settings app cannot show, each with the reason it gives.
class BrokenPanes : public pane_testing::PaneTest {
 protected:
  BrokenPanes() : PaneTest(true) {}
  void write(const char* device_path, const std::string& text) {
    fs::create_directories(fs::path(host_path(device_path)).parent_path());
    std::ofstream(host_path(device_path)) << text;
  }
  static std::string entry(const char* bundle) {
    return std::string("<plist><dict><key>entry</key><dict><key>bundle</key><string>") + bundle +
           "</string></dict></dict></plist>";
  }
};

TEST_F(BrokenPanes, EachGivesAClearErrorAndThePaneWithABrokenPageListShowsNoCells) {
  const char* info =
      "<plist><dict><key>CFBundleExecutable</key><string>code</string>"
      "<key>NSPrincipalClass</key><string>NoSuchPage</string></dict></plist>";
  write("/Library/PreferenceLoader/Preferences/nobundle.plist", "<plist><dict/></plist>");
  write("/Library/PreferenceLoader/Preferences/absent.plist", entry("absent"));
  write("/Library/PreferenceLoader/Preferences/nocode.plist", entry("nocode"));
  write("/Library/PreferenceBundles/nocode.bundle/Info.plist", "<plist><dict/></plist>");
  write("/Library/PreferenceLoader/Preferences/badcode.plist", entry("badcode"));
  write("/Library/PreferenceBundles/badcode.bundle/Info.plist", info);
  write("/Library/PreferenceBundles/badcode.bundle/code", "not a library");
  const std::pair<const char*, const char*> cases[] = {
      {"unlisted", "no readable PreferenceLoader entry"},
      {"nobundle", "names no bundle"},
      {"absent", "no bundle at /Library/PreferenceBundles/absent.bundle"},
      {"nocode", "the bundle has no executable"},
      {"badcode", "cannot load /Library/PreferenceBundles/badcode.bundle"},
  };
  for (const auto& [name, reason] : cases) {
    host::PageResult result = app_->open_pane(name);
    EXPECT_FALSE(result.page) << name;
    EXPECT_NE(result.error.find(reason), std::string::npos) << name << ": " << result.error;
  }

  write("/Library/PreferenceBundles/tenebrasettings.bundle/Root.plist", "<plist><dict>");
  relaunch({});
  ns::LogCapture capture;
  EXPECT_TRUE(page_->cells().empty());
  EXPECT_FALSE(capture.messages().empty());
}

}  // namespace
