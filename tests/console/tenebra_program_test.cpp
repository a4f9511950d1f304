// The built `tenebra` program, run as a user runs it: `tenebra console` with
// -e expressions, script files and piped input, its output streams and exit
// status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"

namespace {

using test_support::Outcome;

class TenebraProgram : public testing::Test {
 protected:
  std::string file(const std::string& name, const std::string& text) {
    const std::string path = (directory_ / name).string();
    std::ofstream(path) << text;
    return path;
  }

  Outcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
    return test_support::run_program(TENEBRA_PROGRAM, arguments, directory_, input);
  }

  test_support::ScratchDirectory scratch_{"tenebra_program"};
  const std::filesystem::path& directory_ = scratch_.path();
};

TEST_F(TenebraProgram, EachExpressionAnswersOnItsOwnLineInOneSession) {
  const Outcome o = run({"console", "-e", "s = @\"abc\"", "-e", "[s length]", "-e",
                         "[[s class] superclass]", "-e", "[s hasPrefix:@\"ab\"]", "-e",
                         "CGRectMake(0, 0, 320, 480)", "-e", "[s description]"});
  EXPECT_EQ(o.out, "3\nNSObject\nYES\n{{0, 0}, {320, 480}}\n\"abc\"\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.status, 0);
}

TEST_F(TenebraProgram, AFailedStatementIsReportedAndTheRestStillRuns) {
  const Outcome o = run({"console", "-e", "[Nope new]", "-e", "[@\"abc\" characterAtIndex:9]", "-e",
                         "[@\"abc\" length", "-e", "42"});
  EXPECT_EQ(o.out, "42\n");
  EXPECT_EQ(o.err,
            "error: unknown class \"Nope\"\n"
            "error: NSRangeException: -[NSString characterAtIndex:]: Range or index out of bounds\n"
            "error: syntax error at column 15: expected \"]\", found the end of the input\n");
  EXPECT_EQ(o.status, 1);
}

TEST_F(TenebraProgram, RunsScriptsAndExpressionsInTheOrderGiven) {
  const std::string script = file("set.m", "t = @\"from the script\"\n");
  const std::string use = file("use.m", "[t length]\n");
  const Outcome o = run({"console", script, "-e", "t", use});
  EXPECT_EQ(o.out, "\"from the script\"\n15\n");
  EXPECT_EQ(o.status, 0);
}

TEST_F(TenebraProgram, ReadsPipedStatementsWithoutShowingThePrompt) {
  const Outcome o = run({"console"}, "x = @\"piped\"\n[x length]\n[x nope]\n");
  EXPECT_EQ(o.out, "5\n");
  EXPECT_EQ(o.err.rfind("error: NSInvalidArgumentException: -[NSString nope]", 0), 0u);
  // A prompt session ends well whatever its statements did.
  EXPECT_EQ(o.status, 0);
}

TEST_F(TenebraProgram, UsageErrorsExitWithTwo) {
  const std::string usage =
      "usage: tenebra console [--root DIR] [-e EXPR]... [FILE...]\n"
      "       tenebra hooks [--root DIR]\n"
      "       tenebra notify [--root DIR] NAME\n"
      "       tenebra mail [--root DIR] [--wkwebview] [--width N] [--png OUT.png] FILE.html\n"
      "       tenebra settings [--root DIR] [--installed SCHEME...] [COMMAND...]\n"
      "       tenebra preview [--root DIR] [--out DIR] [--screens LIST] [--scale N] "
      "[--keyboard dark|light]\n";
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {}, {"consol"}, {"console", "-e"}, {"console", "--root"}, {"console", "-x"}}) {
    const Outcome o = run(arguments);
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err, usage);
  }
  EXPECT_EQ(run({"notify"}).status, 2);
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, usage);
}

// `hooks` lists the 52 rows in order with their states: in the app launched
// against the staged root every rule of the library is installed; against an
// empty root no library is loaded and none is.
TEST_F(TenebraProgram, HooksListsEveryRowInOrderWithItsState) {
  auto rows = [](const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      std::istringstream words(line);
      std::string collapsed, word;
      while (words >> word) collapsed += (collapsed.empty() ? "" : " ") + word;
      lines.push_back(collapsed);
    }
    return lines;
  };
  const Outcome loaded = run({"hooks"});
  EXPECT_EQ(loaded.status, 0);
  const auto lines = rows(loaded.out);
  ASSERT_EQ(lines.size(), 52u);
  EXPECT_EQ(lines[0].substr(0, 2), "1 ");
  EXPECT_EQ(lines[31], "32 UIImageView instance setImage: installed");
  EXPECT_EQ(lines[10],
            "11 ThreadCellFrontView class backgroundForPosition:backgroundColor: installed");
  for (const std::string& line : lines) {
    EXPECT_TRUE(line.ends_with(" installed") && !line.ends_with(" not installed")) << line;
  }
  std::filesystem::create_directories(directory_ / "empty");
  const auto bare = rows(run({"hooks", "--root", (directory_ / "empty").string()}).out);
  ASSERT_EQ(bare.size(), 52u);
  EXPECT_EQ(bare[31], "32 UIImageView instance setImage: not installed");
  EXPECT_EQ(run({"hooks", "extra"}).status, 2);
}

// Images show their size in points and their scale; the platform's C
// functions are called by name, so an image the app made can be taken as PNG.
TEST_F(TenebraProgram, ImagesPrintAndThePlatformsCFunctionsAreCalled) {
  const Outcome o = run({"console", "-e",
                         "i = [UIColor imageWithColor:[UIColor blackColor] "
                         "andBounds:CGRectMake(0, 0, 320, 88)]",
                         "-e", "i", "-e", "CGImageGetWidth([i CGImage])", "-e",
                         "[UIImage imageWithData:UIImagePNGRepresentation(i)]", "-e",
                         "UIGraphicsBeginImageContextWithOptions(CGSizeMake(3, 1), NO, 0)", "-e",
                         "UIRectFill(CGRectMake(0, 0, 1, 1))", "-e",
                         "UIGraphicsGetImageFromCurrentImageContext()", "-e",
                         "UIGraphicsEndImageContext()", "-e", "UIRectFill(1)"});
  EXPECT_EQ(o.out, "<UIImage 320x88 @2x>\n640\n<UIImage 640x176 @1x>\n<UIImage 3x1 @2x>\n");
  EXPECT_EQ(o.err, "error: argument 1 of UIRectFill: cannot pass an integer as struct CGRect\n");
  EXPECT_EQ(o.status, 1);
}

// The app the console runs in is the one the preview draws: its key window
// shows the inbox, and its delegate shows every other screen, whose
// controller and view tree are then reachable from the window.
TEST_F(TenebraProgram, TheKeyWindowAndEveryScreensControllerAreReachable) {
  const Outcome o =
      run({"console", "-e", "app = [UIApplication sharedApplication]", "-e",
           "[[[[app keyWindow] rootViewController] class] description]", "-e",
           "[[[app delegate] showCompose] class]", "-e",
           "[[[[app keyWindow] rootViewController] bodyView] isFirstResponder]", "-e",
           "[[[app delegate] showSidePanel] class]", "-e",
           "[[[app delegate] showThread:@\"Hello\"] class]", "-e",
           "[[[app delegate] openLink:@\"https://example.com/\"] class]", "-e",
           "[[app delegate] openLink:@\"no address\"]", "-e",
           "[[[app keyWindow] rootViewController] class]", "-e",
           "[[app keyWindow] isEqual:[[app delegate] window]]"});
  EXPECT_EQ(o.out,
            "\"ThreadListViewController\"\nComposeViewController\nYES\nUIViewController\n"
            "ThreadViewController\nSFSafariViewController\nnil\nSFSafariViewController\nYES\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.status, 0);
}

// Every command refuses a device root that is no directory, given either way,
// before anything runs: nothing is printed, posted or created under it.
TEST_F(TenebraProgram, EveryCommandRefusesADeviceRootThatIsNoDirectory) {
  const std::string absent = (directory_ / "absent").string();
  const std::string page = file("mail.html", "<p>mail</p>");
  const std::vector<std::vector<std::string>> commands{
      {"console", "-e", "1"},
      {"hooks"},
      {"notify", "com.kestrow.tenebra/settingschanged"},
      {"mail", page},
      {"settings"}};
  for (const auto& command : commands) {
    for (const std::vector<std::string>& root :
         {std::vector<std::string>{"--root", absent}, {"--root=" + absent}}) {
      std::vector<std::string> arguments{command.front()};
      arguments.insert(arguments.end(), root.begin(), root.end());
      arguments.insert(arguments.end(), command.begin() + 1, command.end());
      const Outcome o = run(arguments);
      EXPECT_EQ(o.status, 2) << command.front() << " " << root.front();
      EXPECT_EQ(o.out, "") << command.front();
      EXPECT_EQ(o.err, "error: the device root \"" + absent + "\" is not a directory\n")
          << command.front() << " " << root.front();
      EXPECT_FALSE(std::filesystem::exists(absent)) << command.front();
    }
  }
}

TEST_F(TenebraProgram, NotifyRefusesAnEmptyNameAndAScriptMustBeAFile) {
  const Outcome empty = run({"notify", "--root=" + directory_.string(), ""});
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err, "error: the notification name is empty\n");
  const Outcome folder = run({"console", directory_.string()});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, "error: cannot read \"" + directory_.string() + "\": it is a directory\n");
}

TEST_F(TenebraProgram, DevicePathsResolveUnderTheRootGiven) {
  std::filesystem::create_directories(directory_ / "device" / "var" / "mobile");
  file("device/var/mobile/marker", "");
  const std::string probe = "[[NSFileManager defaultManager] fileExistsAtPath:@\"/User/marker\"]";
  EXPECT_EQ(run({"console", "--root", (directory_ / "device").string(), "-e", probe}).out, "YES\n");
  EXPECT_EQ(run({"console", "--root=" + directory_.string(), "-e", probe}).out, "NO\n");
}

}  // namespace
