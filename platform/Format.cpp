#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace ox {
namespace {

// Widths and precisions above this are refused instead of allocated.
constexpr int kMaxField = 65535;
// Significant digits a floating-point value is converted with before rounding.
constexpr int kMaxDigits = 18;
// The framework quotes at most this many bytes of a failing format.
constexpr std::size_t kQuotedLength = 31;

// The first bytes of the format, not ending inside a two-byte character.
std::string QuotedFormat(std::string_view format) {
  std::size_t length = 0;
  while (length < format.size()) {
    const std::size_t next = length + NarrowCharLength(format, length);
    if (next > kQuotedLength) break;
    length = next;
  }
  return std::string(format.substr(0, length));
}

[[noreturn]] void InvalidFormat(std::string_view format) {
  throw EConvertError("Format '" + QuotedFormat(format) +
                      "' invalid or incompatible with argument");
}

[[noreturn]] void MissingArgument(std::string_view format) {
  throw EConvertError("No argument for format '" + QuotedFormat(format) + "'");
}

// A value as 0.digits * 10^exponent; no digits is zero. Digits carry no trailing zeros.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

void StripTrailingZeros(Decimal& d) {
  while (!d.digits.empty() && d.digits.back() == '0')
    d.digits.pop_back();
  if (d.digits.empty()) {
    d.negative = false;
    d.exponent = 0;
  }
}

// The value's digits, correctly rounded to kMaxDigits significant digits.
Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0) {
    d.negative = false;
    return d;
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*e", kMaxDigits - 1, std::fabs(value));
  const std::string_view text = buffer;
  const std::size_t e = text.find('e');
  d.digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
  d.exponent = std::atoi(buffer + e + 1) + 1;
  StripTrailingZeros(d);
  return d;
}

// Keeps `count` significant digits, rounding half away from zero; none left is zero.
void RoundTo(Decimal& d, int count) {
  if (count >= static_cast<int>(d.digits.size())) return;
  if (count < 0) {
    d.digits.clear();
    StripTrailingZeros(d);
    return;
  }
  const bool up = d.digits[count] >= '5';
  d.digits.resize(count);
  if (up) {
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9')
      d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  StripTrailingZeros(d);
}

// The digit at position `pos` counted from the first significant digit; 0 outside.
char DigitAt(const Decimal& d, int pos) {
  return pos >= 0 && pos < static_cast<int>(d.digits.size()) ? d.digits[pos] : '0';
}

std::string Signed(const Decimal& d, std::string text) {
  return d.negative ? "-" + text : text;
}

// "E", the sign ("+" only when asked) and at least three digits.
std::string ExponentPart(int exponent, bool plusSign) {
  std::string digits = std::to_string(std::abs(exponent));
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  const char* sign = exponent < 0 ? "-" : (plusSign ? "+" : "");
  return "E" + std::string(sign) + digits;
}

// d.ddd with at least `minDigits` digits, then the exponent.
std::string Scientific(const Decimal& d, int minDigits, bool plusSign) {
  const int count = std::max(minDigits, static_cast<int>(d.digits.size()));
  std::string mantissa(1, DigitAt(d, 0));
  if (count > 1) {
    mantissa += '.';
    for (int i = 1; i < count; ++i)
      mantissa += DigitAt(d, i);
  }
  const int exponent = d.digits.empty() ? 0 : d.exponent - 1;
  return Signed(d, mantissa + ExponentPart(exponent, plusSign));
}

std::string IntegerDigits(const Decimal& d, bool thousands) {
  if (d.exponent <= 0) return "0";
  std::string text;
  for (int i = 0; i < d.exponent; ++i) {
    if (thousands && i > 0 && (d.exponent - i) % 3 == 0) text += ',';
    text += DigitAt(d, i);
  }
  return text;
}

std::string Fixed(double value, int decimals, bool thousands) {
  Decimal d = ToDecimal(value);
  RoundTo(d, d.exponent + decimals);
  if (d.exponent > kMaxDigits) return Scientific(ToDecimal(value), kMaxDigits, true);
  std::string text = IntegerDigits(d, thousands);
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i)
      text += DigitAt(d, d.exponent + i);
  }
  return Signed(d, std::move(text));
}

std::string Exponent(double value, int precision) {
  Decimal d = ToDecimal(value);
  RoundTo(d, precision);
  return Scientific(d, precision, true);
}

std::string General(double value, int precision) {
  Decimal d = ToDecimal(value);
  RoundTo(d, precision);
  if (d.digits.empty()) return "0";
  if (d.exponent > precision || d.exponent < -3) return Scientific(d, 1, false);
  const int size = static_cast<int>(d.digits.size());
  std::string text = IntegerDigits(d, false);
  if (size > d.exponent) {
    text += '.';
    for (int i = std::min(d.exponent, 0); i < 0; ++i)
      text += '0';
    text += d.digits.substr(std::max(d.exponent, 0));
  }
  return Signed(d, std::move(text));
}

// The currency sign of the regional settings that go with the system code page.
std::string CurrencySign() {
  switch (GetACP()) {
    case 936:
      return Gb("￥");
    case 950:
      return "NT$";
    default:
      return "$";
  }
}

std::string Currency(double value, int decimals) {
  const std::string number = Fixed(value, decimals, true);
  if (number.front() == '-') return "-" + CurrencySign() + number.substr(1);
  return CurrencySign() + number;
}

std::string FloatText(char type, double value, std::optional<int> precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  const int decimals = std::min(precision.value_or(2), kMaxDigits);
  const int digits = std::clamp(precision.value_or(15), 1, kMaxDigits);
  switch (type) {
    case 'E':
      return Exponent(value, digits);
    case 'F':
      return Fixed(value, decimals, false);
    case 'G':
      return General(value, digits);
    case 'N':
      return Fixed(value, decimals, true);
    default:
      return Currency(value, decimals);
  }
}

std::string ZeroPadded(std::string digits, std::optional<int> precision) {
  const auto length = static_cast<std::size_t>(precision.value_or(0));
  if (digits.size() < length) digits.insert(0, length - digits.size(), '0');
  return digits;
}

std::string Hex(std::uint64_t value) {
  char buffer[20];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
  return buffer;
}

// Formats one specifier after another, keeping the argument counter.
class Formatter {
 public:
  Formatter(std::string_view format, std::span<const Variant> args)
      : format_(format), args_(args) {}

  std::string Run() {
    std::string result;
    while (pos_ < format_.size()) {
      const std::size_t percent = format_.find('%', pos_);
      result.append(format_.substr(pos_, percent - pos_));
      if (percent == std::string_view::npos) break;
      pos_ = percent + 1;
      if (Peek() == '%') {
        result += '%';
        ++pos_;
      } else {
        result += Specifier();
      }
    }
    return result;
  }

 private:
  char Peek() const { return pos_ < format_.size() ? format_[pos_] : '\0'; }

  const Variant& NextArgument() {
    if (next_ >= args_.size()) MissingArgument(format_);
    return args_[next_++];
  }

  // A decimal number or "*" (an integer argument); nothing when neither is there.
  std::optional<int> Number() {
    if (Peek() == '*') {
      ++pos_;
      const Variant& arg = NextArgument();
      const std::uint16_t type = arg.type();
      if (type != varInteger && type != varInt64 && type != varBoolean) InvalidFormat(format_);
      const std::int64_t value = arg.asInt64();
      if (value > kMaxField) InvalidFormat(format_);
      // A negative count is no count.
      return value < 0 ? std::nullopt : std::optional<int>(static_cast<int>(value));
    }
    if (Peek() < '0' || Peek() > '9') return std::nullopt;
    int value = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      value = value * 10 + (format_[pos_++] - '0');
      if (value > kMaxField) InvalidFormat(format_);
    }
    return value;
  }

  std::string Specifier() {
    std::optional<int> width = Number();
    if (Peek() == ':') {
      ++pos_;
      next_ = static_cast<std::size_t>(width.value_or(0));
      width.reset();
    }
    bool left = false;
    if (!width) {
      left = Peek() == '-';
      if (left) ++pos_;
      width = Number();
    }
    std::optional<int> precision;
    if (Peek() == '.') {
      ++pos_;
      // "." without digits is precision 0; a negative "*" is none.
      const bool star = Peek() == '*';
      precision = Number();
      if (!precision && !star) precision = 0;
    }
    if (pos_ >= format_.size()) InvalidFormat(format_);
    const char type = UpperAscii(format_[pos_++]);
    std::string text = Convert(type, NextArgument(), precision);
    const auto size = static_cast<std::size_t>(width.value_or(0));
    if (text.size() < size) text.insert(left ? text.size() : 0, size - text.size(), ' ');
    return text;
  }

  std::string Convert(char type, const Variant& arg, std::optional<int> precision) const {
    const std::uint16_t kind = arg.type();
    const bool integer = kind == varInteger || kind == varInt64 || kind == varBoolean;
    const bool floating = kind == varDouble || kind == varDate;
    const bool text = arg.isText() || arg.isEmpty();
    switch (type) {
      case 'D':
      case 'U':
      case 'X':
      case 'P':
        if (!integer) break;
        return IntegerText(type, arg.asInt64(), kind == varInt64, precision);
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M':
        if (!floating) break;
        return FloatText(type, arg.asDouble(), precision);
      case 'S':
        if (!text) break;
        return StringText(arg.asString(), precision);
      default:
        break;
    }
    InvalidFormat(format_);
  }

  static std::string IntegerText(char type, std::int64_t value, bool wide,
                                 std::optional<int> precision) {
    // u, x and p read the bits of the integer as unsigned, 32 of them unless it is wide.
    const std::uint64_t bits =
        wide ? static_cast<std::uint64_t>(value) : static_cast<std::uint32_t>(value);
    switch (type) {
      case 'D': {
        const std::uint64_t magnitude =
            value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        const std::string digits = ZeroPadded(std::to_string(magnitude), precision);
        return value < 0 ? "-" + digits : digits;
      }
      case 'U':
        return ZeroPadded(std::to_string(bits), precision);
      case 'X':
        return ZeroPadded(Hex(bits), precision);
      default:
        return ZeroPadded(Hex(bits), 8);
    }
  }

  static std::string StringText(std::string text, std::optional<int> precision) {
    if (precision && static_cast<std::size_t>(*precision) < text.size()) text.resize(*precision);
    return text;
  }

  std::string_view format_;
  std::span<const Variant> args_;
  std::size_t pos_ = 0;
  std::size_t next_ = 0;
};

}  // namespace

std::string Format(std::string_view format, std::span<const Variant> args) {
  return Formatter(format, args).Run();
}

}  // namespace ox
