#include "net/SocketTransport.h"

namespace ox::net {

SocketTransport InstallSocketTransport(const RemoteOptions& options) {
  return SetSocketTransport([options](const TSocketConnection& connection) {
    const std::string& address =
        connection.Address().empty() ? connection.Host() : connection.Address();
    const std::string& name =
        connection.ServerName().empty() ? connection.ServerGUID() : connection.ServerName();
    DispatchPtr server = RemoteObject::Connect(address, connection.Port(), name, options);
    return Variant(std::move(server));
  });
}

}  // namespace ox::net
