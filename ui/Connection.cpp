#include "ui/Connection.h"

#include <mutex>
#include <utility>

namespace ox {

namespace {

struct TransportSlot {
  std::mutex lock;
  SocketTransport transport;
};

TransportSlot& Transport() {
  static TransportSlot slot;
  return slot;
}

}  // namespace

SocketTransport SetSocketTransport(SocketTransport transport) {
  TransportSlot& slot = Transport();
  const std::lock_guard guard(slot.lock);
  return std::exchange(slot.transport, std::move(transport));
}

// ---- brokers ---------------------------------------------------------------

const ClassInfo& TCustomObjectBroker::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomObjectBroker>("TCustomObjectBroker", &TComponent::StaticClassInfo())
          .build();
  return info;
}

const ClassInfo& TSimpleObjectBroker::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TSimpleObjectBroker>(
                                    "TSimpleObjectBroker", &TCustomObjectBroker::StaticClassInfo())
                                    .creatable()
                                    .build();
  return info;
}

// ---- TCustomRemoteServer ---------------------------------------------------

const ClassInfo& TCustomRemoteServer::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TCustomRemoteServer>("TCustomRemoteServer", &TComponent::StaticClassInfo())
          .property("Connected", &TCustomRemoteServer::Connected,
                    &TCustomRemoteServer::SetConnected)
          .defaultValue(0)
          .event("AfterConnect", &TCustomRemoteServer::AfterConnect)
          .event("AfterDisconnect", &TCustomRemoteServer::AfterDisconnect)
          .event("BeforeConnect", &TCustomRemoteServer::BeforeConnect)
          .event("BeforeDisconnect", &TCustomRemoteServer::BeforeDisconnect)
          .build();
  return info;
}

bool TCustomRemoteServer::Connected() const {
  return appServer_.isObject() && appServer_.asObject() != nullptr;
}

void TCustomRemoteServer::SetConnected(bool connected) {
  if (IsLoading()) {
    streamedConnected_ = connected;
    return;
  }
  if (connected == Connected()) return;
  if (connected) {
    BeforeConnect(this);
    appServer_ = CreateAppServer();
    if (!Connected()) throw Exception("Cannot connect, " + Name() + " got no server object");
    AfterConnect(this);
  } else {
    BeforeDisconnect(this);
    appServer_ = Variant();
    AfterDisconnect(this);
  }
}

Variant TCustomRemoteServer::GetServer() {
  Open();
  return appServer_;
}

void TCustomRemoteServer::Loaded() {
  TComponent::Loaded();
  if (std::exchange(streamedConnected_, false)) SetConnected(true);
}

// ---- TDispatchConnection ---------------------------------------------------

const ClassInfo& TDispatchConnection::StaticClassInfo() {
  static const ClassInfo info = ClassBuilder<TDispatchConnection>(
                                    "TDispatchConnection", &TCustomRemoteServer::StaticClassInfo())
                                    .property("ServerGUID", &TDispatchConnection::ServerGUID,
                                              &TDispatchConnection::SetServerGUID)
                                    .property("ServerName", &TDispatchConnection::ServerName,
                                              &TDispatchConnection::SetServerName)
                                    .build();
  return info;
}

void TDispatchConnection::CheckServerName() const {
  if (serverName_.empty() && serverGUID_.empty())
    throw Exception("Cannot connect, " + Name() + " must contain a valid ServerName or ServerGUID");
}

// ---- TSocketConnection -----------------------------------------------------

const ClassInfo& TSocketConnection::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TSocketConnection>("TSocketConnection", &TDispatchConnection::StaticClassInfo())
          .creatable()
          .property("Address", &TSocketConnection::Address, &TSocketConnection::SetAddress)
          .property("Host", &TSocketConnection::Host, &TSocketConnection::SetHost)
          .object<TCustomObjectBroker>("ObjectBroker", &TSocketConnection::ObjectBroker,
                                       &TSocketConnection::SetObjectBroker)
          .property("Port", &TSocketConnection::Port, &TSocketConnection::SetPort)
          .defaultValue(211)
          .property("SupportCallbacks", &TSocketConnection::SupportCallbacks,
                    &TSocketConnection::SetSupportCallbacks)
          .defaultValue(1)
          .build();
  return info;
}

TSocketConnection::TSocketConnection(TComponent* owner) : TDispatchConnection(owner) {}

Variant TSocketConnection::CreateAppServer() {
  CheckServerName();
  if (address_.empty() && host_.empty())
    throw ESocketConnectionError("Cannot connect, " + Name() + " has no Address or Host");
  SocketTransport transport;
  {
    TransportSlot& slot = Transport();
    const std::lock_guard guard(slot.lock);
    transport = slot.transport;
  }
  if (!transport)
    throw ESocketConnectionError("Cannot connect to " + (address_.empty() ? host_ : address_) +
                                 ":" + std::to_string(port_) +
                                 ": no socket transport is installed");
  return transport(*this);
}

// ---- TDCOMConnection -------------------------------------------------------

const ClassInfo& TDCOMConnection::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TDCOMConnection>("TDCOMConnection", &TDispatchConnection::StaticClassInfo())
          .creatable()
          .build();
  return info;
}

Variant TDCOMConnection::CreateAppServer() {
  CheckServerName();
  return CreateOleObject(ServerName().empty() ? ServerGUID() : ServerName());
}

}  // namespace ox
