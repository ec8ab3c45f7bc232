// Makes every TSocketConnection of the program reach its server over TCP: the
// connection's Address (else its Host, resolved), its Port, and its ServerName (else
// ServerGUID) as the name of the server object asked for.
#pragma once

#include "net/RemoteObject.h"

namespace ox::net {

// Installs the transport (ox::SetSocketTransport); answers the one installed before.
SocketTransport InstallSocketTransport(const RemoteOptions& options = {});

}  // namespace ox::net
