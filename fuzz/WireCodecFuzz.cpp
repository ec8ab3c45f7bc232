// Bytes from the network: decoding a value, a frame header or a message body never
// crashes, and a value that decodes encodes to bytes that decode to the same encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "net/WireFrame.h"

namespace {

using ox::fuzz::Check;
using namespace ox::net;

// Small limits so that a run stays quick whatever the input.
constexpr WireLimits kLimits{.maxDepth = 16, .maxElements = 4096};

template <typename Decode>
void Probe(Decode decode) {
  try {
    decode();
  } catch (const EWireError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const std::string once = EncodeVariant(DecodeVariant(bytes, kLimits));
    Check(EncodeVariant(DecodeVariant(once, kLimits)) == once);
  } catch (const EWireError&) {
  }
  if (size >= kFrameHeaderSize)
    Probe([&] { DecodeFrameHeader(bytes.substr(0, kFrameHeaderSize), 1 << 20); });
  Probe([&] { DecodeCall(bytes, kLimits); });
  Probe([&] { DecodeReply(bytes, kLimits); });
  Probe([&] { DecodeError(bytes, kLimits); });
  Probe([&] { DecodeName(bytes, kLimits); });
  return 0;
}
