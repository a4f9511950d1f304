// Formatting (what stringWithFormat: and NSLog share) and the log itself:
// one whole record per call with its time stamp and process prefix.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/foundation.h"
#include "platform/objc/exception.h"

namespace {

using objc::msg;

std::string formatted(const char* format, auto... arguments) {
  return ns::utf8(ns::format(ns::string(format), arguments...));
}

template <typename... Args>
std::string printf_of(const char* format, Args... arguments) {
  char text[256];
  std::snprintf(text, sizeof text, format, arguments...);
  return text;
}

class FormatTest : public testing::Test {
 protected:
  ns::AutoreleasePool pool_;
};

TEST_F(FormatTest, NumbersFormatAsPrintfDoes) {
  EXPECT_EQ(formatted("%d|%5d|%-5d|%05d|%+d", 42, 42, 42, 42, 42),
            printf_of("%d|%5d|%-5d|%05d|%+d", 42, 42, 42, 42, 42));
  EXPECT_EQ(formatted("%x %X %#x %o %u", 255, 255, 255, 8, 4000000000u),
            printf_of("%x %X %#x %o %u", 255, 255, 255, 8, 4000000000u));
  EXPECT_EQ(formatted("%ld %lu %lld %qd %zu %hhd", -1L, 2UL, -3LL, 4LL, std::size_t{5}, 300),
            "-1 2 -3 4 5 44");
  EXPECT_EQ(formatted("%.2f %e %g %10.3f %Lf", 3.14159, 1e-5, 0.0001, 2.5, 1.5L),
            printf_of("%.2f %e %g %10.3f %Lf", 3.14159, 1e-5, 0.0001, 2.5, 1.5L));
  // Arguments mixing integers and reals keep their places.
  EXPECT_EQ(formatted("%d %f %d %f", 1, 2.0, 3, 4.0), "1 2.000000 3 4.000000");
}

TEST_F(FormatTest, ObjectsAreDescribedAndNilIsNull) {
  id number = msg<id>(objc_getClass("NSNumber"), "numberWithInt:", 7);
  EXPECT_EQ(formatted("[%@] [%@] [%@]", ns::string("text"), number, nil), "[text] [7] [(null)]");
  EXPECT_EQ(formatted("%@", ns::array({ns::string("a"), ns::string("b c")})),
            "(\n    a,\n    \"b c\"\n)");
  // Widths of texts count UTF-16 code units: the emoji is two.
  EXPECT_EQ(formatted("[%5@] [%-4@]", ns::string("\xF0\x9F\x98\x80"), ns::string("ab")),
            "[   \xF0\x9F\x98\x80] [ab  ]");
}

TEST_F(FormatTest, CStringsAreLatin1BytesAndUnicharsAreCodeUnits) {
  // Each byte is one character: the UTF-8 bytes of "é" read as two.
  EXPECT_EQ(formatted("%s|%s", "caf\xE9", "\xC3\xA9"), "caf\xC3\xA9|\xC3\x83\xC2\xA9");
  EXPECT_EQ(formatted("[%.2s] [%4s] [%s]", "abcdef", "ab", static_cast<const char*>(nullptr)),
            "[ab] [  ab] [(null)]");
  const unsigned short units[] = {0xD83D, 0xDE00, u'!', 0};
  EXPECT_EQ(formatted("%C%C %S", 0x41, 0xE9, units), "A\xC3\xA9 \xF0\x9F\x98\x80!");
  EXPECT_EQ(formatted("%c%c", 'o', 'k'), "ok");
}

TEST_F(FormatTest, PositionsStarsAndPercentSigns) {
  EXPECT_EQ(formatted("%2$@ %1$d %2$@", 5, ns::string("x")), "x 5 x");
  EXPECT_EQ(formatted("[%*d] [%*d] [%.*f]", 4, 7, -4, 7, 2, 3.14159), "[   7] [7   ] [3.14]");
  EXPECT_EQ(formatted("100%% of %d%%", 3), "100% of 3%");
  EXPECT_EQ(formatted("%p", static_cast<void*>(nullptr)), "0x0");
}

TEST_F(FormatTest, UnknownConversionsStayAsTheyAreAndTakeNoArgument) {
  EXPECT_EQ(formatted("%k %d", 5), "%k 5");
  EXPECT_EQ(formatted("50%"), "50%");
  // %n never writes through its pointer.
  int untouched = 99;
  EXPECT_EQ(formatted("a%nb%d", &untouched, 1), "ab1");
  EXPECT_EQ(untouched, 99);
  // A conversion whose argument position is never named cannot be read.
  EXPECT_EQ(formatted("%3$d %1$d", 1, 2, 3), "%3$d 1");
}

TEST_F(FormatTest, NilFormatRaises) { EXPECT_THROW(ns::format(nil), objc::Exception); }

// ---- NSLog ---------------------------------------------------------------

class LogTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = ns::process_name();
    ns::set_process_name("Gmail");
  }
  void TearDown() override { ns::set_process_name(previous_); }

  ns::AutoreleasePool pool_;
  std::string previous_;
};

TEST_F(LogTest, EachCallIsOneRecordWithTimeStampAndProcessPrefix) {
  ns::LogCapture capture;
  NSLog(NSSTR("hello %d"), 5);
  id exception = msg<id>(objc_getClass("NSException"),
                         "exceptionWithName:reason:userInfo:", ns::string("NSRangeException"),
                         ns::string("index 3 beyond bounds"), nil);
  NSLog(NSSTR("-----------------Exception:%@"), exception);
  NSLog(nil);

  EXPECT_EQ(capture.messages(),
            (std::vector<std::string>{"hello 5", "-----------------Exception:index 3 beyond bounds",
                                      "(null)"}));
  const std::regex record(
      R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} Gmail\[(\d+):(\d+)\] hello 5)");
  std::smatch parts;
  const std::string first = capture.lines().at(0);
  ASSERT_TRUE(std::regex_match(first, parts, record)) << first;
  EXPECT_EQ(std::stol(parts[1]), static_cast<long>(getpid()));
}

TEST_F(LogTest, MultiLineMessagesStayOneRecord) {
  ns::LogCapture capture;
  NSLog(NSSTR("%@-------------------------------"), ns::string("Could not obfuscate:\na\nb\n"));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0], "Could not obfuscate:\na\nb\n-------------------------------");
}

TEST_F(LogTest, RecordsFromManyThreadsStayWhole) {
  ns::LogCapture capture;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i) NSLog(NSSTR("thread %d record %d of a fixed length"), t, i);
    });
  }
  for (auto& thread : threads) thread.join();
  auto messages = capture.messages();
  ASSERT_EQ(messages.size(), 200u);
  std::vector<int> seen(4, 0);
  const std::regex whole(R"(thread (\d) record (\d+) of a fixed length)");
  for (const auto& message : messages) {
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(message, parts, whole)) << message;
    // Each thread's records arrive in its own order.
    EXPECT_EQ(std::stoi(parts[2]), seen[std::stoi(parts[1])]++);
  }
}

TEST_F(LogTest, TheNewestCaptureCollects) {
  ns::LogCapture outer;
  NSLog(NSSTR("one"));
  {
    ns::LogCapture inner;
    NSLog(NSSTR("two"));
    EXPECT_EQ(inner.messages(), std::vector<std::string>{"two"});
  }
  NSLog(NSSTR("three"));
  EXPECT_EQ(outer.messages(), (std::vector<std::string>{"one", "three"}));
}

// Runs `action` with standard error sent to a file; returns what was written.
std::string standard_error_of(const std::function<void()>& action) {
  char path[] = "/tmp/tenebra-stderr-XXXXXX";
  int file = mkstemp(path);
  int saved = dup(STDERR_FILENO);
  dup2(file, STDERR_FILENO);
  action();
  dup2(saved, STDERR_FILENO);
  close(saved);
  close(file);
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  unlink(path);
  return content.str();
}

TEST_F(LogTest, RecordsGoToStandardErrorAsWholeLines) {
  std::string written = standard_error_of([] {
    NSLog(NSSTR("first"));
    NSLog(NSSTR("second\n"));
  });
  const std::regex two_lines(
      R"(\S+ \S+ Gmail\[\d+:\d+\] first\n\S+ \S+ Gmail\[\d+:\d+\] second\n)");
  EXPECT_TRUE(std::regex_match(written, two_lines)) << written;

  // A capture keeps records off standard error unless it echoes them.
  EXPECT_EQ(standard_error_of([] {
              ns::LogCapture quiet;
              NSLog(NSSTR("hidden"));
            }),
            "");
  std::string echoed = standard_error_of([] {
    ns::LogCapture loud(ns::LogCapture::Echo::kYes);
    NSLog(NSSTR("shown"));
    EXPECT_EQ(loud.messages(), std::vector<std::string>{"shown"});
  });
  EXPECT_TRUE(echoed.ends_with("] shown\n")) << echoed;

  // A message that ends its own line is captured as it was logged; its
  // line is the same as that of the message without the line feed.
  ns::LogCapture capture;
  NSLog(NSSTR("ends\n"));
  NSLog(NSSTR("ends"));
  EXPECT_EQ(capture.messages(), (std::vector<std::string>{"ends\n", "ends"}));
  ASSERT_EQ(capture.lines().size(), 2u);
  EXPECT_TRUE(capture.lines()[0].ends_with("] ends")) << capture.lines()[0];
}

}  // namespace
