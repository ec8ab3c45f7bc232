// The TCP daemon of the application server: it listens on an address and port, greets
// each connection (the client names the server object it wants in its Hello), makes
// one server object per connection and answers its calls (net/WireFrame.h).
//
// Each connection has a thread of its own, and the number of connections is bounded:
// one over the bound is refused with an Error. A frame that is malformed, larger than
// the limit (refused from its header, before its body is read), or not complete within
// the I/O timeout ends that connection alone, after an Error with call id 0. Failures
// of a method go back as an Error for that call and the connection carries on.
#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>

#include "net/FrameSocket.h"

namespace ox::appserver {

struct DaemonOptions {
  std::string address = "127.0.0.1";  // loopback unless configured
  int port = 211;                     // 0: any free port
  std::size_t maxFrame = 1u << 20;    // largest frame body accepted
  std::size_t maxConnections = 64;
  net::Millis ioTimeout{10000};  // for the rest of a frame once it began, and sends
};

using ObjectFactory = std::function<DispatchPtr()>;

class ServerDaemon {
 public:
  // Serves objects of `factory` to clients asking for `objectName` (ignoring case).
  ServerDaemon(DaemonOptions options, std::string objectName, ObjectFactory factory);
  ~ServerDaemon();
  ServerDaemon(const ServerDaemon&) = delete;
  ServerDaemon& operator=(const ServerDaemon&) = delete;

  // Binds and starts listening; raises ESocketConnectionError.
  void Start();
  // The port listened on (the one chosen when the options asked for 0).
  int Port() const;
  // Closes every connection and waits for their threads.
  void Stop();

 private:
  struct Connection {
    std::thread thread;
    std::atomic<bool> done{false};
  };

  void Accept();
  void Serve(net::FileHandle socket);
  void Converse(const net::FrameSocket& socket);
  void Answer(const net::FrameSocket& socket, DispatchObject& object, net::CallMessage call);
  // Sends an Error ending the connection and lets the client read it before the close.
  void Refuse(const net::FrameSocket& socket, const std::string& message) const;
  void ReapFinished();

  DaemonOptions options_;
  std::string objectName_;
  ObjectFactory factory_;
  net::FileHandle stop_;  // an event that every wait also watches
  std::unique_ptr<net::TcpListener> listener_;
  std::thread acceptor_;
  std::list<Connection> connections_;  // the acceptor's alone
};

}  // namespace ox::appserver
