// Variant: the self-describing value of automation calls, with the semantics the
// system relies on. It holds Empty (unassigned), Null, a 32- or 64-bit integer, a
// boolean, a double, a date-time, a narrow text (bytes in a code page), a wide text
// (UTF-16), a late-bound object, or an array of one or two dimensions with its own
// bounds whose elements are Variants again, nested to any depth.
//
// Variants are values: copying one copies its array. Conversions follow the automation
// rules: a number reads as its decimal text, a boolean true reads as -1 and as "True",
// a text converts to a number when the whole text is one, Empty reads as 0 or "" and
// Null reads as "" through VarToStr only. A conversion that cannot succeed raises
// EVariantTypeCastError; a number out of range raises EVariantOverflowError.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Machine.h"

namespace ox {

class DispatchObject;
using DispatchPtr = std::shared_ptr<DispatchObject>;

// Automation type codes, as VarType reports them.
enum VarTypeCode : std::uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,
  varDispatch = 0x0009,
  varError = 0x000A,
  varBoolean = 0x000B,
  varVariant = 0x000C,
  varUnknown = 0x000D,
  varByte = 0x0011,
  varInt64 = 0x0014,
  varString = 0x0100,
  varTypeMask = 0x0FFF,
  varArray = 0x2000,
};

// Bounds of one array dimension, both inclusive.
struct VarBounds {
  int low;
  int high;
  int count() const { return high - low + 1; }
  bool operator==(const VarBounds&) const = default;
};

class VarArray;

class Variant {
 public:
  struct NullTag {};
  struct DateValue {
    TDateTime value;
    bool operator==(const DateValue&) const = default;
  };

  Variant() = default;  // Empty
  Variant(NullTag) : value_(NullTag{}) {}
  Variant(bool b) : value_(b) {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char16_t>)
      Variant(T n) {
    if constexpr (sizeof(T) < 4 || (sizeof(T) == 4 && std::is_signed_v<T>))
      value_ = static_cast<std::int32_t>(n);
    else
      value_ = static_cast<std::int64_t>(n);
  }
  Variant(double d) : value_(d) {}
  Variant(const char* text) : value_(std::string(text)) {}
  Variant(std::string text) : value_(std::move(text)) {}
  Variant(std::string_view text) : value_(std::string(text)) {}
  Variant(const char16_t* text) : value_(std::u16string(text)) {}
  Variant(std::u16string text) : value_(std::move(text)) {}
  Variant(std::u16string_view text) : value_(std::u16string(text)) {}
  Variant(DispatchPtr object) : value_(std::move(object)) {}
  Variant(VarArray array);

  Variant(const Variant& other) = default;
  Variant(Variant&& other) noexcept = default;
  Variant& operator=(const Variant& other) = default;
  Variant& operator=(Variant&& other) noexcept = default;
  ~Variant() = default;

  static Variant Null() { return Variant(NullTag{}); }
  static Variant FromDate(TDateTime value);

  // The automation type code: varEmpty, varInteger, varOleStr, varArray | varVariant...
  std::uint16_t type() const;
  bool isEmpty() const { return value_.index() == kEmpty; }
  bool isNull() const { return value_.index() == kNull; }
  bool isArray() const { return value_.index() == kArray; }
  bool isNarrowText() const { return value_.index() == kNarrow; }
  bool isWideText() const { return value_.index() == kWide; }
  bool isText() const { return isNarrowText() || isWideText(); }
  bool isNumeric() const;  // integer, boolean, double
  bool isObject() const { return value_.index() == kObject; }

  // Conversions by the automation rules (see the top of this file).
  std::int32_t asInteger() const;
  std::int64_t asInt64() const;
  double asDouble() const;
  bool asBoolean() const;
  TDateTime asDate() const;
  std::string asString() const;   // narrow text in the system code page
  std::u16string asWide() const;  // wide text
  DispatchPtr asObject() const;   // the object; Empty gives none

  // Direct access to the stored text without conversion; nullptr for other kinds.
  const std::string* narrowText() const { return std::get_if<std::string>(&value_); }
  const std::u16string* wideText() const { return std::get_if<std::u16string>(&value_); }

  // The array; raises EVariantNotAnArrayError when the Variant holds none.
  VarArray& array();
  const VarArray& array() const;

  // Element access of an array: v[i] for one dimension, v(i, j) for two. Raises
  // EVariantNotAnArrayError or EVariantBadIndexError.
  Variant& operator[](int index);
  const Variant& operator[](int index) const;
  Variant& operator()(int row, int column);
  const Variant& operator()(int row, int column) const;

  // Equal kind and value; numbers of different kinds compare by value, narrow and
  // wide texts compare as texts, arrays element by element with their bounds.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  // Owns the array and copies it with the Variant.
  struct ArrayBox {
    explicit ArrayBox(VarArray&& array);
    ArrayBox(const ArrayBox& other);
    ArrayBox(ArrayBox&& other) noexcept = default;
    ArrayBox& operator=(const ArrayBox& other);
    ArrayBox& operator=(ArrayBox&& other) noexcept = default;
    ~ArrayBox();
    std::unique_ptr<VarArray> array;
  };
  enum Index : std::size_t {
    kEmpty,
    kNull,
    kInt32,
    kInt64,
    kBool,
    kDouble,
    kDate,
    kNarrow,
    kWide,
    kObject,
    kArray
  };
  using Storage = std::variant<std::monostate, NullTag, std::int32_t, std::int64_t, bool, double,
                               DateValue, std::string, std::u16string, DispatchPtr, ArrayBox>;

  [[noreturn]] void CastError(std::uint16_t wanted) const;
  double NumberOf(std::uint16_t wanted) const;

  Storage value_;
};

// The array of a Variant: one or two dimensions, each with its own bounds, elements
// in row order. The element type is remembered for VarType; elements are Variants.
class VarArray {
 public:
  VarArray(std::vector<VarBounds> bounds, std::uint16_t elementType);

  int dimCount() const { return static_cast<int>(bounds_.size()); }
  const VarBounds& bounds(int dim) const;  // dim from 1
  std::uint16_t elementType() const { return elementType_; }
  std::size_t size() const { return elements_.size(); }

  Variant& at(int index);
  const Variant& at(int index) const;
  Variant& at(int row, int column);
  const Variant& at(int row, int column) const;

  // Every element in storage order, for walks that do not care about positions.
  std::vector<Variant>& elements() { return elements_; }
  const std::vector<Variant>& elements() const { return elements_; }

  // Moves the high bound of the last dimension, keeping the elements that stay.
  void redim(int highBound);

  bool operator==(const VarArray& other) const = default;

 private:
  std::size_t offset(int index) const;
  std::size_t offset(int row, int column) const;

  std::vector<VarBounds> bounds_;
  std::uint16_t elementType_;
  std::vector<Variant> elements_;
};

// VarArrayCreate([low, high]) and VarArrayCreate([low1, high1, low2, high2]). The
// elements start as the empty value of the element type (Empty for varVariant).
// Raises EVariantBadIndexError for an odd or empty bound list, more than two
// dimensions, or a high bound below low - 1.
Variant VarArrayCreate(std::initializer_list<int> bounds, std::uint16_t elementType = varVariant);
// VarArrayOf: a one-dimensional array with bounds 0..n-1 of the given values.
Variant VarArrayOf(std::initializer_list<Variant> values);

int VarArrayDimCount(const Variant& v);  // 0 when v holds no array
int VarArrayLowBound(const Variant& v, int dim);
int VarArrayHighBound(const Variant& v, int dim);
void VarArrayRedim(Variant& v, int highBound);

inline std::uint16_t VarType(const Variant& v) {
  return v.type();
}
inline bool VarIsEmpty(const Variant& v) {
  return v.isEmpty();
}
inline bool VarIsNull(const Variant& v) {
  return v.isNull();
}
inline bool VarIsArray(const Variant& v) {
  return v.isArray();
}
inline bool VarIsStr(const Variant& v) {
  return v.isText();
}
// True for Empty or Null.
inline bool VarIsClear(const Variant& v) {
  return v.isEmpty() || v.isNull();
}
// VarToStr: Null gives ""; otherwise the text of the value.
std::string VarToStr(const Variant& v);
// The type's name as automation errors print it ("Integer", "OleStr", "Array Variant").
std::string VarTypeAsText(std::uint16_t type);

// The decimal text of a double as the system writes numbers (15 significant digits,
// "E" exponent), and the reading of such a text (whole text, blanks around allowed).
std::string FloatToStr(double value);
bool TryStrToFloat(std::string_view text, double& out);
// Whole decimal integer (optional sign, blanks around), or hexadecimal with "$" or "0x".
bool TryStrToInt64(std::string_view text, std::int64_t& out);

}  // namespace ox
