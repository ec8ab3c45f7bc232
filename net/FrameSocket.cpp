#include "net/FrameSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

namespace ox::net {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what, int error = 0) {
  throw ESocketConnectionError(error == 0 ? what : what + ": " + std::strerror(error));
}

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// Waits for events on fd until the deadline; false when the time ran out or cancelFd
// (when not -1) became readable.
bool PollUntil(int fd, short events, Clock::time_point deadline, int cancelFd = -1) {
  for (;;) {
    pollfd p[2] = {{fd, events, 0}, {cancelFd, POLLIN, 0}};
    const int n = ::poll(p, cancelFd >= 0 ? 2 : 1, RemainingMs(deadline));
    if (n > 0) return p[1].revents == 0;
    if (n == 0) return false;
    if (errno != EINTR) Fail("Socket wait failed", errno);
  }
}

void SetNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) Fail("Socket setup failed", errno);
}

struct AddrInfoFree {
  void operator()(addrinfo* info) const { ::freeaddrinfo(info); }
};
using AddrInfoPtr = std::unique_ptr<addrinfo, AddrInfoFree>;

AddrInfoPtr Resolve(const std::string& address, int port, bool passive) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | (passive ? AI_PASSIVE : 0);
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (port < 0 || port > 65535 ||
      ::getaddrinfo(address.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr)
    Fail("Cannot resolve " + address + ":" + service);
  return AddrInfoPtr(found);
}

// Starts a connection to one address and waits for it within the deadline.
std::optional<FileHandle> TryConnect(const addrinfo& a, Clock::time_point deadline, int& error) {
  FileHandle fd(::socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a.ai_protocol));
  if (!fd.valid()) {
    error = errno;
    return std::nullopt;
  }
  if (::connect(fd.get(), a.ai_addr, a.ai_addrlen) == 0) return fd;
  if (errno != EINPROGRESS) {
    error = errno;
    return std::nullopt;
  }
  if (!PollUntil(fd.get(), POLLOUT, deadline)) {
    error = ETIMEDOUT;
    return std::nullopt;
  }
  socklen_t size = sizeof(error);
  if (::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
  if (error != 0) return std::nullopt;
  return fd;
}

}  // namespace

FileHandle::FileHandle(FileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

FrameSocket::FrameSocket(FileHandle socket) : socket_(std::move(socket)) {
  SetNonBlocking(fd());
  const int on = 1;
  ::setsockopt(fd(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

FrameSocket FrameSocket::Connect(const std::string& address, int port, Millis timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  const AddrInfoPtr found = Resolve(address, port, false);
  int error = 0;
  for (const addrinfo* a = found.get(); a != nullptr; a = a->ai_next)
    if (std::optional<FileHandle> fd = TryConnect(*a, deadline, error))
      return FrameSocket(std::move(*fd));
  Fail("Cannot connect to " + address + ":" + std::to_string(port), error);
}

void FrameSocket::SendRaw(std::string_view bytes, Millis timeout) const {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) Fail("Send failed", errno);
    if (!PollUntil(fd(), POLLOUT, deadline)) Fail("Send timed out");
  }
}

void FrameSocket::Send(FrameKind kind, std::string_view body, Millis timeout) const {
  SendRaw(EncodeFrame(kind, body), timeout);
}

bool FrameSocket::WaitReadable(Millis wait, int cancelFd) const {
  pollfd p[2] = {{fd(), POLLIN, 0}, {cancelFd, POLLIN, 0}};
  const int count = cancelFd >= 0 ? 2 : 1;
  const int ms =
      wait.count() < 0 ? -1 : static_cast<int>(std::min<long long>(wait.count(), 1 << 30));
  for (;;) {
    const int n = ::poll(p, static_cast<nfds_t>(count), ms);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("Socket wait failed", errno);
    if (count == 2 && p[1].revents != 0) return false;
    return n > 0;
  }
}

FrameSocket::ReadEnd FrameSocket::ReadExact(char* out, std::size_t size, Clock::time_point deadline,
                                            bool atFrameStart, int cancelFd) const {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::recv(fd(), out + done, size - done, 0);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0) {
      if (atFrameStart && done == 0) return ReadEnd::ClosedAtStart;
      throw EWireError("Truncated frame: the connection ended inside it");
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) Fail("Receive failed", errno);
    if (!PollUntil(fd(), POLLIN, deadline, cancelFd)) Fail("Receive timed out");
  }
  return ReadEnd::Complete;
}

std::optional<FrameSocket::Frame> FrameSocket::Receive(std::size_t maxBody, Millis timeout,
                                                       int cancelFd) const {
  const Clock::time_point deadline = Clock::now() + timeout;
  char header[kFrameHeaderSize];
  if (ReadExact(header, sizeof(header), deadline, true, cancelFd) == ReadEnd::ClosedAtStart)
    return std::nullopt;
  const FrameHeader h = DecodeFrameHeader(std::string_view(header, sizeof(header)), maxBody);
  Frame frame{h.kind, std::string(h.length, '\0')};
  ReadExact(frame.body.data(), frame.body.size(), deadline, false, cancelFd);
  return frame;
}

void FrameSocket::ShutdownSend() const {
  ::shutdown(fd(), SHUT_WR);
}

TcpListener::TcpListener(const std::string& address, int port) {
  const AddrInfoPtr found = Resolve(address, port, true);
  const addrinfo& a = *found;
  socket_ = FileHandle(::socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket_.valid()) Fail("Cannot open a socket", errno);
  const int on = 1;
  ::setsockopt(fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  if (::bind(fd(), a.ai_addr, a.ai_addrlen) != 0)
    Fail("Cannot listen on " + address + ":" + std::to_string(port), errno);
  if (::listen(fd(), SOMAXCONN) != 0) Fail("Cannot listen", errno);
  sockaddr_storage bound{};
  socklen_t size = sizeof(bound);
  ::getsockname(fd(), reinterpret_cast<sockaddr*>(&bound), &size);
  port_ = bound.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                                      : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

std::optional<FileHandle> TcpListener::Accept() const {
  const int fd = ::accept4(socket_.get(), nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return std::nullopt;
  return FileHandle(fd);
}

}  // namespace ox::net
