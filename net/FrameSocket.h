// TCP sockets that carry frames (net/WireFrame.h), for both ends of the remote
// connection. Every wait is bounded: a peer that stops sending or reading costs its
// own connection a timeout and never blocks anyone else. Transport failures (refused,
// reset, timed out, closed) raise ESocketConnectionError; bytes that are no frame
// raise EWireError.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "net/WireFrame.h"
#include "ui/Connection.h"

namespace ox::net {

using Millis = std::chrono::milliseconds;

// Owns a file descriptor and closes it.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

class FrameSocket {
 public:
  struct Frame {
    FrameKind kind = FrameKind::Hello;
    std::string body;
  };

  // Takes a connected socket; makes it non-blocking, without send delay.
  explicit FrameSocket(FileHandle socket);

  // Connects to address (numeric or a host name) and port within the timeout.
  static FrameSocket Connect(const std::string& address, int port, Millis timeout);

  int fd() const { return socket_.get(); }

  // Sends one frame whole within the timeout.
  void Send(FrameKind kind, std::string_view body, Millis timeout) const;
  // Sends bytes as they are (for tests of what a peer does with garbage).
  void SendRaw(std::string_view bytes, Millis timeout) const;
  // Waits until bytes arrive (true), the peer closes (true; Receive then answers
  // nothing), cancelFd becomes readable (false) or the wait ends (false; a negative
  // wait never ends).
  bool WaitReadable(Millis wait, int cancelFd = -1) const;
  // Reads one frame whose body is at most maxBody bytes, the whole frame within the
  // timeout. Nothing when the peer closed before the frame began. A cancelFd that
  // becomes readable ends the wait as a timeout does.
  std::optional<Frame> Receive(std::size_t maxBody, Millis timeout, int cancelFd = -1) const;
  // Ends sending; the peer reads the end of the stream.
  void ShutdownSend() const;

 private:
  enum class ReadEnd { Complete, ClosedAtStart };
  ReadEnd ReadExact(char* out, std::size_t size, std::chrono::steady_clock::time_point deadline,
                    bool atFrameStart, int cancelFd) const;

  FileHandle socket_;
};

// A listening TCP socket.
class TcpListener {
 public:
  // Binds address:port (port 0: any free port); raises ESocketConnectionError.
  TcpListener(const std::string& address, int port);
  int fd() const { return socket_.get(); }
  int Port() const { return port_; }
  // A connection waiting to be accepted, or nothing (errno tells why).
  std::optional<FileHandle> Accept() const;

 private:
  FileHandle socket_;
  int port_ = 0;
};

}  // namespace ox::net
