// Mail bodies through the real page path: the built `tenebra` program loads
// the installed library into the host app model, gives a mail to the app's
// web view and renders what the web view was given in Chromium. These cases
// carry the label "browser".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"
#include "tools/webrender/web_page.h"

namespace {

namespace fs = std::filesystem;

using test_support::Outcome;
using test_support::slurp;

// A light mail with a light frame inside it and an image it tries to fetch.
const std::string kFramedMail =
    "<html><head><title>Framed</title></head>"
    "<body style=\"background:#ffffff;color:#000000\"><p>Outer text</p>"
    "<img src=\"http://tracker.example/open.gif\" width=\"1\" height=\"1\">"
    "<iframe width=\"300\" height=\"120\" srcdoc=\"&lt;html&gt;&lt;body "
    "style='background:#fff'&gt;&lt;p style='color:#000'&gt;Inner text&lt;/p&gt;&lt;/body&gt;"
    "&lt;/html&gt;\"></iframe></body></html>";

class MailCommand : public ::testing::Test {
 protected:
  fs::path file(const std::string& name, const std::string& bytes) {
    const fs::path path = directory_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // A copy of the staged device root, where a case may change settings or
  // the installed script without touching the build's own.
  fs::path root() {
    const fs::path copy = directory_ / "root";
    if (!fs::exists(copy)) fs::copy(TENEBRA_DEVICE_ROOT, copy, fs::copy_options::recursive);
    return copy;
  }
  void set_color_email(bool on) {
    const fs::path preferences = root() / "var/mobile/Library/Preferences";
    fs::create_directories(preferences);
    std::ofstream(preferences / "com.kestrow.tenebrasettings.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>colorEmail</key><"
        << (on ? "true" : "false") << "/></dict></plist>\n";
  }
  fs::path script_file() {
    return root() / "Library/MobileSubstrate/DynamicLibraries/com.kestrow.tenebra.bundle" /
           "tenebra.min.js";
  }

  Outcome run(const std::vector<std::string>& arguments) {
    return test_support::run_program(TENEBRA_PROGRAM, arguments, directory_);
  }
  Outcome mail(const fs::path& page, std::vector<std::string> more = {}) {
    std::vector<std::string> arguments{"mail", "--root", root().string()};
    arguments.insert(arguments.end(), more.begin(), more.end());
    arguments.push_back(page.string());
    return run(arguments);
  }

  test_support::ScratchDirectory scratch_{"tenebra_mail"};
  const fs::path& directory_ = scratch_.path();
};

bool has_line(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST_F(MailCommand, BothWebViewsEndUpDarkWithTheScriptInEveryFrameAndNothingFetched) {
  const fs::path page = file("framed.html", kFramedMail);
  const Outcome through_ui = mail(page);
  ASSERT_EQ(through_ui.status, 0) << through_ui.err;
  EXPECT_TRUE(has_line(through_ui.out, "script: placed after 1 \"<head>\" marker")) << through_ui.out;
  EXPECT_TRUE(has_line(through_ui.out, "background: UIExtendedGrayColorSpace 0 1 (the platform's blackColor)"))
      << through_ui.out;
  // The inline script reaches the frames whose documents carry "<head>"; the
  // frame here is written without one.
  EXPECT_TRUE(has_line(through_ui.out, "frames: 2, the script ran in 1")) << through_ui.out;

  const Outcome through_wk = mail(page, {"--wkwebview"});
  ASSERT_EQ(through_wk.status, 0) << through_wk.err;
  EXPECT_TRUE(has_line(through_wk.out,
                       "background: UIExtendedSRGBColorSpace 0 0 0 1 (the palette's bgColor)"))
      << through_wk.out;
  EXPECT_TRUE(has_line(through_wk.out, "frames: 2, the script ran in 2")) << through_wk.out;

  for (const Outcome* o : {&through_ui, &through_wk}) {
    EXPECT_NE(o->out.find("painted: mostly #000000"), std::string::npos) << o->out;
    EXPECT_EQ(o->out.find("first dark frame: none"), std::string::npos) << o->out;
    EXPECT_NE(o->out.find("remote requests blocked: 1\n  http://tracker.example/open.gif\n"),
              std::string::npos)
        << o->out;
  }
}

TEST_F(MailCommand, ColorEmailOffLeavesThePageAsTheMailWasWritten) {
  set_color_email(false);
  const fs::path page = file("framed.html", kFramedMail);
  webrender::WebPage raw;
  raw.html = kFramedMail;
  webrender::RenderOptions options;
  options.png = (directory_ / "raw.png").string();
  ASSERT_TRUE(webrender::render(raw, options).rendering);

  for (bool wk : {false, true}) {
    SCOPED_TRACE(wk ? "WKWebView" : "UIWebView");
    std::vector<std::string> more{"--png", (directory_ / "themed.png").string()};
    if (wk) more.push_back("--wkwebview");
    const Outcome o = mail(page, more);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(slurp(directory_ / "themed.png"), slurp(directory_ / "raw.png"));
  }
}

TEST_F(MailCommand, MissingScriptFileStillGivesAWebViewAndLogsWhatThePlatformRaised) {
  fs::remove(script_file());
  const fs::path page = file("plain.html", "<html><head></head><body><p>x</p></body></html>");
  const Outcome wk = mail(page, {"--wkwebview"});
  ASSERT_EQ(wk.status, 0) << wk.err;
  EXPECT_NE(wk.out.find("script: not placed: the script file could not be read"),
            std::string::npos)
      << wk.out;
  EXPECT_NE(wk.err.find("-----------------Exception:"), std::string::npos) << wk.err;
}

TEST_F(MailCommand, CorpusMailsBecomeScreenshotsThroughBothWebViews) {
  // The shared folder lies beside the repository unless TENEBRA_SHARED
  // names another place, as for the mail script's tests.
  const char* shared = std::getenv("TENEBRA_SHARED");
  const fs::path corpus = fs::path(shared != nullptr ? shared : TENEBRA_SOURCE "/../shared") / "mail-corpus";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no mail corpus at " << corpus;
  std::vector<fs::path> mails;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() == ".html") mails.push_back(entry.path());
  }
  ASSERT_FALSE(mails.empty());
  std::sort(mails.begin(), mails.end());
  const fs::path png = directory_ / "mail.png";
  for (bool wk : {false, true}) {
    SCOPED_TRACE(wk ? "WKWebView" : "UIWebView");
    std::vector<std::string> more{"--png", png.string(), "--width", "600"};
    if (wk) more.push_back("--wkwebview");
    const Outcome o = mail(mails.front(), more);
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string bytes = slurp(png);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    fs::remove(png);
  }
}

TEST_F(MailCommand, BadInputIsAClearErrorAndNeverACrash) {
  const fs::path latin1 = file("latin1.html", "<p>caf\xE9</p>");
  const fs::path good = file("good.html", "<p>x</p>");
  struct Row {
    std::vector<std::string> arguments;
    int status;
    std::string error;
  };
  const std::vector<Row> rows = {
      {{"mail", (directory_ / "missing.html").string()}, 1, "error: cannot read"},
      {{"mail", directory_.string()}, 1, "is a directory"},
      {{"mail", latin1.string()}, 1, "is not UTF-8 text"},
      {{"mail"}, 2, "usage: tenebra mail"},
      {{"mail", "--width", "0", good.string()}, 2, "usage:"},
      {{"mail", "--width", "wide", good.string()}, 2, "usage:"},
      {{"mail", "--width"}, 2, "usage:"},
      {{"mail", "--png", "", good.string()}, 2, "usage:"},
      {{"mail", "--frobnicate", good.string()}, 2, "usage:"},
      {{"mail", good.string(), good.string()}, 2, "usage:"},
      {{"mail", "--root", (directory_ / "no-root").string(), good.string()}, 2, "error: the device root"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments.back());
    const Outcome o = run(row.arguments);
    EXPECT_EQ(o.status, row.status) << o.err;
    EXPECT_NE(o.err.find(row.error), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "");
  }
}

TEST_F(MailCommand, ConsoleReachesTheRulesInTheApp) {
  const Outcome o = run({"console", "--root", root().string(), "-e",
                         "[[Helper getScript] isEqualToString:@\"\"]", "-e",
                         "[[[UIWebView new] backgroundColor] isEqual:[UIColor blackColor]]", "-e",
                         "w = [[WKWebView alloc] initWithFrame:CGRectMake(0, 0, 10, 10) configuration:nil]",
                         "-e", "[[[[w configuration] userContentController] userScripts] count]"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  EXPECT_TRUE(o.out.starts_with("NO\nYES\n")) << o.out;
  EXPECT_TRUE(o.out.ends_with("\n1\n")) << o.out;
}

}  // namespace
