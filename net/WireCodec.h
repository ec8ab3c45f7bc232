// Variants as bytes for the remote connection, in MessagePack. Every kind a Variant
// can hold travels and comes back as the same kind: Empty and Null apart, 32- and
// 64-bit integers apart, narrow texts (their bytes as they are) apart from wide texts,
// dates apart from doubles, arrays with their element type, dimensions, bounds and
// nested values. Objects do not travel: encoding one raises EWireError.
//
// Layout (docs/appserver.md has the table): Empty nil; Null ext 1 (no data); 32-bit
// integer an integer; 64-bit integer ext 2 (8 bytes, big-endian); boolean a boolean;
// double float 64; date ext 3 (the serial as a big-endian double); narrow text bin;
// wide text ext 4 (UTF-16LE); array a MessagePack array
// [element type, dimensions, low 1, high 1, (low 2, high 2,) elements in row order].
//
// Decoding reads untrusted bytes: anything else (a map, a string, a bad array header,
// bytes left over, nesting deeper or arrays longer than the limits) raises EWireError
// and never crashes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Exceptions.h"
#include "platform/Variant.h"

namespace ox::net {

// Bytes that are no message of the protocol, or a value that cannot travel.
class EWireError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EWireError"; }
};

struct WireLimits {
  std::size_t maxDepth = 32;          // Variant arrays within arrays
  std::size_t maxElements = 1 << 20;  // values in one decoded message, all levels
};

std::string EncodeVariant(const Variant& value);
Variant DecodeVariant(std::string_view bytes, const WireLimits& limits = {});

}  // namespace ox::net
