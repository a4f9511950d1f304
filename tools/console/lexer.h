// The console's tokens. The lexer turns one piece of source into tokens with
// their positions; a line break is a token of its own because it ends a
// statement, except inside brackets, where the parser passes over it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/console/syntax.h"

namespace console {

enum class TokenKind {
  kIdentifier,  // text
  kInteger,     // magnitude
  kFloating,    // number, single
  kCText,       // "..." (text)
  kText,        // @"..." (text)
  kAt,          // @ before anything but a quote
  kLeftBracket,
  kRightBracket,
  kLeftParen,
  kRightParen,
  kLeftBrace,
  kRightBrace,
  kComma,
  kColon,
  kSemicolon,
  kEquals,
  kMinus,
  kLineBreak,
  kEnd,
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  Position position;
  std::string text;             // identifier name or the decoded text (UTF-8)
  std::uint64_t magnitude = 0;  // integer
  double number = 0;            // floating
  bool single = false;          // floating with the f suffix
};

// Splits `source` into tokens, the last always an end token. Stops at the
// first malformed token (an unterminated text, a bad escape, a malformed or
// too large number, a character the language has no use for) and reports it.
Result<std::vector<Token>> tokenize(std::string_view source);

// How many brackets, parentheses and braces are open after `source`, when
// `already_open` were open before it (never below 0). A reader that gets a
// positive answer asks for another line before running the statement; since
// no token spans lines, it can carry the count from line to line. Source that
// does not lex counts as complete, so its error is reported at once.
int open_brackets(std::string_view source, int already_open = 0);

// How a token is named in a syntax error: `"]"`, `a name`, `the end of the line`.
std::string describe(const Token& token);

}  // namespace console
