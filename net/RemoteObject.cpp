#include "net/RemoteObject.h"

#include <utility>

namespace ox::net {

RemoteObject::RemoteObject(FrameSocket socket, RemoteOptions options)
    : socket_(std::move(socket)), options_(options) {}

std::shared_ptr<RemoteObject> RemoteObject::Connect(const std::string& address, int port,
                                                    const std::string& serverName,
                                                    const RemoteOptions& options) {
  auto object = std::make_shared<RemoteObject>(
      FrameSocket::Connect(address, port, options.connectTimeout), options);
  const std::lock_guard guard(object->lock_);
  try {
    object->socket_->Send(FrameKind::Hello, EncodeName(serverName), options.connectTimeout);
  } catch (const Exception& error) {
    object->Broken(error.Message());
  }
  FrameSocket::Frame frame = object->ReceiveFrame();
  if (frame.kind == FrameKind::Welcome) return object;
  std::string why = "The server did not accept the connection";
  if (frame.kind == FrameKind::Error) {
    try {
      why = DecodeError(frame.body).message;
    } catch (const EWireError&) {
    }
  }
  object->Broken(why);
}

void RemoteObject::Broken(const std::string& why) {
  socket_.reset();
  throw ESocketConnectionError(why);
}

FrameSocket::Frame RemoteObject::ReceiveFrame() {
  try {
    if (std::optional<FrameSocket::Frame> frame =
            socket_->Receive(options_.maxFrame, options_.callTimeout))
      return std::move(*frame);
  } catch (const Exception& error) {
    Broken(error.Message());
  }
  Broken("The server closed the connection");
}

Variant RemoteObject::Invoke(std::string_view name, InvokeKind kind, std::span<Variant> args) {
  const std::lock_guard guard(lock_);
  if (!socket_) throw ESocketConnectionError("The connection to the server is closed");
  const std::int64_t id = nextId_++;
  // A value that cannot travel fails the call without touching the connection.
  const std::string call =
      EncodeCall({id, std::string(name), kind, std::vector<Variant>(args.begin(), args.end())});
  try {
    socket_->Send(FrameKind::Call, call, options_.callTimeout);
  } catch (const Exception& error) {
    Broken(error.Message());
  }
  FrameSocket::Frame frame = ReceiveFrame();
  try {
    if (frame.kind == FrameKind::Reply) {
      ReplyMessage reply = DecodeReply(frame.body);
      if (reply.id == id && reply.args.size() == args.size()) {
        std::move(reply.args.begin(), reply.args.end(), args.begin());
        return std::move(reply.result);
      }
    } else if (frame.kind == FrameKind::Error) {
      ErrorMessage error = DecodeError(frame.body);
      if (error.id == id) throw EOleError(error.message);
      if (error.id == 0) Broken(error.message);
    }
  } catch (const EWireError& error) {
    Broken(error.Message());
  }
  Broken("The server answered out of turn");
}

}  // namespace ox::net
