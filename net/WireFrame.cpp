#include "net/WireFrame.h"

#include <array>
#include <limits>
#include <utility>

namespace ox::net {

namespace {

constexpr std::string_view kMagic = "OXRC";

[[noreturn]] void Malformed(const std::string& what) {
  throw EWireError("Malformed message: " + what);
}

Variant ListOf(std::vector<Variant> values) {
  VarArray array({{0, static_cast<int>(values.size()) - 1}}, varVariant);
  array.elements() = std::move(values);
  return Variant(std::move(array));
}

// The elements of a one-dimensional array with bounds 0..count-1.
std::vector<Variant> ListFrom(Variant v, std::size_t count, const char* what) {
  if (!v.isArray() || v.array().dimCount() != 1 || v.array().bounds(1).low != 0 ||
      (count != 0 && v.array().size() != count))
    Malformed(what);
  return std::move(v.array().elements());
}

std::vector<Variant> BodyList(std::string_view body, std::size_t count, const char* what,
                              const WireLimits& limits) {
  return ListFrom(DecodeVariant(body, limits), count, what);
}

std::int64_t IdOf(const Variant& v) {
  if (v.type() != varInt64) Malformed("call id");
  return v.asInt64();
}

std::string NarrowOf(const Variant& v, const char* what) {
  const std::string* text = v.narrowText();
  if (text == nullptr) Malformed(what);
  return *text;
}

std::string EncodeList(std::vector<Variant> values) {
  return EncodeVariant(ListOf(std::move(values)));
}

}  // namespace

std::string EncodeFrame(FrameKind kind, std::string_view body) {
  if (body.size() > std::numeric_limits<std::uint32_t>::max())
    throw EWireError("Message too long to send");
  const auto length = static_cast<std::uint32_t>(body.size());
  std::string frame(kMagic);
  frame += static_cast<char>(kWireVersion);
  frame += static_cast<char>(kind);
  frame += '\0';
  frame += '\0';
  for (int shift = 24; shift >= 0; shift -= 8)
    frame += static_cast<char>((length >> shift) & 0xFF);
  frame += body;
  return frame;
}

FrameHeader DecodeFrameHeader(std::string_view header, std::size_t maxBody) {
  if (header.size() != kFrameHeaderSize || header.substr(0, 4) != kMagic)
    throw EWireError("Not a frame of this protocol");
  if (static_cast<std::uint8_t>(header[4]) != kWireVersion)
    throw EWireError("Unsupported protocol version " +
                     std::to_string(static_cast<std::uint8_t>(header[4])));
  const auto kind = static_cast<std::uint8_t>(header[5]);
  if (kind < static_cast<std::uint8_t>(FrameKind::Hello) ||
      kind > static_cast<std::uint8_t>(FrameKind::Error) || header[6] != '\0' || header[7] != '\0')
    throw EWireError("Unknown frame kind");
  std::uint32_t length = 0;
  for (std::size_t i = 8; i < 12; ++i)
    length = (length << 8) | static_cast<std::uint8_t>(header[i]);
  if (length > maxBody)
    throw EWireError("Frame of " + std::to_string(length) + " bytes exceeds the limit of " +
                     std::to_string(maxBody));
  return {static_cast<FrameKind>(kind), length};
}

std::string EncodeName(std::string_view serverName) {
  return EncodeList({Variant(serverName)});
}

std::string DecodeName(std::string_view body, const WireLimits& limits) {
  return NarrowOf(BodyList(body, 1, "hello", limits)[0], "server name");
}

std::string EncodeCall(const CallMessage& call) {
  return EncodeList({call.id, call.name, static_cast<int>(call.kind), ListOf(call.args)});
}

CallMessage DecodeCall(std::string_view body, const WireLimits& limits) {
  std::vector<Variant> parts = BodyList(body, 4, "call", limits);
  CallMessage call;
  call.id = IdOf(parts[0]);
  call.name = NarrowOf(parts[1], "member name");
  if (parts[2].type() != varInteger || parts[2].asInteger() < 0 || parts[2].asInteger() > 2)
    Malformed("call kind");
  call.kind = static_cast<InvokeKind>(parts[2].asInteger());
  call.args = ListFrom(std::move(parts[3]), 0, "call arguments");
  return call;
}

std::string EncodeReply(const ReplyMessage& reply) {
  return EncodeList({reply.id, reply.result, ListOf(reply.args)});
}

ReplyMessage DecodeReply(std::string_view body, const WireLimits& limits) {
  std::vector<Variant> parts = BodyList(body, 3, "reply", limits);
  return {IdOf(parts[0]), std::move(parts[1]), ListFrom(std::move(parts[2]), 0, "reply arguments")};
}

std::string EncodeError(const ErrorMessage& error) {
  return EncodeList({error.id, error.className, error.message});
}

ErrorMessage DecodeError(std::string_view body, const WireLimits& limits) {
  std::vector<Variant> parts = BodyList(body, 3, "error", limits);
  return {IdOf(parts[0]), NarrowOf(parts[1], "error class"), NarrowOf(parts[2], "error text")};
}

}  // namespace ox::net
