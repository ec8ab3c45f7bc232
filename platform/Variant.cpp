#include "platform/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"

namespace ox {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// True when the whole text is a decimal number: sign, digits with an optional
// fraction, optional exponent.
bool IsDecimalNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i]))
    ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i]))
      ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i]))
      ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == text.size();
}

Variant EmptyElementOf(std::uint16_t elementType) {
  switch (elementType) {
    case varSmallint:
    case varInteger:
    case varByte:
      return Variant(0);
    case varInt64:
      return Variant(std::int64_t{0});
    case varSingle:
    case varDouble:
    case varCurrency:
      return Variant(0.0);
    case varDate:
      return Variant::FromDate(0);
    case varBoolean:
      return Variant(false);
    case varOleStr:
      return Variant(std::u16string());
    case varString:
      return Variant(std::string());
    default:
      return Variant();
  }
}

[[noreturn]] void BadIndex() {
  throw EVariantBadIndexError("Variant or safe array index out of bounds");
}

}  // namespace

// ---- Variant ---------------------------------------------------------------

Variant::ArrayBox::ArrayBox(VarArray&& a) : array(std::make_unique<VarArray>(std::move(a))) {}
Variant::ArrayBox::ArrayBox(const ArrayBox& other)
    : array(std::make_unique<VarArray>(*other.array)) {}
Variant::ArrayBox& Variant::ArrayBox::operator=(const ArrayBox& other) {
  if (this != &other) array = std::make_unique<VarArray>(*other.array);
  return *this;
}
Variant::ArrayBox::~ArrayBox() = default;

Variant::Variant(VarArray array) : value_(ArrayBox(std::move(array))) {}

Variant Variant::FromDate(TDateTime value) {
  Variant v;
  v.value_ = DateValue{value};
  return v;
}

std::uint16_t Variant::type() const {
  switch (value_.index()) {
    case kEmpty:
      return varEmpty;
    case kNull:
      return varNull;
    case kInt32:
      return varInteger;
    case kInt64:
      return varInt64;
    case kBool:
      return varBoolean;
    case kDouble:
      return varDouble;
    case kDate:
      return varDate;
    case kNarrow:
      return varString;
    case kWide:
      return varOleStr;
    case kObject:
      return varDispatch;
    default:
      return static_cast<std::uint16_t>(varArray | array().elementType());
  }
}

bool Variant::isNumeric() const {
  const auto i = value_.index();
  return i == kInt32 || i == kInt64 || i == kBool || i == kDouble;
}

void Variant::CastError(std::uint16_t wanted) const {
  throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(type()) +
                              ") into type (" + VarTypeAsText(wanted) + ")");
}

// The value as a double, for the numeric conversions; `wanted` names the target
// type in the error.
double Variant::NumberOf(std::uint16_t wanted) const {
  switch (value_.index()) {
    case kEmpty:
      return 0;
    case kInt32:
      return std::get<std::int32_t>(value_);
    case kInt64:
      return static_cast<double>(std::get<std::int64_t>(value_));
    case kBool:
      return std::get<bool>(value_) ? -1 : 0;
    case kDouble:
      return std::get<double>(value_);
    case kDate:
      return std::get<DateValue>(value_).value;
    case kNarrow:
    case kWide: {
      const std::string text = asString();
      std::int64_t whole = 0;
      if (TryStrToInt64(text, whole)) return static_cast<double>(whole);
      double number = 0;
      if (TryStrToFloat(text, number)) return number;
      break;
    }
    default:
      break;
  }
  CastError(wanted);
}

std::int64_t Variant::asInt64() const {
  if (const auto* n = std::get_if<std::int64_t>(&value_)) return *n;
  if (isText()) {
    std::int64_t whole = 0;
    if (TryStrToInt64(asString(), whole)) return whole;
  }
  const double number = std::nearbyint(NumberOf(varInt64));
  if (!(number >= -9223372036854775808.0 && number < 9223372036854775808.0))
    throw EVariantOverflowError("Overflow while converting variant of type (" +
                                VarTypeAsText(type()) + ") into type (Int64)");
  return static_cast<std::int64_t>(number);
}

std::int32_t Variant::asInteger() const {
  if (const auto* n = std::get_if<std::int32_t>(&value_)) return *n;
  const std::int64_t wide = asInt64();
  if (wide < std::numeric_limits<std::int32_t>::min() ||
      wide > std::numeric_limits<std::int32_t>::max())
    throw EVariantOverflowError("Overflow while converting variant of type (" +
                                VarTypeAsText(type()) + ") into type (Integer)");
  return static_cast<std::int32_t>(wide);
}

double Variant::asDouble() const {
  return NumberOf(varDouble);
}

bool Variant::asBoolean() const {
  if (const auto* b = std::get_if<bool>(&value_)) return *b;
  if (isText()) {
    const std::string text = asString();
    if (SameTextAscii(TrimBlanks(text), "true")) return true;
    if (SameTextAscii(TrimBlanks(text), "false")) return false;
  }
  return NumberOf(varBoolean) != 0;
}

TDateTime Variant::asDate() const {
  if (const auto* d = std::get_if<DateValue>(&value_)) return d->value;
  if (isText()) {
    TDateTime date = 0;
    if (TryStrToDateTime(asString(), date)) return date;
  }
  return NumberOf(varDate);
}

std::string Variant::asString() const {
  switch (value_.index()) {
    case kEmpty:
      return {};
    case kInt32:
      return std::to_string(std::get<std::int32_t>(value_));
    case kInt64:
      return std::to_string(std::get<std::int64_t>(value_));
    case kBool:
      return std::get<bool>(value_) ? "True" : "False";
    case kDouble:
      return FloatToStr(std::get<double>(value_));
    case kDate:
      return DateTimeToStr(std::get<DateValue>(value_).value);
    case kNarrow:
      return std::get<std::string>(value_);
    case kWide:
      return WideToMultiByte(GetACP(), std::get<std::u16string>(value_));
    default:
      CastError(varString);
  }
}

std::u16string Variant::asWide() const {
  if (const auto* wide = wideText()) return *wide;
  return MultiByteToWide(GetACP(), asString());
}

DispatchPtr Variant::asObject() const {
  if (isEmpty()) return nullptr;
  if (const auto* object = std::get_if<DispatchPtr>(&value_)) return *object;
  CastError(varDispatch);
}

VarArray& Variant::array() {
  if (auto* box = std::get_if<ArrayBox>(&value_)) return *box->array;
  throw EVariantNotAnArrayError("Variant is not an array");
}

const VarArray& Variant::array() const {
  if (const auto* box = std::get_if<ArrayBox>(&value_)) return *box->array;
  throw EVariantNotAnArrayError("Variant is not an array");
}

Variant& Variant::operator[](int index) {
  return array().at(index);
}
const Variant& Variant::operator[](int index) const {
  return array().at(index);
}
Variant& Variant::operator()(int row, int column) {
  return array().at(row, column);
}
const Variant& Variant::operator()(int row, int column) const {
  return array().at(row, column);
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.isNumeric() || a.value_.index() == Variant::kDate)
    return (b.isNumeric() || b.value_.index() == Variant::kDate) &&
           a.NumberOf(varDouble) == b.NumberOf(varDouble);
  if (a.isText()) {
    if (!b.isText()) return false;
    if (a.isNarrowText() && b.isNarrowText()) return *a.narrowText() == *b.narrowText();
    return a.asWide() == b.asWide();
  }
  if (a.value_.index() != b.value_.index()) return false;
  if (a.isArray()) return a.array() == b.array();
  if (a.isObject()) return std::get<DispatchPtr>(a.value_) == std::get<DispatchPtr>(b.value_);
  return true;  // Empty or Null on both sides
}

// ---- VarArray --------------------------------------------------------------

VarArray::VarArray(std::vector<VarBounds> bounds, std::uint16_t elementType)
    : bounds_(std::move(bounds)), elementType_(elementType) {
  std::size_t count = 1;
  if (bounds_.empty() || bounds_.size() > 2)
    throw EVariantBadIndexError("Error creating variant or safe array");
  for (const VarBounds& b : bounds_) {
    if (b.high < b.low - 1) throw EVariantBadIndexError("Error creating variant or safe array");
    count *= static_cast<std::size_t>(b.count());
  }
  elements_.assign(count, EmptyElementOf(elementType));
}

const VarBounds& VarArray::bounds(int dim) const {
  if (dim < 1 || dim > dimCount()) throw EVariantBadIndexError("Invalid variant array dimension");
  return bounds_[static_cast<std::size_t>(dim - 1)];
}

std::size_t VarArray::offset(int index) const {
  if (bounds_.size() != 1 || index < bounds_[0].low || index > bounds_[0].high) BadIndex();
  return static_cast<std::size_t>(index - bounds_[0].low);
}

std::size_t VarArray::offset(int row, int column) const {
  if (bounds_.size() != 2 || row < bounds_[0].low || row > bounds_[0].high ||
      column < bounds_[1].low || column > bounds_[1].high)
    BadIndex();
  return static_cast<std::size_t>(row - bounds_[0].low) *
             static_cast<std::size_t>(bounds_[1].count()) +
         static_cast<std::size_t>(column - bounds_[1].low);
}

Variant& VarArray::at(int index) {
  return elements_[offset(index)];
}
const Variant& VarArray::at(int index) const {
  return elements_[offset(index)];
}
Variant& VarArray::at(int row, int column) {
  return elements_[offset(row, column)];
}
const Variant& VarArray::at(int row, int column) const {
  return elements_[offset(row, column)];
}

void VarArray::redim(int highBound) {
  VarBounds& last = bounds_.back();
  if (highBound < last.low - 1) BadIndex();
  const VarBounds old = last;
  last.high = highBound;
  if (bounds_.size() == 1) {
    elements_.resize(static_cast<std::size_t>(last.count()), EmptyElementOf(elementType_));
    return;
  }
  const auto rows = static_cast<std::size_t>(bounds_[0].count());
  const auto oldColumns = static_cast<std::size_t>(old.count());
  const auto newColumns = static_cast<std::size_t>(last.count());
  std::vector<Variant> resized(rows * newColumns, EmptyElementOf(elementType_));
  for (std::size_t r = 0; r < rows; ++r)
    for (std::size_t c = 0; c < std::min(oldColumns, newColumns); ++c)
      resized[r * newColumns + c] = std::move(elements_[r * oldColumns + c]);
  elements_ = std::move(resized);
}

// ---- free functions --------------------------------------------------------

Variant VarArrayCreate(std::initializer_list<int> bounds, std::uint16_t elementType) {
  if (bounds.size() != 2 && bounds.size() != 4)
    throw EVariantBadIndexError("Error creating variant or safe array");
  std::vector<VarBounds> dims;
  for (auto it = bounds.begin(); it != bounds.end(); it += 2)
    dims.push_back({*it, *(it + 1)});
  return Variant(VarArray(std::move(dims), elementType));
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
  VarArray array({{0, static_cast<int>(values.size()) - 1}}, varVariant);
  std::copy(values.begin(), values.end(), array.elements().begin());
  return Variant(std::move(array));
}

int VarArrayDimCount(const Variant& v) {
  return v.isArray() ? v.array().dimCount() : 0;
}
int VarArrayLowBound(const Variant& v, int dim) {
  return v.array().bounds(dim).low;
}
int VarArrayHighBound(const Variant& v, int dim) {
  return v.array().bounds(dim).high;
}
void VarArrayRedim(Variant& v, int highBound) {
  v.array().redim(highBound);
}

std::string VarToStr(const Variant& v) {
  return v.isNull() ? std::string() : v.asString();
}

std::string VarTypeAsText(std::uint16_t type) {
  if (type & varArray) return "Array " + VarTypeAsText(type & varTypeMask);
  switch (type) {
    case varEmpty:
      return "Empty";
    case varNull:
      return "Null";
    case varSmallint:
      return "Smallint";
    case varInteger:
      return "Integer";
    case varSingle:
      return "Single";
    case varDouble:
      return "Double";
    case varCurrency:
      return "Currency";
    case varDate:
      return "Date";
    case varOleStr:
      return "OleStr";
    case varDispatch:
      return "Dispatch";
    case varError:
      return "Error";
    case varBoolean:
      return "Boolean";
    case varVariant:
      return "Variant";
    case varUnknown:
      return "Unknown";
    case varByte:
      return "Byte";
    case varInt64:
      return "Int64";
    case varString:
      return "String";
    default:
      return "Unknown";
  }
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  // "1.5E-07" is written "1.5E-7", "1E+20" is written "1E20".
  const std::size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::string mantissa = text.substr(0, e);
  const bool negative = text[e + 1] == '-';
  std::size_t digits = e + 2;
  while (digits + 1 < text.size() && text[digits] == '0')
    ++digits;
  return mantissa + (negative ? "E-" : "E") + text.substr(digits);
}

bool TryStrToFloat(std::string_view text, double& out) {
  text = TrimBlanks(text);
  if (!IsDecimalNumber(text)) return false;
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  out = value;
  return true;
}

bool TryStrToInt64(std::string_view text, std::int64_t& out) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return false;
  std::uint64_t magnitude = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  const std::uint64_t limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
  if (magnitude > limit) return false;
  out = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

}  // namespace ox
