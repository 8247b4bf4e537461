#pragma once
// A TCP client component on Winsock 2: connect, ask whether the connection is still open, disconnect.
// Winsock is started with the first client of the process and cleaned up when the last one is gone.

#include <cstdint>
#include <string>

#include "Classes.h"

class TIdTCPClient : public TComponent {
public:
    explicit TIdTCPClient(TComponent* AOwner);
    ~TIdTCPClient() override;  // closes the socket

    // Connects to Host (a name or a dotted address) on Port; throws when no address of the host accepts, or when
    // this client is connected already. A connection that the peer has closed is closed first.
    void Connect(const std::string& Host, uint16_t Port);
    // True only while the connection is open: a peer that has closed its end (and left nothing unread) reads as
    // not connected. Neither waits nor takes data from the socket.
    bool Connected() const;
    // Closes the connection; a client that is not connected is left as it is.
    virtual void Disconnect();

private:
    void CloseSocket();
    // A Winsock SOCKET (kept as its integer type, so that users of this header need no Winsock header).
    static constexpr std::uintptr_t NoSocket = ~std::uintptr_t(0);
    std::uintptr_t FSocket = NoSocket;
};
