// A console session: statements read from -e arguments, script files or a
// prompt, run one after another against one set of variables. Each statement
// runs inside its own autorelease pool; its answer goes to one stream, one
// line each, and a failure to the other as one line starting with "error: ",
// after which the session goes on with the next statement. Between
// statements, and while the prompt waits for input, the session hands control
// to the host (the app's main run loop), so work posted from elsewhere, a
// notification from another process among it, is handled while the console
// is open.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "tools/console/evaluator.h"

namespace console {

class Session {
 public:
  // `between_statements` runs after every statement and, at the prompt,
  // whenever no input has arrived for a moment; it may be empty.
  Session(std::ostream& answers, std::ostream& errors,
          std::function<void()> between_statements = {});

  // Runs every statement of one unit of source (an -e argument, a chunk of a
  // script). A syntax error anywhere in it runs none of it. `origin` names a
  // script in error lines ("demo.m:3: ..."); `first_line` is the line of the
  // script on which the unit starts. Returns whether every statement ran.
  bool run(std::string_view source, std::string_view origin = {}, int first_line = 1);

  // Runs a script file: line by line, a statement that leaves brackets open
  // continuing onto the next lines. A file that cannot be read is one error.
  bool run_file(const std::string& path);

  // Reads statements from `fd` until its end (a terminal or a pipe alike),
  // showing `prompt` before each one when `prompt` is not empty, and a
  // continuation prompt while brackets are open.
  void run_prompt(int fd, std::string_view prompt);

  // Whether any statement so far has failed.
  bool failed() const { return failed_; }

  Evaluator& evaluator() { return evaluator_; }

 private:
  bool report(std::string_view origin, int line, const std::string& message);
  bool run_statement(const Statement& statement, std::string_view origin, int first_line);
  void idle();

  std::ostream& answers_;
  std::ostream& errors_;
  std::function<void()> between_statements_;
  Evaluator evaluator_;
  bool failed_ = false;
};

}  // namespace console
