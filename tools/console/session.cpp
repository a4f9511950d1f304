#include "tools/console/session.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/foundation/ns_exception.h"
#include "platform/foundation/ns_object.h"
#include "platform/foundation/ns_string.h"
#include "platform/objc/exception.h"
#include "tools/console/lexer.h"
#include "tools/console/parser.h"
#include "tools/console/printer.h"

namespace console {
namespace {

// How long the prompt waits for input before letting the host run.
constexpr int kIdleMilliseconds = 50;

std::string exception_line(id exception) {
  if (exception != nil && class_respondsToSelector(object_getClass(exception), objc::sel("name")) &&
      class_respondsToSelector(object_getClass(exception), objc::sel("reason"))) {
    return ns::exception_name(exception) + ": " + ns::exception_reason(exception);
  }
  return std::string("exception ") + objc::class_name_of(exception) + " raised";
}

}  // namespace

Session::Session(std::ostream& answers, std::ostream& errors,
                 std::function<void()> between_statements)
    : answers_(answers), errors_(errors), between_statements_(std::move(between_statements)) {}

bool Session::report(std::string_view origin, int line, const std::string& message) {
  errors_ << "error: ";
  if (!origin.empty()) errors_ << origin << ':' << line << ": ";
  errors_ << message << '\n';
  errors_.flush();
  failed_ = true;
  return false;
}

void Session::idle() {
  if (!between_statements_) return;
  // What the host runs is not the statement's doing, but the console stays
  // open when it raises.
  ns::AutoreleasePool pool;
  try {
    between_statements_();
  } catch (const objc::Exception& exception) {
    report({}, 0, exception_line(exception.object()) + " (raised in the main run loop)");
  }
}

bool Session::run(std::string_view source, std::string_view origin, int first_line) {
  const auto parsed = parse(source);
  if (!parsed) {
    const SyntaxError& error = parsed.error();
    std::string where = "syntax error at ";
    if (origin.empty() && error.position.line > 1) {
      where += "line " + std::to_string(error.position.line) + ", ";
    }
    where += "column " + std::to_string(error.position.column) + ": " + error.message;
    report(origin, first_line + error.position.line - 1, where);
    idle();
    return false;
  }
  bool all_ran = true;
  for (const Statement& statement : *parsed) {
    all_ran = run_statement(statement, origin, first_line) && all_ran;
    idle();
  }
  return all_ran;
}

bool Session::run_statement(const Statement& statement, std::string_view origin, int first_line) {
  const int line = first_line + statement.position.line - 1;
  try {
    ns::AutoreleasePool pool;
    const Value value = evaluator_.execute(statement);
    const std::string text = show(value.boxed);
    if (!value.boxed.is_nothing()) answers_ << text << '\n';
    answers_.flush();
    return true;
  } catch (const EvaluationError& error) {
    return report(origin, line, error.what());
  } catch (const objc::Exception& exception) {
    ns::AutoreleasePool pool;
    return report(origin, line, exception_line(exception.object()));
  } catch (const std::exception& error) {
    return report(origin, line, std::string("the statement failed: ") + error.what());
  }
}

bool Session::run_file(const std::string& path) {
  // A directory opens as a stream that reads nothing, which would pass for
  // an empty script.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    return report({}, 0, "cannot read \"" + path + "\": it is a directory");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return report({}, 0, "cannot read \"" + path + "\": " + std::strerror(errno));
  bool all_ran = true;
  std::string chunk;
  int chunk_line = 1;
  int line_number = 0;
  int open = 0;
  std::string line;
  while (std::getline(file, line)) {
    ++line_number;
    if (chunk.empty()) chunk_line = line_number;
    chunk += line;
    chunk += '\n';
    open = open_brackets(line, open);
    if (open == 0) {
      all_ran = run(chunk, path, chunk_line) && all_ran;
      chunk.clear();
    }
  }
  if (!chunk.empty()) all_ran = run(chunk, path, chunk_line) && all_ran;
  return all_ran;
}

void Session::run_prompt(int fd, std::string_view prompt) {
  // "...> " under the prompt's end, so continued lines line up.
  const std::string continuation =
      prompt.empty() ? std::string()
                     : std::string(prompt.size() > 5 ? prompt.size() - 5 : 0, ' ') + "...> ";
  std::string pending;  // bytes read but not yet ended by a line break
  std::string chunk;    // lines of a statement whose brackets are still open
  int open = 0;
  bool at_end = false;
  const auto show_prompt = [&]() {
    if (prompt.empty()) return;
    answers_ << (chunk.empty() ? prompt : std::string_view(continuation));
    answers_.flush();
  };
  show_prompt();
  while (!at_end) {
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, kIdleMilliseconds);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) {
      idle();
      continue;
    }
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    // What `pending` held before this read has no line break: search only
    // the new bytes, so a very long line costs no more than its length.
    std::size_t from = pending.size();
    if (got <= 0) {
      at_end = true;
      if (!pending.empty()) pending += '\n';
      from = pending.empty() ? 0 : pending.size() - 1;
    } else {
      pending.append(buffer, static_cast<std::size_t>(got));
    }
    std::size_t start = 0;
    std::size_t line_end;
    while ((line_end = pending.find('\n', std::max(start, from))) != std::string::npos) {
      const std::string_view line = std::string_view(pending).substr(start, line_end - start);
      open = open_brackets(line, open);
      chunk.append(line);
      chunk += '\n';
      start = line_end + 1;
      if (open == 0) {
        run(chunk);
        chunk.clear();
      }
      if (!at_end) show_prompt();
    }
    pending.erase(0, start);
  }
  if (!chunk.empty()) run(chunk);
  if (!prompt.empty()) answers_ << '\n';
  answers_.flush();
}

}  // namespace console
