#include "tools/console/lexer.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/foundation/unicode.h"

namespace console {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex_digit(char c) {
  return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool is_identifier_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}
bool is_identifier_part(char c) { return is_identifier_start(c) || is_digit(c); }
int hex_value(char c) {
  if (is_digit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

void append_utf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

// A character for an error line: as it is when it is a well-formed visible
// character, else its bytes as \x escapes, so the line stays one clean line.
std::string printable(std::string_view character) {
  const auto first = static_cast<unsigned char>(character.front());
  if (first >= 0x20 && first != 0x7F && ns::is_valid_utf8(character)) {
    return "\"" + std::string(character) + "\"";
  }
  std::string out;
  for (const char c : character) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(c));
    out += escape;
  }
  return out;
}

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  Result<std::vector<Token>> run() {
    std::vector<Token> tokens;
    while (true) {
      skip_blanks();
      Token token;
      token.position = position_;
      if (at_end()) {
        tokens.push_back(token);
        return tokens;
      }
      if (!next(token)) return *error_;
      tokens.push_back(std::move(token));
    }
  }

 private:
  bool at_end() const { return offset_ >= source_.size(); }
  char peek(std::size_t ahead = 0) const {
    return offset_ + ahead < source_.size() ? source_[offset_ + ahead] : '\0';
  }
  // Moves past one byte; the column counts characters, so continuation bytes
  // of a UTF-8 sequence do not advance it.
  void advance() {
    const char c = source_[offset_++];
    if (c == '\n') {
      ++position_.line;
      position_.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++position_.column;
    }
  }
  bool fail(Position where, std::string message) {
    error_ = SyntaxError{where, std::move(message)};
    return false;
  }

  void skip_blanks() {
    while (!at_end()) {
      const char c = peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
        advance();
      } else if (c == '/' && peek(1) == '/') {
        while (!at_end() && peek() != '\n') advance();
      } else {
        return;
      }
    }
  }

  bool next(Token& token) {
    const char c = peek();
    if (is_identifier_start(c)) {
      token.kind = TokenKind::kIdentifier;
      while (!at_end() && is_identifier_part(peek())) {
        token.text.push_back(peek());
        advance();
      }
      return true;
    }
    if (is_digit(c) || (c == '.' && is_digit(peek(1)))) return number(token);
    if (c == '"') {
      token.kind = TokenKind::kCText;
      return text(token);
    }
    if (c == '@') {
      advance();
      if (peek() == '"') {
        token.kind = TokenKind::kText;
        return text(token);
      }
      token.kind = TokenKind::kAt;
      return true;
    }
    static constexpr std::pair<char, TokenKind> kPunctuation[] = {
        {'[', TokenKind::kLeftBracket}, {']', TokenKind::kRightBracket},
        {'(', TokenKind::kLeftParen},   {')', TokenKind::kRightParen},
        {'{', TokenKind::kLeftBrace},   {'}', TokenKind::kRightBrace},
        {',', TokenKind::kComma},       {':', TokenKind::kColon},
        {';', TokenKind::kSemicolon},   {'=', TokenKind::kEquals},
        {'-', TokenKind::kMinus},       {'\n', TokenKind::kLineBreak},
    };
    for (const auto& [character, kind] : kPunctuation) {
      if (c == character) {
        token.kind = kind;
        advance();
        return true;
      }
    }
    const std::size_t start = offset_;
    do {
      advance();
    } while (!at_end() && (static_cast<unsigned char>(peek()) & 0xC0) == 0x80);
    return fail(token.position,
                "unexpected character " + printable(source_.substr(start, offset_ - start)));
  }

  bool number(Token& token) {
    const std::size_t start = offset_;
    if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
      advance();
      advance();
      std::uint64_t value = 0;
      int digits = 0;
      while (is_hex_digit(peek())) {
        if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
          return fail(token.position, "integer constant is too large");
        }
        value = value << 4 | static_cast<std::uint64_t>(hex_value(peek()));
        ++digits;
        advance();
      }
      if (digits == 0 || is_identifier_part(peek()) || peek() == '.') {
        return fail(token.position, "malformed number");
      }
      token.kind = TokenKind::kInteger;
      token.magnitude = value;
      return true;
    }
    bool is_float = false;
    while (is_digit(peek())) advance();
    if (peek() == '.') {
      is_float = true;
      advance();
      while (is_digit(peek())) advance();
    }
    if (peek() == 'e' || peek() == 'E') {
      const bool signed_exponent = peek(1) == '+' || peek(1) == '-';
      if (!is_digit(peek(signed_exponent ? 2 : 1))) {
        return fail(token.position, "malformed number");
      }
      is_float = true;
      advance();
      if (signed_exponent) advance();
      while (is_digit(peek())) advance();
    }
    const std::string_view digits = source_.substr(start, offset_ - start);
    if (is_float && (peek() == 'f' || peek() == 'F')) {
      token.single = true;
      advance();
    }
    if (is_identifier_part(peek()) || peek() == '.') {
      return fail(token.position, "malformed number");
    }
    if (is_float) {
      token.kind = TokenKind::kFloating;
      const auto [end, status] =
          std::from_chars(digits.data(), digits.data() + digits.size(), token.number);
      if (status != std::errc() || end != digits.data() + digits.size()) {
        return fail(token.position, "floating constant is out of range");
      }
      if (token.single && (token.number > std::numeric_limits<float>::max())) {
        return fail(token.position, "floating constant is out of range");
      }
      return true;
    }
    token.kind = TokenKind::kInteger;
    const auto [end, status] =
        std::from_chars(digits.data(), digits.data() + digits.size(), token.magnitude);
    if (status != std::errc() || end != digits.data() + digits.size()) {
      return fail(token.position, "integer constant is too large");
    }
    return true;
  }

  // A quoted text with C's escapes; \x, \u and \U name a character by its
  // code, which is stored in UTF-8.
  bool text(Token& token) {
    advance();  // the opening quote
    while (true) {
      if (at_end() || peek() == '\n') return fail(token.position, "unterminated text");
      const char c = peek();
      if (c == '"') {
        advance();
        return true;
      }
      if (c != '\\') {
        token.text.push_back(c);
        advance();
        continue;
      }
      const Position escape_at = position_;
      advance();
      if (at_end()) return fail(token.position, "unterminated text");
      const char kind = peek();
      advance();
      switch (kind) {
        case 'n':
          token.text.push_back('\n');
          break;
        case 't':
          token.text.push_back('\t');
          break;
        case 'r':
          token.text.push_back('\r');
          break;
        case '0':
          token.text.push_back('\0');
          break;
        case 'a':
          token.text.push_back('\a');
          break;
        case 'b':
          token.text.push_back('\b');
          break;
        case 'f':
          token.text.push_back('\f');
          break;
        case 'v':
          token.text.push_back('\v');
          break;
        case 'e':
          token.text.push_back('\x1B');
          break;
        case '\\':
          token.text.push_back('\\');
          break;
        case '"':
          token.text.push_back('"');
          break;
        case '\'':
          token.text.push_back('\'');
          break;
        case '?':
          token.text.push_back('?');
          break;
        case 'x':
        case 'u':
        case 'U': {
          const int most = kind == 'x' ? 2 : kind == 'u' ? 4 : 8;
          const int least = kind == 'x' ? 1 : most;
          char32_t code = 0;
          int count = 0;
          while (count < most && is_hex_digit(peek())) {
            code = code << 4 | static_cast<char32_t>(hex_value(peek()));
            ++count;
            advance();
          }
          if (count < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return fail(escape_at, "invalid character code in escape");
          }
          append_utf8(token.text, code);
          break;
        }
        default:
          return fail(escape_at, std::string("unknown escape \"\\") + kind + "\"");
      }
    }
  }

  std::string_view source_;
  std::size_t offset_ = 0;
  Position position_;
  std::optional<SyntaxError> error_;
};

}  // namespace

Result<std::vector<Token>> tokenize(std::string_view source) { return Lexer(source).run(); }

int open_brackets(std::string_view source, int already_open) {
  const auto tokens = tokenize(source);
  if (!tokens) return 0;
  int depth = already_open;
  for (const Token& token : *tokens) {
    switch (token.kind) {
      case TokenKind::kLeftBracket:
      case TokenKind::kLeftParen:
      case TokenKind::kLeftBrace:
        ++depth;
        break;
      case TokenKind::kRightBracket:
      case TokenKind::kRightParen:
      case TokenKind::kRightBrace:
        if (depth > 0) --depth;
        break;
      default:
        break;
    }
  }
  return depth;
}

std::string describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::kIdentifier:
      return "\"" + token.text + "\"";
    case TokenKind::kInteger:
    case TokenKind::kFloating:
      return "a number";
    case TokenKind::kCText:
      return "a C text";
    case TokenKind::kText:
      return "a text";
    case TokenKind::kAt:
      return "\"@\"";
    case TokenKind::kLeftBracket:
      return "\"[\"";
    case TokenKind::kRightBracket:
      return "\"]\"";
    case TokenKind::kLeftParen:
      return "\"(\"";
    case TokenKind::kRightParen:
      return "\")\"";
    case TokenKind::kLeftBrace:
      return "\"{\"";
    case TokenKind::kRightBrace:
      return "\"}\"";
    case TokenKind::kComma:
      return "\",\"";
    case TokenKind::kColon:
      return "\":\"";
    case TokenKind::kSemicolon:
      return "\";\"";
    case TokenKind::kEquals:
      return "\"=\"";
    case TokenKind::kMinus:
      return "\"-\"";
    case TokenKind::kLineBreak:
      return "the end of the line";
    case TokenKind::kEnd:
      return "the end of the input";
  }
  return "a token";
}

}  // namespace console
