// The built `tenebra` program, run as a user runs it: `tenebra console` with
// -e expressions, script files and piped input, its output streams and exit
// status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

class TenebraProgram : public testing::Test {
 protected:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() /
                 ("tenebra_program_" + std::to_string(::getpid()) + "_" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  std::string file(const std::string& name, const std::string& text) {
    const std::string path = (directory_ / name).string();
    std::ofstream(path) << text;
    return path;
  }

  static std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  Outcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
    const std::string in = file("stdin", input);
    const std::string out = (directory_ / "stdout").string();
    const std::string err = (directory_ / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words{TENEBRA_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    // A sanitizer build's leak checker would add its statistics to stderr.
    std::vector<std::string> environment{"LSAN_OPTIONS=print_suppressions=0"};
    for (char** variable = environ; *variable != nullptr; ++variable) {
      if (!std::string_view(*variable).starts_with("LSAN_OPTIONS="))
        environment.emplace_back(*variable);
    }
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t child = 0;
    Outcome outcome;
    if (posix_spawn(&child, TENEBRA_PROGRAM, &actions, nullptr, argv.data(), envp.data()) == 0) {
      int status = 0;
      ::waitpid(child, &status, 0);
      outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = slurp(out);
    outcome.err = slurp(err);
    return outcome;
  }

  std::filesystem::path directory_;
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

TEST_F(TenebraProgram, ADeviceRootThatIsNoDirectoryIsRefused) {
  const Outcome o = run({"console", "--root", (directory_ / "absent").string(), "-e", "1"});
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "error: the device root \"" + (directory_ / "absent").string() +
                       "\" is not a directory\n");
}

TEST_F(TenebraProgram, DevicePathsResolveUnderTheRootGiven) {
  std::filesystem::create_directories(directory_ / "device" / "var" / "mobile");
  file("device/var/mobile/marker", "");
  const std::string probe = "[[NSFileManager defaultManager] fileExistsAtPath:@\"/User/marker\"]";
  EXPECT_EQ(run({"console", "--root", (directory_ / "device").string(), "-e", probe}).out, "YES\n");
  EXPECT_EQ(run({"console", "--root=" + directory_.string(), "-e", probe}).out, "NO\n");
}

}  // namespace
