#include "tools/console/parser.h"

#include <string>
#include <utility>

#include "tools/console/c_functions.h"
#include "tools/console/lexer.h"

namespace console {
namespace {

// Unwinds the recursive descent at the first error.
struct Failure {
  SyntaxError error;
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  std::vector<Statement> program() {
    std::vector<Statement> statements;
    while (true) {
      while (peek().kind == TokenKind::kSemicolon || peek().kind == TokenKind::kLineBreak) take();
      if (peek().kind == TokenKind::kEnd) return statements;
      statements.push_back(statement());
      const Token& after = peek();
      if (after.kind != TokenKind::kSemicolon && after.kind != TokenKind::kLineBreak &&
          after.kind != TokenKind::kEnd) {
        fail(after, "expected the end of the statement, found " + describe(after));
      }
    }
  }

 private:
  // Inside brackets a line break is only a blank.
  const Token& peek() {
    if (depth_ > 0) {
      while (tokens_[next_].kind == TokenKind::kLineBreak) ++next_;
    }
    return tokens_[next_];
  }
  const Token& peek_second() {
    peek();
    std::size_t at = next_ + 1;
    if (depth_ > 0) {
      while (at < tokens_.size() && tokens_[at].kind == TokenKind::kLineBreak) ++at;
    }
    return tokens_[at < tokens_.size() ? at : tokens_.size() - 1];
  }
  Token take() {
    peek();
    Token token = tokens_[next_];
    if (token.kind != TokenKind::kEnd) ++next_;
    return token;
  }
  [[noreturn]] static void fail(const Token& at, std::string message) {
    throw Failure{SyntaxError{at.position, std::move(message)}};
  }
  Token expect(TokenKind kind, const char* what) {
    if (peek().kind != kind)
      fail(peek(), std::string("expected ") + what + ", found " + describe(peek()));
    return take();
  }

  // Brackets, parentheses and braces nest through this guard.
  class Nesting {
   public:
    Nesting(Parser& parser, const Token& at) : parser_(parser) {
      if (++parser_.depth_ > kMaxNesting) fail(at, "expression is nested too deeply");
    }
    ~Nesting() { --parser_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& parser_;
  };

  Statement statement() {
    Statement result;
    result.position = peek().position;
    if (peek().kind == TokenKind::kIdentifier && peek_second().kind == TokenKind::kEquals) {
      const Token name = take();
      if (is_reserved(name.text)) fail(name, "cannot assign to \"" + name.text + "\"");
      take();
      result.target = name.text;
    }
    result.value = expression();
    return result;
  }

  static bool is_reserved(const std::string& name) {
    return name == "YES" || name == "NO" || name == "nil" || name == "Nil" || name == "NULL" ||
           is_function_name(name);
  }

  template <typename Node>
  static ExpressionPtr make(Position at, Node node) {
    auto expression = std::make_unique<Expression>();
    expression->position = at;
    expression->node = std::move(node);
    return expression;
  }

  ExpressionPtr expression() {
    const Token& token = peek();
    switch (token.kind) {
      case TokenKind::kLeftBracket:
        return send();
      case TokenKind::kInteger:
      case TokenKind::kFloating:
      case TokenKind::kMinus:
        return number();
      case TokenKind::kCText: {
        const Position at = token.position;
        return make(at, CTextLiteral{adjacent_texts(TokenKind::kCText)});
      }
      case TokenKind::kText: {
        const Position at = token.position;
        return make(at, TextLiteral{adjacent_texts(TokenKind::kText)});
      }
      case TokenKind::kAt:
        return at_literal();
      case TokenKind::kIdentifier:
        return name();
      case TokenKind::kLeftParen: {
        const Token open = take();
        Nesting nesting(*this, open);
        ExpressionPtr inner = expression();
        expect(TokenKind::kRightParen, "\")\"");
        return inner;
      }
      default:
        fail(token, "expected an expression, found " + describe(token));
    }
  }

  // "a" "b" is one text, as in C.
  std::string adjacent_texts(TokenKind kind) {
    std::string text;
    while (peek().kind == kind) text += take().text;
    return text;
  }

  ExpressionPtr number() {
    const Position at = peek().position;
    const bool negative = peek().kind == TokenKind::kMinus;
    if (negative) {
      take();
      if (peek().kind != TokenKind::kInteger && peek().kind != TokenKind::kFloating) {
        fail(peek(), "expected a number after \"-\", found " + describe(peek()));
      }
    }
    const Token token = take();
    if (token.kind == TokenKind::kInteger) {
      return make(at, IntegerLiteral{token.magnitude, negative && token.magnitude != 0});
    }
    return make(at, FloatLiteral{negative ? -token.number : token.number, token.single});
  }

  ExpressionPtr name() {
    const Token token = take();
    const std::string& text = token.text;
    if (text == "YES" || text == "NO") return make(token.position, BoolLiteral{text == "YES"});
    if (text == "nil" || text == "Nil" || text == "NULL") return make(token.position, NilLiteral{});
    if (peek().kind == TokenKind::kLeftParen) {
      if (!is_function_name(text)) fail(token, "unknown function \"" + text + "\"");
      const Token open = take();
      Nesting nesting(*this, open);
      FunctionCall maker{text, {}};
      if (peek().kind != TokenKind::kRightParen) {
        maker.arguments.push_back(expression());
        while (peek().kind == TokenKind::kComma) {
          take();
          maker.arguments.push_back(expression());
        }
      }
      expect(TokenKind::kRightParen, "\",\" or \")\"");
      return make(token.position, std::move(maker));
    }
    return make(token.position, Name{text});
  }

  ExpressionPtr send() {
    const Token open = take();
    Nesting nesting(*this, open);
    Send message;
    message.receiver = expression();
    const Token& first = peek();
    if (first.kind == TokenKind::kIdentifier && peek_second().kind != TokenKind::kColon) {
      message.selector = take().text;
    } else if (first.kind == TokenKind::kIdentifier || first.kind == TokenKind::kColon) {
      while (peek().kind == TokenKind::kColon ||
             (peek().kind == TokenKind::kIdentifier && peek_second().kind == TokenKind::kColon)) {
        if (peek().kind == TokenKind::kIdentifier) message.selector += take().text;
        take();
        message.selector += ':';
        message.arguments.push_back(expression());
      }
      while (peek().kind == TokenKind::kComma) {
        take();
        message.arguments.push_back(expression());
      }
    } else {
      fail(first, "expected a selector, found " + describe(first));
    }
    expect(TokenKind::kRightBracket, "\"]\"");
    return make(open.position, std::move(message));
  }

  ExpressionPtr at_literal() {
    const Token at = take();
    const Token& token = peek();
    switch (token.kind) {
      case TokenKind::kInteger:
      case TokenKind::kFloating:
      case TokenKind::kMinus:
        return make(at.position, BoxedLiteral{number()});
      case TokenKind::kLeftParen: {
        const Token open = take();
        Nesting nesting(*this, open);
        ExpressionPtr inner = expression();
        expect(TokenKind::kRightParen, "\")\"");
        return make(at.position, BoxedLiteral{std::move(inner)});
      }
      case TokenKind::kLeftBracket: {
        const Token open = take();
        Nesting nesting(*this, open);
        ArrayLiteral array;
        while (peek().kind != TokenKind::kRightBracket) {
          array.elements.push_back(expression());
          if (peek().kind != TokenKind::kComma) break;
          take();
        }
        expect(TokenKind::kRightBracket, "\",\" or \"]\"");
        return make(at.position, std::move(array));
      }
      case TokenKind::kLeftBrace: {
        const Token open = take();
        Nesting nesting(*this, open);
        DictionaryLiteral dictionary;
        while (peek().kind != TokenKind::kRightBrace) {
          ExpressionPtr key = expression();
          expect(TokenKind::kColon, "\":\"");
          dictionary.entries.emplace_back(std::move(key), expression());
          if (peek().kind != TokenKind::kComma) break;
          take();
        }
        expect(TokenKind::kRightBrace, "\",\" or \"}\"");
        return make(at.position, std::move(dictionary));
      }
      case TokenKind::kIdentifier:
        if (token.text == "YES" || token.text == "NO") {
          const Token word = take();
          return make(at.position,
                      BoxedLiteral{make(word.position, BoolLiteral{word.text == "YES"})});
        }
        if (token.text == "selector") return selector(at);
        break;
      default:
        break;
    }
    fail(token,
         "expected a number, YES, NO, \"(\", \"[\", \"{\" or \"selector\" after \"@\", found " +
             describe(token));
  }

  // @selector(name), @selector(key:other:)
  ExpressionPtr selector(const Token& at) {
    take();
    const Token open = expect(TokenKind::kLeftParen, "\"(\"");
    Nesting nesting(*this, open);
    std::string name;
    if (peek().kind == TokenKind::kIdentifier && peek_second().kind != TokenKind::kColon) {
      name = take().text;
    } else {
      while (peek().kind == TokenKind::kColon ||
             (peek().kind == TokenKind::kIdentifier && peek_second().kind == TokenKind::kColon)) {
        if (peek().kind == TokenKind::kIdentifier) name += take().text;
        take();
        name += ':';
      }
      if (name.empty()) fail(peek(), "expected a selector, found " + describe(peek()));
    }
    expect(TokenKind::kRightParen, "\")\"");
    return make(at.position, SelectorLiteral{std::move(name)});
  }

  std::vector<Token> tokens_;
  std::size_t next_ = 0;
  int depth_ = 0;
};

}  // namespace

bool is_function_name(std::string_view name) {
  return is_struct_maker(name) || find_c_function(name) != nullptr;
}

bool is_struct_maker(std::string_view name) {
  return name == "CGRectMake" || name == "CGSizeMake" || name == "CGPointMake" ||
         name == "NSMakeRange";
}

Result<std::vector<Statement>> parse(std::string_view source) {
  auto tokens = tokenize(source);
  if (!tokens) return tokens.error();
  try {
    return Parser(std::move(*tokens)).program();
  } catch (const Failure& failure) {
    return failure.error;
  }
}

}  // namespace console
