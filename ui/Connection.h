// Connections to an application server: a component that, once connected, holds the
// server's late-bound object (AppServer) through which client data sets fetch and
// apply their rows. Two kinds:
// - TSocketConnection reaches a server by address (or host name) and port. The
//   transport that carries its calls is installed by the program (SetSocketTransport);
//   without one, connecting fails with a clear error.
// - TDCOMConnection creates the server object in this process by its programmatic
//   identifier (ServerName), through the class registry of late-bound objects.
// A server object made elsewhere can also be handed to any connection (SetAppServer).
#pragma once

#include <functional>
#include <string>

#include "platform/OleAuto.h"
#include "ui/Classes.h"

namespace ox {

// A connection that cannot be made: no transport, no address, the server unreachable.
class ESocketConnectionError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "ESocketConnectionError"; }
};

// Picks the server a connection uses among several; the connections here only keep the
// reference.
class TCustomObjectBroker : public TComponent {
 public:
  OX_CLASS_INFO()
  using TComponent::TComponent;
};

class TSimpleObjectBroker : public TCustomObjectBroker {
 public:
  OX_CLASS_INFO()
  using TCustomObjectBroker::TCustomObjectBroker;
};

class TCustomRemoteServer : public TComponent {
 public:
  OX_CLASS_INFO()
  using TComponent::TComponent;

  // Connected while AppServer holds an object.
  bool Connected() const;
  // Connects (making the server object) or disconnects; while a form resource is read,
  // only remembered until Loaded.
  void SetConnected(bool connected);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  // The application server's object; Empty while disconnected.
  const Variant& AppServer() const { return appServer_; }
  // Takes a server object made elsewhere (created locally): the connection is connected
  // with it, without events.
  void SetAppServer(const Variant& server) { appServer_ = server; }
  // Connects when needed and answers the server object, as data sets ask for it.
  Variant GetServer();

  TNotifyEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;

  void Loaded() override;

 protected:
  // Makes the server object; raises when it cannot.
  virtual Variant CreateAppServer() = 0;

 private:
  Variant appServer_;
  bool streamedConnected_ = false;
};

// A connection to a named server object: ServerName is its programmatic identifier,
// ServerGUID its class identifier.
class TDispatchConnection : public TCustomRemoteServer {
 public:
  OX_CLASS_INFO()
  using TCustomRemoteServer::TCustomRemoteServer;
  const std::string& ServerName() const { return serverName_; }
  void SetServerName(const std::string& name) { serverName_ = name; }
  const std::string& ServerGUID() const { return serverGUID_; }
  void SetServerGUID(const std::string& guid) { serverGUID_ = guid; }

 protected:
  // Raises Exception "Cannot connect, X must contain a valid ServerName or ServerGUID".
  void CheckServerName() const;

 private:
  std::string serverName_;
  std::string serverGUID_;
};

class TSocketConnection;

// Makes the server object of a socket connection from its address (or host), port and
// server name or GUID; raises ESocketConnectionError when the server cannot be reached.
using SocketTransport = std::function<Variant(const TSocketConnection& connection)>;
// Installs the transport of every socket connection of the program; answers the one
// installed before. An empty transport uninstalls.
SocketTransport SetSocketTransport(SocketTransport transport);

class TSocketConnection : public TDispatchConnection {
 public:
  OX_CLASS_INFO()
  explicit TSocketConnection(TComponent* owner);

  const std::string& Address() const { return address_; }
  void SetAddress(const std::string& address) { address_ = address; }
  const std::string& Host() const { return host_; }
  void SetHost(const std::string& host) { host_ = host; }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  bool SupportCallbacks() const { return supportCallbacks_; }
  void SetSupportCallbacks(bool value) { supportCallbacks_ = value; }
  TCustomObjectBroker* ObjectBroker() const { return objectBroker_.get(); }
  void SetObjectBroker(TCustomObjectBroker* broker) { objectBroker_ = broker; }

 protected:
  Variant CreateAppServer() override;

 private:
  std::string address_;
  std::string host_;
  int port_ = 211;
  bool supportCallbacks_ = true;
  ComponentRef<TCustomObjectBroker> objectBroker_;
};

// The server object created in this process by its identifier (ServerName, else
// ServerGUID) with CreateOleObject.
class TDCOMConnection : public TDispatchConnection {
 public:
  OX_CLASS_INFO()
  using TDispatchConnection::TDispatchConnection;

 protected:
  Variant CreateAppServer() override;
};

}  // namespace ox
