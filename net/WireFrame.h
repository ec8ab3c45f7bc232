// Frames and messages of the remote connection.
//
// A frame is a 12-byte header followed by its body:
//   bytes 0-3   magic "OXRC"
//   byte  4     protocol version (kWireVersion)
//   byte  5     message kind (FrameKind)
//   bytes 6-7   zero
//   bytes 8-11  body length, big-endian
// The header alone tells whether a frame is acceptable, so an oversized body is
// refused before any of it is read.
//
// Every body is one Variant encoded by WireCodec, an array with bounds 0..n:
//   Hello    [server name]                         client -> server, first frame
//   Welcome  [server name]                         server -> client
//   Call     [call id, member name, kind, [args]]  kind: 0 method, 1 get, 2 put
//   Reply    [call id, result, [args after the call]]
//   Error    [call id, class name, message]        call id 0: the connection itself
// A Reply gives back every argument as the callee left it, so that by-reference
// arguments reach the caller. An Error with call id 0 ends the connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/WireCodec.h"
#include "platform/OleAuto.h"

namespace ox::net {

inline constexpr std::uint8_t kWireVersion = 1;
inline constexpr std::size_t kFrameHeaderSize = 12;

enum class FrameKind : std::uint8_t { Hello = 1, Welcome = 2, Call = 3, Reply = 4, Error = 5 };

struct FrameHeader {
  FrameKind kind = FrameKind::Hello;
  std::uint32_t length = 0;
};

// The header and the body of one frame. Raises EWireError for a body above 4 GiB.
std::string EncodeFrame(FrameKind kind, std::string_view body);
// Reads the header of a frame (exactly kFrameHeaderSize bytes). Raises EWireError for a
// wrong magic, version, kind or reserved byte, or a body longer than maxBody.
FrameHeader DecodeFrameHeader(std::string_view header, std::size_t maxBody);

struct CallMessage {
  std::int64_t id = 0;
  std::string name;
  InvokeKind kind = InvokeKind::Method;
  std::vector<Variant> args;
};
struct ReplyMessage {
  std::int64_t id = 0;
  Variant result;
  std::vector<Variant> args;
};
struct ErrorMessage {
  std::int64_t id = 0;
  std::string className;
  std::string message;
};

// Bodies of the messages; the readers raise EWireError for a body of another shape.
std::string EncodeName(std::string_view serverName);  // Hello and Welcome
std::string DecodeName(std::string_view body, const WireLimits& limits = {});
std::string EncodeCall(const CallMessage& call);
CallMessage DecodeCall(std::string_view body, const WireLimits& limits = {});
std::string EncodeReply(const ReplyMessage& reply);
ReplyMessage DecodeReply(std::string_view body, const WireLimits& limits = {});
std::string EncodeError(const ErrorMessage& error);
ErrorMessage DecodeError(std::string_view body, const WireLimits& limits = {});

}  // namespace ox::net
