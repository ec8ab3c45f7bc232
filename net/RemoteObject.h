// The client end of the remote connection: a late-bound object whose calls travel to a
// server object over TCP. Connecting sends the server name in a Hello; the server
// answers Welcome or refuses the name. Each Invoke sends a Call and waits for its
// Reply; the arguments the server left come back into the caller's arguments, so
// ByRef variables receive them.
//
// Failures:
// - the server cannot be reached, refuses the name, breaks the connection, answers
//   garbage or does not answer within the call timeout: ESocketConnectionError; the
//   connection is then closed and every later call raises the same at once;
// - the server's method raised: EOleError with the server's message (the connection
//   stays usable).
// Calls from several threads take turns.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "net/FrameSocket.h"
#include "platform/OleAuto.h"

namespace ox::net {

struct RemoteOptions {
  Millis connectTimeout{5000};
  Millis callTimeout{30000};
  std::size_t maxFrame = 16u << 20;  // largest reply accepted
};

class RemoteObject : public DispatchObject {
 public:
  // Connects and greets the server; raises ESocketConnectionError.
  static std::shared_ptr<RemoteObject> Connect(const std::string& address, int port,
                                               const std::string& serverName,
                                               const RemoteOptions& options = {});

  Variant Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) override;

  RemoteObject(FrameSocket socket, RemoteOptions options);

 private:
  // Reads the next frame, closing the connection on any failure.
  FrameSocket::Frame ReceiveFrame();
  [[noreturn]] void Broken(const std::string& why);

  std::mutex lock_;
  std::optional<FrameSocket> socket_;
  RemoteOptions options_;
  std::int64_t nextId_ = 1;
};

}  // namespace ox::net
