#include "outside/appserver/ServerDaemon.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/AsciiText.h"

namespace ox::appserver {

namespace {

using net::FrameKind;
using net::FrameSocket;
using net::Millis;

// How long a refused client is given to read the Error before the socket closes.
constexpr Millis kLinger{1000};
constexpr std::size_t kLingerBytes = 1u << 20;

std::string ErrorBody(std::int64_t id, const std::string& className, const std::string& message) {
  return net::EncodeError({id, className, message});
}

}  // namespace

ServerDaemon::ServerDaemon(DaemonOptions options, std::string objectName, ObjectFactory factory)
    : options_(std::move(options)),
      objectName_(std::move(objectName)),
      factory_(std::move(factory)) {}

ServerDaemon::~ServerDaemon() {
  Stop();
}

void ServerDaemon::Start() {
  if (acceptor_.joinable()) return;
  stop_ = net::FileHandle(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!stop_.valid()) throw ESocketConnectionError("Cannot create the stop event");
  listener_ = std::make_unique<net::TcpListener>(options_.address, options_.port);
  acceptor_ = std::thread([this] { Accept(); });
}

int ServerDaemon::Port() const {
  return listener_ ? listener_->Port() : 0;
}

void ServerDaemon::Stop() {
  if (!acceptor_.joinable()) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(stop_.get(), &one, sizeof(one));
  acceptor_.join();
  listener_.reset();
}

void ServerDaemon::ReapFinished() {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (!it->done) {
      ++it;
      continue;
    }
    it->thread.join();
    it = connections_.erase(it);
  }
}

void ServerDaemon::Accept() {
  for (;;) {
    pollfd p[2] = {{listener_->fd(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
    if (::poll(p, 2, -1) < 0 && errno != EINTR) break;
    if (p[1].revents != 0) break;
    ReapFinished();
    std::optional<net::FileHandle> socket = listener_->Accept();
    if (!socket) {
      // Out of descriptors or memory: pause instead of spinning on a ready listener.
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ::poll(&p[1], 1, 100);
      continue;
    }
    if (connections_.size() >= options_.maxConnections) {
      try {
        const FrameSocket refused(std::move(*socket));
        refused.Send(FrameKind::Error, ErrorBody(0, "EWireError", "Server busy"), kLinger);
      } catch (const Exception&) {
      }
      continue;
    }
    Connection& connection = connections_.emplace_back();
    connection.thread = std::thread([this, &connection, fd = std::move(*socket)]() mutable {
      Serve(std::move(fd));
      connection.done = true;
    });
  }
  for (Connection& connection : connections_)
    connection.thread.join();
  connections_.clear();
}

void ServerDaemon::Serve(net::FileHandle handle) {
  try {
    const FrameSocket socket(std::move(handle));
    try {
      Converse(socket);
    } catch (const net::EWireError& error) {
      Refuse(socket, error.Message());
    } catch (const ESocketConnectionError& error) {
      Refuse(socket, error.Message());
    }
  } catch (const Exception&) {
    // The socket could not be set up or the refusal could not be sent: just close.
  }
}

void ServerDaemon::Converse(const FrameSocket& socket) {
  const net::WireLimits limits;
  if (!socket.WaitReadable(options_.ioTimeout, stop_.get())) return;
  std::optional<FrameSocket::Frame> frame =
      socket.Receive(options_.maxFrame, options_.ioTimeout, stop_.get());
  if (!frame) return;
  if (frame->kind != FrameKind::Hello) throw net::EWireError("Expected a Hello");
  const std::string name = net::DecodeName(frame->body, limits);
  if (!SameTextAscii(name, objectName_))
    return Refuse(socket, "Invalid class string: no server object " + name);
  const DispatchPtr object = factory_();
  socket.Send(FrameKind::Welcome, net::EncodeName(objectName_), options_.ioTimeout);
  while (socket.WaitReadable(Millis(-1), stop_.get())) {
    frame = socket.Receive(options_.maxFrame, options_.ioTimeout, stop_.get());
    if (!frame) return;
    if (frame->kind != FrameKind::Call) throw net::EWireError("Expected a Call");
    Answer(socket, *object, net::DecodeCall(frame->body, limits));
  }
}

void ServerDaemon::Answer(const FrameSocket& socket, DispatchObject& object,
                          net::CallMessage call) {
  std::string body;
  FrameKind kind = FrameKind::Reply;
  try {
    Variant result = object.Invoke(call.name, call.kind, call.args);
    body = net::EncodeReply({call.id, std::move(result), std::move(call.args)});
  } catch (const Exception& error) {
    kind = FrameKind::Error;
    body = ErrorBody(call.id, error.ClassName(), error.Message());
  } catch (const std::exception& error) {
    kind = FrameKind::Error;
    body = ErrorBody(call.id, "Exception", error.what());
  }
  socket.Send(kind, body, options_.ioTimeout);
}

void ServerDaemon::Refuse(const FrameSocket& socket, const std::string& message) const {
  socket.Send(FrameKind::Error, ErrorBody(0, "EWireError", message), kLinger);
  socket.ShutdownSend();
  // Reading what the client still sends keeps the close from resetting the connection
  // before the client has read the Error.
  char sink[4096];
  std::size_t drained = 0;
  while (drained < kLingerBytes && socket.WaitReadable(kLinger, stop_.get())) {
    const ssize_t n = ::recv(socket.fd(), sink, sizeof(sink), 0);
    if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR))) break;
    if (n > 0) drained += static_cast<std::size_t>(n);
  }
}

}  // namespace ox::appserver
