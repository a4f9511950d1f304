// The pane's links as a user opens them in the Settings app model: the mail,
// the Twitter client probed in order, the donation page, and the package
// pages named by their cells' titles, on systems with and without
// openURL:options:completionHandler:.
#include "tenebrasettings/links.h"

#include <string>
#include <vector>

#include "platform/foundation/foundation.h"
#include "tests/pane/pane_fixture.h"

namespace {

using objc::msg;
using Urls = std::vector<std::string>;

struct LinkCase {
  std::vector<std::string> installed;
  const char* button;
  Urls opened;
};

class Links : public pane_testing::PaneTest {
 protected:
  host::ActionReport tap(const char* label) {
    return app_->tap(*page_, *page_->cell_labelled(host::CellKind::kButton, label));
  }
};

TEST_F(Links, EachButtonOpensItsLinkOnOldAndNewSystems) {
  const std::string web = tenebrasettings::kWebProfileLink;
  const LinkCase cases[] = {
      {{}, "Email Support", {"mailto:support@kestrow.com?subject=Tenebra%20Support&body="}},
      {{}, "Donate", {tenebrasettings::kDonationLink}},
      {{}, "Follow on Twitter", {web}},
      {{"tweetbot", "twitter"}, "Follow on Twitter", {"tweetbot:///user_profile/kestrowmobile"}},
      {{"twitter", "tweetings"},
       "Follow on Twitter",
       {"tweetings:///user?screen_name=kestrowmobile"}},
      {{"TWITTERRIFIC"},
       "Follow on Twitter",
       {"twitterrific:///profile?screen_name=kestrowmobile"}},
      {{"twitter"}, "Follow on Twitter", {"twitter://user?screen_name=kestrowmobile"}},
  };
  for (bool new_system : {true, false}) {
    for (const LinkCase& c : cases) {
      SCOPED_TRACE(std::string(c.button) + (new_system ? " (new system)" : " (old system)"));
      relaunch({c.installed, new_system, true});
      const host::ActionReport report = tap(c.button);
      EXPECT_EQ(report.error, "");
      EXPECT_EQ(report.opened_urls, c.opened);
    }
  }
}

TEST_F(Links, APackageCellOpensItsPageByItsTitleAndATitleNoPackageHasOpensNothing) {
  host::PageResult tweaks =
      app_->open_link(*page_, *page_->cell_labelled(host::CellKind::kLink, "My Tweaks"));
  ASSERT_TRUE(tweaks.page) << tweaks.error;
  const std::string prefix = tenebrasettings::kPackageLinkPrefix;
  EXPECT_EQ(app_->tap(*tweaks.page, *tweaks.page->cell_labelled(host::CellKind::kButton, "Tenebra"))
                .opened_urls,
            Urls{prefix + "tenebra"});

  const std::pair<id, Urls> titles[] = {
      {ns::string("Mixed Case Name"), {prefix + "mixedcasename"}},
      {ns::string("  Spaced  Out "), {prefix + "spacedout"}},
      {ns::string("c++ tools-2.0"), {prefix + "c++tools-2.0"}},
      {nil, {}},
      {ns::string(""), {}},
      {ns::string("   "), {}},
      {ns::string("Tab\tName"), {}},
      {ns::string("Caf\u00e9"), {}},
      {ns::string("a<b>\"c\""), {}},
      {ns::string("a/b?c#d"), {}},
      {ns::string(".hidden"), {}},
  };
  for (const auto& [title, expected] : titles) {
    SCOPED_TRACE(ns::utf8(msg<id>(title, "description")));
    id cell = msg<id>(objc_getClass("PSSpecifier"),
                      "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", title,
                      tweaks.page->controller(), SEL{}, SEL{}, Class{Nil}, 13L, Class{Nil});
    msg<void>(cell, "setButtonAction:", objc::sel("openPackageLink:"));
    const host::ActionReport report =
        app_->tap(*tweaks.page, host::Cell{host::CellKind::kButton, "", "", "", cell});
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(report.opened_urls, expected);
  }
}

}  // namespace
