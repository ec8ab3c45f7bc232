#include "ui/FormParser.h"

#include <charconv>
#include <optional>
#include <utility>

#include "platform/AsciiText.h"

namespace ox {

std::string PositionText(SourcePos pos) {
  return " at line " + std::to_string(pos.line) + ", column " + std::to_string(pos.column);
}

EParserError::EParserError(const std::string& reason, int line, int column)
    : Exception(reason + PositionText({line, column})), line_(line), column_(column) {}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsIdentChar(char c) {
  return IsIdentStart(c) || IsDigit(c);
}

// A character for messages: printable ASCII as itself, any other byte by its code.
std::string Describe(char c) {
  if (c > ' ' && c < '\x7f') return std::string("'") + c + "'";
  constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return std::string("$") + kHex[byte >> 4] + kHex[byte & 15];
}

void AppendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out += static_cast<char16_t>(code);
    return;
  }
  code -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (code >> 10));
  out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

enum class TokenKind { End, Identifier, Integer, Float, String, Symbol };

struct Token {
  TokenKind kind = TokenKind::End;
  SourcePos pos;
  char symbol = 0;
  std::string identifier;  // dotted names are one token
  std::int64_t integer = 0;
  double number = 0;
  std::u16string text;  // the adjacent pieces of a string, joined
};

// Splits the text into tokens and keeps the line and column of each.
class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  Token Next();
  // Reads the hexadecimal pairs and the "}" after a "{" token found at `open`.
  std::string ReadBinary(SourcePos open);

  [[noreturn]] static void Fail(const std::string& reason, SourcePos pos) {
    throw EParserError(reason, pos.line, pos.column);
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  // The byte `ahead` places on; NUL past the end (NUL starts no token).
  char Peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  SourcePos Here() const { return {line_, column_}; }
  void Advance(std::size_t count = 1);
  void SkipBlanks();
  Token ReadIdentifier();
  Token ReadNumber();
  Token ReadString();
  void ReadQuoted(std::u16string& out);
  void ReadCharCode(std::u16string& out);
  char32_t ReadUtf8();

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int column_ = 1;
};

void Lexer::Advance(std::size_t count) {
  for (; count > 0 && !AtEnd(); --count) {
    const auto byte = static_cast<unsigned char>(text_[pos_++]);
    if (byte == '\n') {
      ++line_;
      column_ = 1;
    } else if ((byte & 0xC0) != 0x80) {  // continuation bytes share their character's column
      ++column_;
    }
  }
}

void Lexer::SkipBlanks() {
  while (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n')
    Advance();
}

Token Lexer::Next() {
  SkipBlanks();
  Token token;
  token.pos = Here();
  if (AtEnd()) return token;
  const char c = Peek();
  if (IsIdentStart(c)) return ReadIdentifier();
  const bool sign = (c == '-' || c == '+') && (IsDigit(Peek(1)) || Peek(1) == '$');
  if (IsDigit(c) || c == '$' || sign) return ReadNumber();
  if (c == '\'' || c == '#') return ReadString();
  if (std::string_view("=:[](),<>{}+").find(c) != std::string_view::npos) {
    token.kind = TokenKind::Symbol;
    token.symbol = c;
    Advance();
    return token;
  }
  Fail("Unexpected character " + Describe(c), token.pos);
}

Token Lexer::ReadIdentifier() {
  Token token;
  token.kind = TokenKind::Identifier;
  token.pos = Here();
  const std::size_t begin = pos_;
  for (;;) {
    while (IsIdentChar(Peek()))
      Advance();
    if (Peek() != '.' || !IsIdentStart(Peek(1))) break;
    Advance();
  }
  token.identifier = text_.substr(begin, pos_ - begin);
  return token;
}

Token Lexer::ReadNumber() {
  Token token;
  token.kind = TokenKind::Integer;
  token.pos = Here();
  const bool negative = Peek() == '-';
  if (Peek() == '-' || Peek() == '+') Advance();
  const std::size_t begin = pos_;
  if (Peek() == '$') {
    Advance();
    std::uint64_t value = 0;
    int digits = 0;
    for (; HexDigitValue(Peek()) >= 0; Advance()) {
      if (++digits > 16) Fail("Hexadecimal number out of range", token.pos);
      value = value * 16 + static_cast<std::uint64_t>(HexDigitValue(Peek()));
    }
    if (digits == 0) Fail("Expected hexadecimal digits after '$'", token.pos);
    // 16 digits give every bit pattern of the 64-bit integer.
    token.integer = static_cast<std::int64_t>(negative ? 0 - value : value);
  } else {
    while (IsDigit(Peek()))
      Advance();
    if (Peek() == '.' && IsDigit(Peek(1))) {
      token.kind = TokenKind::Float;
      for (Advance(); IsDigit(Peek());)
        Advance();
    }
    const bool exponentSign = Peek(1) == '+' || Peek(1) == '-';
    if ((Peek() == 'e' || Peek() == 'E') && IsDigit(Peek(exponentSign ? 2 : 1))) {
      token.kind = TokenKind::Float;
      for (Advance(exponentSign ? 2 : 1); IsDigit(Peek());)
        Advance();
    }
    // from_chars takes the "-" but no "+".
    const std::string_view digits =
        text_.substr(negative ? begin - 1 : begin, pos_ - begin + (negative ? 1 : 0));
    const char* last = digits.data() + digits.size();
    const auto result = token.kind == TokenKind::Float
                            ? std::from_chars(digits.data(), last, token.number)
                            : std::from_chars(digits.data(), last, token.integer);
    if (result.ec != std::errc() || result.ptr != last) Fail("Number out of range", token.pos);
  }
  if (IsIdentChar(Peek()) || Peek() == '.') Fail("Invalid number", token.pos);
  return token;
}

Token Lexer::ReadString() {
  Token token;
  token.kind = TokenKind::String;
  token.pos = Here();
  for (;;) {
    if (Peek() == '\'')
      ReadQuoted(token.text);
    else if (Peek() == '#')
      ReadCharCode(token.text);
    else
      return token;
  }
}

void Lexer::ReadQuoted(std::u16string& out) {
  const SourcePos open = Here();
  Advance();
  for (;;) {
    if (AtEnd() || Peek() == '\r' || Peek() == '\n') Fail("Unterminated string", open);
    if (Peek() == '\'') {
      Advance();
      if (Peek() != '\'') return;
      Advance();
      out += u'\'';
    } else {
      AppendUtf16(out, ReadUtf8());
    }
  }
}

void Lexer::ReadCharCode(std::u16string& out) {
  const SourcePos at = Here();
  Advance();
  std::uint32_t code = 0;
  int digits = 0;
  for (; IsDigit(Peek()); Advance(), ++digits) {
    code = code * 10 + static_cast<std::uint32_t>(Peek() - '0');
    if (code > 0xFFFF) Fail("Character code out of range", at);
  }
  if (digits == 0) Fail("Expected a character code after '#'", at);
  out += static_cast<char16_t>(code);
}

// Decodes one UTF-8 character, refusing overlong forms, surrogates and codes past
// U+10FFFF.
char32_t Lexer::ReadUtf8() {
  const SourcePos at = Here();
  const auto byte = [this](std::size_t ahead) { return static_cast<unsigned char>(Peek(ahead)); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    Advance();
    return lead;
  }
  std::size_t length = 0;
  char32_t code = 0;
  unsigned char low = 0x80;  // the range of the byte after the lead
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    Fail("Invalid UTF-8 text", at);
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byte(i);
    if (next < low || next > high) Fail("Invalid UTF-8 text", at);
    low = 0x80;
    high = 0xBF;
    code = (code << 6) | (next & 0x3F);
  }
  Advance(length);
  return code;
}

std::string Lexer::ReadBinary(SourcePos open) {
  std::string bytes;
  for (;;) {
    SkipBlanks();
    if (AtEnd()) Fail("Unterminated binary data", open);
    if (Peek() == '}') {
      Advance();
      return bytes;
    }
    const int high = HexDigitValue(Peek());
    const int low = HexDigitValue(Peek(1));
    if (high < 0) Fail("Invalid character " + Describe(Peek()) + " in binary data", Here());
    if (low < 0) Fail("Hexadecimal digits of binary data must come in pairs", Here());
    bytes += static_cast<char>(high * 16 + low);
    Advance(2);
  }
}

// A recursive-descent parser over the lexer's tokens with one token of look-ahead.
class Parser {
 public:
  explicit Parser(std::string_view text) : lexer_(text) { Next(); }

  FormObject ParseResource() {
    if (!ObjectKeyword()) Fail("Expected 'object', 'inherited' or 'inline'");
    FormObject top = ParseObject();
    if (token_.kind != TokenKind::End) Fail("Unexpected text after the end of the object");
    return top;
  }

 private:
  // Counts one level of nesting for the life of a nested construct.
  class Nesting {
   public:
    explicit Nesting(Parser& parser) : parser_(parser) {
      if (parser_.depth_ >= kMaxFormNesting)
        parser_.Fail("Objects and values nested deeper than " + std::to_string(kMaxFormNesting) +
                     " levels");
      ++parser_.depth_;
    }
    ~Nesting() { --parser_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& parser_;
  };

  void Next() { token_ = lexer_.Next(); }
  [[noreturn]] void Fail(const std::string& reason) const { Lexer::Fail(reason, token_.pos); }
  bool IsSymbol(char c) const { return token_.kind == TokenKind::Symbol && token_.symbol == c; }
  bool IsKeyword(std::string_view word) const {
    return token_.kind == TokenKind::Identifier && SameTextAscii(token_.identifier, word);
  }
  std::optional<FormObjectKind> ObjectKeyword() const;
  std::string ExpectName(const char* what);
  FormObject ParseObject();
  FormProperty ParseProperty();
  FormValue ParseValue();
  void ParseString(FormValue& value);
  void ParseSet(FormValue& value);
  void ParseList(FormValue& value);
  void ParseCollection(FormValue& value);

  Lexer lexer_;
  Token token_;
  int depth_ = 0;
};

std::optional<FormObjectKind> Parser::ObjectKeyword() const {
  if (IsKeyword("object")) return FormObjectKind::Object;
  if (IsKeyword("inherited")) return FormObjectKind::Inherited;
  if (IsKeyword("inline")) return FormObjectKind::Inline;
  return std::nullopt;
}

std::string Parser::ExpectName(const char* what) {
  if (token_.kind != TokenKind::Identifier || token_.identifier.find('.') != std::string::npos)
    Fail(std::string("Expected ") + what);
  std::string name = std::move(token_.identifier);
  Next();
  return name;
}

FormObject Parser::ParseObject() {
  const Nesting nesting(*this);
  FormObject object;
  object.kind = *ObjectKeyword();
  object.pos = token_.pos;
  Next();
  std::string first = ExpectName("an object name");
  if (IsSymbol(':')) {
    Next();
    object.name = std::move(first);
    object.className = ExpectName("a class name after ':'");
  } else {
    object.className = std::move(first);  // an unnamed object: "object TClass"
  }
  for (;;) {
    if (token_.kind == TokenKind::End)
      Fail("Missing 'end' of object " + (object.name.empty() ? object.className : object.name));
    if (IsKeyword("end")) {
      Next();
      return object;
    }
    if (ObjectKeyword())
      object.children.push_back(ParseObject());
    else
      object.properties.push_back(ParseProperty());
  }
}

FormProperty Parser::ParseProperty() {
  if (token_.kind != TokenKind::Identifier) Fail("Expected a property name, an object or 'end'");
  FormProperty property;
  property.name = std::move(token_.identifier);
  property.pos = token_.pos;
  Next();
  if (!IsSymbol('=')) Fail("Expected '=' after property name " + property.name);
  Next();
  property.value = ParseValue();
  return property;
}

FormValue Parser::ParseValue() {
  FormValue value;
  value.pos = token_.pos;
  switch (token_.kind) {
    case TokenKind::Integer:
      value.kind = FormValueKind::Integer;
      value.integer = token_.integer;
      Next();
      return value;
    case TokenKind::Float:
      value.kind = FormValueKind::Float;
      value.number = token_.number;
      Next();
      return value;
    case TokenKind::Identifier:
      value.kind = FormValueKind::Identifier;
      value.identifier = std::move(token_.identifier);
      Next();
      return value;
    case TokenKind::String:
      ParseString(value);
      return value;
    case TokenKind::Symbol:
      break;
    case TokenKind::End:
      Fail("Expected a value");
  }
  switch (token_.symbol) {
    case '[':
      ParseSet(value);
      return value;
    case '(':
      ParseList(value);
      return value;
    case '<':
      ParseCollection(value);
      return value;
    case '{':
      value.kind = FormValueKind::Binary;
      value.bytes = lexer_.ReadBinary(token_.pos);
      Next();
      return value;
    default:
      Fail("Expected a value");
  }
}

void Parser::ParseString(FormValue& value) {
  value.kind = FormValueKind::String;
  value.text = std::move(token_.text);
  Next();
  while (IsSymbol('+')) {
    Next();
    if (token_.kind != TokenKind::String) Fail("Expected a string after '+'");
    value.text += token_.text;
    Next();
  }
}

void Parser::ParseSet(FormValue& value) {
  value.kind = FormValueKind::Set;
  Next();
  if (IsSymbol(']')) {
    Next();
    return;
  }
  for (;;) {
    value.elements.push_back(ExpectName("a set element name"));
    if (IsSymbol(']')) {
      Next();
      return;
    }
    if (!IsSymbol(',')) Fail("Expected ',' or ']' in a set");
    Next();
  }
}

void Parser::ParseList(FormValue& value) {
  const Nesting nesting(*this);
  value.kind = FormValueKind::List;
  Next();
  while (!IsSymbol(')')) {
    if (token_.kind == TokenKind::End) Fail("Missing ')' at the end of a list");
    value.items.push_back(ParseValue());
  }
  Next();
}

void Parser::ParseCollection(FormValue& value) {
  const Nesting nesting(*this);
  value.kind = FormValueKind::Collection;
  Next();
  while (!IsSymbol('>')) {
    if (!IsKeyword("item")) Fail("Expected 'item' or '>' in a collection");
    FormItem item;
    item.pos = token_.pos;
    Next();
    while (!IsKeyword("end")) {
      if (token_.kind == TokenKind::End) Fail("Missing 'end' of a collection item");
      item.properties.push_back(ParseProperty());
    }
    Next();
    value.collection.push_back(std::move(item));
  }
  Next();
}

}  // namespace

FormObject ParseForm(std::string_view text) {
  return Parser(text).ParseResource();
}

}  // namespace ox
