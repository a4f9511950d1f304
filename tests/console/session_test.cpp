// Sessions: script files (statements over several lines, comments, error
// lines naming the file and line), the prompt over a pipe, and the host's
// turn (the main run loop's) between statements and while the prompt waits.
#include "tools/console/session.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/corefoundation/run_loop.h"
#include "platform/objc/exception.h"
#include "tests/console/console_probe.h"
#include "tests/support/scratch_directory.h"

namespace console {
namespace {

class ScriptFile : public testing::Test {
 protected:
  void SetUp() override { console_test::probe_class(); }

  std::string write(const std::string& text) {
    const std::string path = (directory_ / "script.m").string();
    std::ofstream(path) << text;
    return path;
  }

  test_support::ScratchDirectory scratch_{"console_session"};
  const std::filesystem::path& directory_ = scratch_.path();
  std::ostringstream answers_;
  std::ostringstream errors_;
};

TEST_F(ScriptFile, RunsEveryStatementAndNamesTheLineOfEachError) {
  const std::string path = write(
      "// a probe and its frame\n"
      "p = [ConsoleProbe probeWithValue:2]\n"
      "[p setFrame:CGRectMake(0, 0,\n"
      "                       320, 44)];\n"
      "[p frame]\n"
      "\n"
      "[p nope]\n"
      "[p value] [p value]\n"
      "[p value]\r\n");
  Session session(answers_, errors_);
  EXPECT_FALSE(session.run_file(path));
  EXPECT_EQ(answers_.str(), "{{0, 0}, {320, 44}}\n2\n");
  std::istringstream lines(errors_.str());
  std::string first;
  std::string second;
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_EQ(
      first.rfind("error: " + path + ":7: NSInvalidArgumentException: -[ConsoleProbe nope]", 0), 0u)
      << first;
  EXPECT_EQ(second, "error: " + path +
                        ":8: syntax error at column 11: expected the end of the statement, "
                        "found \"[\"");
  EXPECT_TRUE(session.failed());
}

TEST_F(ScriptFile, AStatementLeftOpenAtTheEndIsASyntaxError) {
  const std::string path = write("[ConsoleProbe twice:1]\n[ConsoleProbe twice:\n\n");
  Session session(answers_, errors_);
  EXPECT_FALSE(session.run_file(path));
  EXPECT_EQ(answers_.str(), "2\n");
  EXPECT_EQ(errors_.str(), "error: " + path +
                               ":4: syntax error at column 1: expected an expression, found the "
                               "end of the input\n");
}

TEST_F(ScriptFile, AMissingFileIsOneError) {
  Session session(answers_, errors_);
  EXPECT_FALSE(session.run_file((directory_ / "absent.m").string()));
  EXPECT_EQ(errors_.str(), "error: cannot read \"" + (directory_ / "absent.m").string() +
                               "\": No such file or directory\n");
}

TEST_F(ScriptFile, ADirectoryIsOneError) {
  Session session(answers_, errors_);
  EXPECT_FALSE(session.run_file(directory_.string()));
  EXPECT_EQ(errors_.str(),
            "error: cannot read \"" + directory_.string() + "\": it is a directory\n");
}

TEST(HostTurn, ComesAfterEveryStatementFailedOrNot) {
  std::ostringstream answers;
  std::ostringstream errors;
  int turns = 0;
  Session session(answers, errors, [&turns]() { ++turns; });
  session.run("1; 2; [Nope new]");
  session.run("[unclosed");
  EXPECT_EQ(turns, 4);
}

TEST(HostTurn, AnExceptionRaisedThereIsReportedAndTheSessionGoesOn) {
  std::ostringstream answers;
  std::ostringstream errors;
  Session session(answers, errors, []() { objc::raise("NSGenericException", "from the loop"); });
  session.run("1; 2");
  EXPECT_EQ(answers.str(), "1\n2\n");
  EXPECT_EQ(errors.str(),
            "error: NSGenericException: from the loop (raised in the main run loop)\n"
            "error: NSGenericException: from the loop (raised in the main run loop)\n");
}

class Prompt : public testing::Test {
 protected:
  void SetUp() override {
    console_test::probe_class();
    ASSERT_EQ(::pipe(fds_), 0);
  }
  void TearDown() override {
    ::close(fds_[0]);
    if (fds_[1] >= 0) ::close(fds_[1]);
  }
  void send(const std::string& text) {
    ASSERT_EQ(::write(fds_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void close_input() {
    ::close(fds_[1]);
    fds_[1] = -1;
  }
  int fds_[2] = {-1, -1};
  std::ostringstream answers_;
  std::ostringstream errors_;
};

TEST_F(Prompt, ReadsStatementsLineByLineAndContinuesOpenOnes) {
  send("v = [ConsoleProbe probeWithValue:3]\n[v sumOf:1\n and:2\n and:[v value]]\n[v\n");
  close_input();
  Session session(answers_, errors_);
  session.run_prompt(fds_[0], "tenebra> ");
  EXPECT_EQ(answers_.str(), "tenebra> tenebra>     ...>     ...> 6\ntenebra>     ...> \n");
  EXPECT_EQ(errors_.str(),
            "error: syntax error at line 2, column 1: expected a selector, found the end of the "
            "input\n");
}

TEST_F(Prompt, WithoutAPromptTextShowsOnlyAnswers) {
  send("[ConsoleProbe twice:4]\n[ConsoleProbe twice:5]");
  close_input();
  Session session(answers_, errors_);
  session.run_prompt(fds_[0], "");
  // The last line needs no line break.
  EXPECT_EQ(answers_.str(), "8\n10\n");
}

TEST_F(Prompt, TheHostRunsWhileThePromptWaits) {
  // Nothing is typed; the host's turn itself supplies the input, so the
  // statement can only run if the host ran while the prompt waited.
  bool supplied = false;
  Session session(answers_, errors_, [&]() {
    if (supplied) return;
    supplied = true;
    send("[ConsoleProbe twice:21]\n");
    close_input();
  });
  session.run_prompt(fds_[0], "");
  EXPECT_EQ(answers_.str(), "42\n");
}

TEST_F(Prompt, ALineMayArriveInPieces) {
  send("[ConsoleProbe tw");
  int turn = 0;
  Session session(answers_, errors_, [&]() {
    ++turn;
    if (turn == 1) send("ice:3] [Cons");
    if (turn == 2) send("oleProbe twice:1]\n4\n[ConsoleProbe\n twice:5]");
    if (turn == 3) close_input();
  });
  session.run_prompt(fds_[0], "");
  EXPECT_EQ(answers_.str(), "4\n10\n");
  EXPECT_EQ(errors_.str(),
            "error: syntax error at column 24: expected the end of the statement, found \"[\"\n");
}

TEST_F(Prompt, WorkPostedToTheMainRunLoopRunsWhileThePromptWaits) {
  // Another thread posts work to the main run loop; the prompt's input only
  // arrives once that work has run on this thread, between reads.
  Session session(answers_, errors_,
                  []() { cf::main_run_loop().run_once(std::chrono::milliseconds(0)); });
  std::thread poster([this]() {
    cf::main_run_loop().perform([this]() {
      send("[ConsoleProbe twice:8]\n");
      close_input();
    });
  });
  session.run_prompt(fds_[0], "");
  poster.join();
  EXPECT_EQ(answers_.str(), "16\n");
}

}  // namespace
}  // namespace console
