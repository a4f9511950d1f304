// The preview as a user runs it: the built `tenebra` program draws the app
// model's screens with the installed library, theme off and on, in Chromium,
// and writes the pictures, the audit and the index page. Every case here
// draws in the browser and carries the label "browser".
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/coregraphics/png_codec.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"
#include "tools/preview/index_page.h"
#include "tools/preview/screen_page.h"
#include "tools/webrender/web_page.h"

namespace {

namespace fs = std::filesystem;

using test_support::Outcome;
using test_support::slurp;

// A decoded picture; pixel() answers "#RRGGBB" at a point of the screen.
class Picture {
 public:
  explicit Picture(const fs::path& file) {
    const std::string bytes = slurp(file);
    image_ = cg::decode_png({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  }
  ~Picture() { CGImageRelease(image_); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  bool valid() const { return image_ != nullptr; }
  std::size_t width() const { return image_->width; }
  std::size_t height() const { return image_->height; }
  std::string pixel(double x, double y, double scale = 2) const {
    const std::uint8_t* p = image_->bytes.data() +
                            static_cast<std::size_t>(y * scale) * image_->bytes_per_row +
                            static_cast<std::size_t>(x * scale) * 4;
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", p[0], p[1], p[2]);
    return text;
  }
  bool same_pixels(const Picture& other) const {
    return width() == other.width() && height() == other.height() &&
           image_->bytes == other.image_->bytes;
  }
  // Whether any pixel inside the rectangle (points) is `color`.
  bool holds(double x, double y, double w, double h, const std::string& color) const {
    for (double yy = y; yy < y + h; yy += 0.5) {
      for (double xx = x; xx < x + w; xx += 0.5) {
        if (pixel(xx, yy) == color) return true;
      }
    }
    return false;
  }

 private:
  CGImageRef image_ = nullptr;
};

class Preview : public ::testing::Test {
 protected:
  Outcome preview(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "preview");
    return test_support::run_program(TENEBRA_PROGRAM, arguments, directory_);
  }

  test_support::ScratchDirectory scratch_{"tenebra_preview"};
  const fs::path& directory_ = scratch_.path();
};

constexpr std::array<const char*, 7> kScreens = {"inbox",      "thread", "compose", "sidepanel",
                                                 "datepicker", "safari", "settings"};

TEST_F(Preview, DrawsEveryScreenBeforeAndAfterWithTheThemedColours) {
  const fs::path out = directory_ / "preview";
  const Outcome run = preview({"--root", TENEBRA_DEVICE_ROOT, "--out", out.string()});
  ASSERT_EQ(run.status, 0) << run.err;

  // The index page shows every screen, both sides, and the pictures exist.
  const std::string index = slurp(out / "index.html");
  for (const char* screen : kScreens) {
    SCOPED_TRACE(screen);
    EXPECT_NE(index.find("id=\"" + std::string(screen) + "\""), std::string::npos);
    for (const char* side : {"before", "after"}) {
      const fs::path png = out / side / (std::string(screen) + ".png");
      EXPECT_NE(index.find(std::string(side) + "/" + screen + ".png"), std::string::npos);
      const Picture picture(png);
      ASSERT_TRUE(picture.valid()) << png;
      // One picture pixel per device pixel, at the screen's scale of 2.
      EXPECT_EQ(picture.width(), 750u);
      EXPECT_EQ(picture.height(), 1624u);
    }
  }
  // The themed inbox lists the rules that fired on it with their counts.
  EXPECT_NE(index.find("<td>UIView</td><td>-setBackgroundColor:</td>"), std::string::npos);

  // The summary names the screens, the counts and the page.
  EXPECT_NE(run.out.find("screens: 7, each before and after\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("texts audited: "), std::string::npos);
  EXPECT_NE(run.out.find("index: " + (out / "index.html").string()), std::string::npos);

  // Points of the screens, before and after: where the app set white, the
  // theme's black; the compose button's dark grey; the subject's ground; the
  // dark keyboard's dock.
  struct Spot {
    const char* screen;
    double x, y;
    const char* before;
    const char* after;
  };
  for (const Spot& spot : {
           Spot{"inbox", 100, 650, "#FFFFFF", "#000000"},    // the list below its cells
           Spot{"inbox", 20, 80, "#FFFFFF", "#000000"},      // the navigation bar
           Spot{"inbox", 232, 694, "#FFFFFF", "#1B1B1B"},    // the compose button
           Spot{"thread", 300, 100, "#FFFFFF", "#000000"},   // the subject view
           Spot{"compose", 187, 800, "#D1D4D9", "#1B1B1B"},  // the keyboard's dock
       }) {
    SCOPED_TRACE(std::string(spot.screen) + " at " + std::to_string(spot.x) + "," +
                 std::to_string(spot.y));
    EXPECT_EQ(Picture(out / "before" / (std::string(spot.screen) + ".png")).pixel(spot.x, spot.y),
              spot.before);
    EXPECT_EQ(Picture(out / "after" / (std::string(spot.screen) + ".png")).pixel(spot.x, spot.y),
              spot.after);
  }
  // The status bar's time, "9:41": black glyphs on the white bar before,
  // white glyphs on the black bar after.
  const Picture inbox_before(out / "before" / "inbox.png");
  const Picture inbox_after(out / "after" / "inbox.png");
  EXPECT_TRUE(inbox_before.holds(16, 14, 54, 18, "#000000"));
  EXPECT_TRUE(inbox_after.holds(16, 14, 54, 18, "#FFFFFF"));
  EXPECT_EQ(inbox_after.pixel(90, 20), "#000000");
}

TEST_F(Preview, ThemeOffDrawsAsTheAppWithoutTheLibrary) {
  // A device root with nothing installed: the app runs without the library.
  const fs::path bare_root = directory_ / "bare-root";
  fs::create_directories(bare_root);
  const std::string screens = "inbox,thread,compose,sidepanel,datepicker,safari";
  const Outcome themed =
      preview({"--root", TENEBRA_DEVICE_ROOT, "--out", (directory_ / "with").string(), "--screens",
               screens, "--scale", "1"});
  ASSERT_EQ(themed.status, 0) << themed.err;
  const Outcome bare =
      preview({"--root", bare_root.string(), "--out", (directory_ / "without").string(),
               "--screens", screens, "--scale", "1"});
  ASSERT_EQ(bare.status, 0) << bare.err;
  EXPECT_NE(bare.err.find("Tenebra is not installed"), std::string::npos);

  std::stringstream names(screens);
  for (std::string screen; std::getline(names, screen, ',');) {
    SCOPED_TRACE(screen);
    const Picture off(directory_ / "with" / "before" / (screen + ".png"));
    const Picture without(directory_ / "without" / "before" / (screen + ".png"));
    ASSERT_TRUE(off.valid() && without.valid());
    EXPECT_TRUE(off.same_pixels(without));
    // And the theme does change what the library draws when it is on.
    EXPECT_FALSE(Picture(directory_ / "with" / "after" / (screen + ".png")).same_pixels(without));
  }
}

TEST_F(Preview, RefusesWhatItCannotDo) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--scale", "0"},
           {"--scale", "2.5"},
           {"--screens", "inbox,mailbox"},
           {"--screens", ""},
           {"--keyboard", "grey"},
           {"--out"},
           {"extra"},
       }) {
    SCOPED_TRACE(arguments.front());
    const Outcome run = preview(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: tenebra preview"), std::string::npos);
  }
  const Outcome missing = preview({"--root", (directory_ / "absent").string()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("error: the device root"), std::string::npos);
}

// The audit on a screen planted for it: a light grey text on white is found
// with its colours and ratio; a dark one beside it is not.
TEST_F(Preview, AuditFindsALightTextOnALightGround) {
  preview::Capture capture;
  preview::Box ground;
  ground.frame = CGRectMake(0, 0, 375, 812);
  ground.background = preview::Rgba{1, 1, 1, 1};
  capture.boxes.push_back(ground);
  preview::Box planted;
  planted.frame = CGRectMake(16, 100, 200, 24);
  planted.text = "Planted light text";
  planted.text_color = preview::Rgba{0xEE / 255.0, 0xEE / 255.0, 0xEE / 255.0, 1};
  capture.boxes.push_back(planted);
  preview::Box readable = planted;
  readable.frame.origin.y = 140;
  readable.text = "Readable text";
  readable.text_color = preview::Rgba{0x20 / 255.0, 0x21 / 255.0, 0x24 / 255.0, 1};
  capture.boxes.push_back(readable);

  const preview::PageResult page = preview::screen_page(capture, directory_, "planted", 2);
  std::ofstream(directory_ / "planted.html") << page.html;
  std::ofstream(directory_ / "job.json")
      << "{\"scale\":2,\"pages\":[{\"page\":\"" << (directory_ / "planted.html").string()
      << "\",\"png\":\"" << (directory_ / "planted.png").string() << "\",\"audit\":true}]}";
  ASSERT_EQ(webrender::run_node(TENEBRA_SCREENS_SCRIPT, (directory_ / "job.json").string(),
                                (directory_ / "audit").string(), (directory_ / "err").string()),
            0)
      << slurp(directory_ / "err");
  EXPECT_EQ(slurp(directory_ / "audit"),
            "text 0 1 #EEEEEE #FFFFFF 1.16\n"
            "text 0 2 #202124 #FFFFFF 16.10\n");
}

}  // namespace
