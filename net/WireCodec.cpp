#include "net/WireCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <msgpack.hpp>
#include <vector>

namespace ox::net {

namespace {

enum ExtType : std::int8_t { kExtNull = 1, kExtInt64 = 2, kExtDate = 3, kExtWide = 4 };

using Packer = msgpack::packer<msgpack::sbuffer>;

void PutBigEndian(std::array<char, 8>& out, std::uint64_t bits) {
  for (int i = 7; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = static_cast<char>(bits & 0xFF);
    bits >>= 8;
  }
}

std::uint64_t GetBigEndian(const char* data) {
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i)
    bits = (bits << 8) | static_cast<unsigned char>(data[i]);
  return bits;
}

void PackExt(Packer& pk, ExtType type, const char* data, std::size_t size) {
  pk.pack_ext(size, type);
  pk.pack_ext_body(data, size);
}

void PackExt64(Packer& pk, ExtType type, std::uint64_t bits) {
  std::array<char, 8> bytes{};
  PutBigEndian(bytes, bits);
  PackExt(pk, type, bytes.data(), bytes.size());
}

// A float 64 always: the packer's own pack_double writes whole numbers as integers.
void PackDouble(msgpack::sbuffer& out, double value) {
  std::array<char, 9> bytes{};
  bytes[0] = static_cast<char>(0xcb);
  std::array<char, 8> bits{};
  PutBigEndian(bits, std::bit_cast<std::uint64_t>(value));
  std::copy(bits.begin(), bits.end(), bytes.begin() + 1);
  out.write(bytes.data(), bytes.size());
}

void PackWide(Packer& pk, const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  PackExt(pk, kExtWide, bytes.data(), bytes.size());
}

void Pack(Packer& pk, msgpack::sbuffer& out, const Variant& v);

void PackArray(Packer& pk, msgpack::sbuffer& out, const VarArray& array) {
  const auto dims = static_cast<std::size_t>(array.dimCount());
  pk.pack_array(static_cast<std::uint32_t>(2 + 2 * dims + array.size()));
  pk.pack_uint16(array.elementType());
  pk.pack_uint8(static_cast<std::uint8_t>(dims));
  for (int d = 1; d <= array.dimCount(); ++d) {
    pk.pack_int32(array.bounds(d).low);
    pk.pack_int32(array.bounds(d).high);
  }
  for (const Variant& element : array.elements())
    Pack(pk, out, element);
}

void Pack(Packer& pk, msgpack::sbuffer& out, const Variant& v) {
  const std::uint16_t type = v.type();
  if (v.isArray()) return PackArray(pk, out, v.array());
  if (const std::string* narrow = v.narrowText()) {
    pk.pack_bin(static_cast<std::uint32_t>(narrow->size()));
    pk.pack_bin_body(narrow->data(), static_cast<std::uint32_t>(narrow->size()));
    return;
  }
  if (const std::u16string* wide = v.wideText()) return PackWide(pk, *wide);
  switch (type) {
    case varEmpty:
      pk.pack_nil();
      return;
    case varNull:
      PackExt(pk, kExtNull, nullptr, 0);
      return;
    case varInteger:
      pk.pack_int32(v.asInteger());
      return;
    case varInt64:
      PackExt64(pk, kExtInt64, static_cast<std::uint64_t>(v.asInt64()));
      return;
    case varBoolean:
      v.asBoolean() ? pk.pack_true() : pk.pack_false();
      return;
    case varDouble:
      PackDouble(out, v.asDouble());
      return;
    case varDate:
      PackExt64(pk, kExtDate, std::bit_cast<std::uint64_t>(v.asDate()));
      return;
    default:
      throw EWireError("A value of type " + VarTypeAsText(type) + " cannot be sent");
  }
}

// Turns a parsed MessagePack tree into a Variant, counting what it builds.
class Reader {
 public:
  explicit Reader(const WireLimits& limits) : limits_(limits) {}

  Variant Read(const msgpack::object& o, std::size_t depth) {
    if (++elements_ > limits_.maxElements) Fail("too many values");
    switch (o.type) {
      case msgpack::type::NIL:
        return Variant();
      case msgpack::type::BOOLEAN:
        return Variant(o.via.boolean);
      case msgpack::type::POSITIVE_INTEGER:
      case msgpack::type::NEGATIVE_INTEGER:
        return Variant(Int32(o));
      case msgpack::type::FLOAT64:
        return Variant(o.via.f64);
      case msgpack::type::BIN:
        return Variant(std::string(o.via.bin.ptr, o.via.bin.size));
      case msgpack::type::EXT:
        return ReadExt(o.via.ext);
      case msgpack::type::ARRAY:
        return ReadArray(o.via.array, depth + 1);
      default:
        Fail("unexpected MessagePack type");
    }
  }

 private:
  [[noreturn]] static void Fail(const std::string& what) {
    throw EWireError("Malformed value: " + what);
  }

  static std::int32_t Int32(const msgpack::object& o) {
    if (o.type == msgpack::type::POSITIVE_INTEGER) {
      if (o.via.u64 > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        Fail("integer out of range");
      return static_cast<std::int32_t>(o.via.u64);
    }
    if (o.type == msgpack::type::NEGATIVE_INTEGER) {
      if (o.via.i64 < std::numeric_limits<std::int32_t>::min()) Fail("integer out of range");
      return static_cast<std::int32_t>(o.via.i64);
    }
    Fail("integer expected");
  }

  static Variant ReadExt(const msgpack::object_ext& ext) {
    const std::int8_t type = ext.type();
    if (type == kExtNull && ext.size == 0) return Variant::Null();
    if ((type == kExtInt64 || type == kExtDate) && ext.size == 8) {
      const std::uint64_t bits = GetBigEndian(ext.data());
      if (type == kExtInt64) return Variant(static_cast<std::int64_t>(bits));
      return Variant::FromDate(std::bit_cast<double>(bits));
    }
    if (type == kExtWide && ext.size % 2 == 0) {
      std::u16string text(ext.size / 2, u'\0');
      for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(ext.data()[2 * i]) |
                                        static_cast<unsigned char>(ext.data()[2 * i + 1]) << 8);
      return Variant(std::move(text));
    }
    Fail("unknown extension");
  }

  static bool IsElementType(std::uint64_t type) {
    static constexpr std::array<std::uint16_t, 13> kTypes = {
        varSmallint, varInteger, varSingle,  varDouble, varCurrency, varDate,  varOleStr,
        varError,    varBoolean, varVariant, varByte,   varInt64,    varString};
    return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
  }

  Variant ReadArray(const msgpack::object_array& a, std::size_t depth) {
    if (depth > limits_.maxDepth) Fail("arrays nested too deep");
    if (a.size < 2 || a.ptr[0].type != msgpack::type::POSITIVE_INTEGER ||
        !IsElementType(a.ptr[0].via.u64) || a.ptr[1].type != msgpack::type::POSITIVE_INTEGER ||
        a.ptr[1].via.u64 < 1 || a.ptr[1].via.u64 > 2)
      Fail("bad array header");
    const auto dims = static_cast<std::size_t>(a.ptr[1].via.u64);
    const std::size_t head = 2 + 2 * dims;
    if (a.size < head) Fail("bad array header");
    std::vector<VarBounds> bounds;
    std::int64_t count = 1;
    for (std::size_t d = 0; d < dims; ++d) {
      const VarBounds b{Int32(a.ptr[2 + 2 * d]), Int32(a.ptr[3 + 2 * d])};
      const std::int64_t n = static_cast<std::int64_t>(b.high) - b.low + 1;
      if (n < 0) Fail("bad array bounds");
      count *= n;
      if (count > static_cast<std::int64_t>(a.size - head)) Fail("array size mismatch");
      bounds.push_back(b);
    }
    if (static_cast<std::size_t>(count) != a.size - head) Fail("array size mismatch");
    VarArray array(std::move(bounds), static_cast<std::uint16_t>(a.ptr[0].via.u64));
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
      array.elements()[i] = Read(a.ptr[head + i], depth);
    return Variant(std::move(array));
  }

  const WireLimits& limits_;
  std::size_t elements_ = 0;
};

}  // namespace

std::string EncodeVariant(const Variant& value) {
  msgpack::sbuffer buffer;
  Packer pk(buffer);
  Pack(pk, buffer, value);
  return std::string(buffer.data(), buffer.size());
}

Variant DecodeVariant(std::string_view bytes, const WireLimits& limits) {
  // The parser's own limits keep its tree within the bytes it was given; the Reader
  // then bounds the Variants built from it.
  const std::size_t maxCount = std::min<std::size_t>(limits.maxElements + 6, 0xffffffff);
  const msgpack::unpack_limit parserLimits(maxCount, 0, bytes.size(), bytes.size(), bytes.size(),
                                           2 * limits.maxDepth + 2);
  msgpack::object_handle handle;
  std::size_t offset = 0;
  try {
    handle = msgpack::unpack(bytes.data(), bytes.size(), offset, nullptr, nullptr, parserLimits);
  } catch (const std::exception& error) {
    throw EWireError(std::string("Malformed value: ") + error.what());
  }
  if (offset != bytes.size()) throw EWireError("Malformed value: bytes after the value");
  Reader reader(limits);
  return reader.Read(handle.get(), 0);
}

}  // namespace ox::net
