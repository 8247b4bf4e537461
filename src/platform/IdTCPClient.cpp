#include "IdTCPClient.h"

// Winsock 2 before anything that brings in windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>

static_assert(sizeof(SOCKET) == sizeof(std::uintptr_t) && INVALID_SOCKET == ~std::uintptr_t(0),
              "a SOCKET is kept as an unsigned pointer-sized integer");

namespace {

// Clients alive; Winsock is started by the first and cleaned up after the last (GUI thread only, like every
// component).
int WinsockUsers = 0;

void UseWinsock()
{
    if (WinsockUsers == 0) {
        WSADATA data;
        if (const int error = WSAStartup(MAKEWORD(2, 2), &data))
            throw Exception("Winsock could not be started (error " + IntToStr(error) + ")");
    }
    ++WinsockUsers;
}

void LeaveWinsock()
{
    if (--WinsockUsers == 0) WSACleanup();
}

// The addresses of a host, freed with the object.
class TAddressList {
public:
    TAddressList(const std::string& Host, uint16_t Port)
    {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        if (const int error = getaddrinfo(Host.c_str(), IntToStr(Port).c_str(), &hints, &FList))
            throw Exception("Cannot resolve host \"" + Host + "\" (error " + IntToStr(error) + ")");
    }
    TAddressList(const TAddressList&) = delete;
    TAddressList& operator=(const TAddressList&) = delete;
    ~TAddressList() { freeaddrinfo(FList); }
    const addrinfo* First() const { return FList; }

private:
    addrinfo* FList = nullptr;
};

}  // namespace

TIdTCPClient::TIdTCPClient(TComponent* AOwner) : TComponent(AOwner) { UseWinsock(); }

TIdTCPClient::~TIdTCPClient()
{
    CloseSocket();
    LeaveWinsock();
}

void TIdTCPClient::Connect(const std::string& Host, uint16_t Port)
{
    if (Connected()) throw Exception("Already connected.");
    CloseSocket();  // of a connection that the peer has closed
    const TAddressList addresses(Host, Port);
    int error = WSAEADDRNOTAVAIL;
    for (const addrinfo* a = addresses.First(); a; a = a->ai_next) {
        const SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET) {
            error = WSAGetLastError();
            continue;
        }
        if (connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0) {
            FSocket = s;
            return;
        }
        error = WSAGetLastError();
        closesocket(s);
    }
    throw Exception("Cannot connect to " + Host + ":" + IntToStr(Port) + " (error " + IntToStr(error) + ")");
}

bool TIdTCPClient::Connected() const
{
    if (FSocket == NoSocket) return false;
    // Readable with nothing to peek means the peer has closed (or reset) the connection; unread data keeps it open.
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(FSocket, &readable);
    timeval now{0, 0};
    const int ready = select(0, &readable, nullptr, nullptr, &now);
    if (ready == 0) return true;
    if (ready == SOCKET_ERROR) return false;
    char byte;
    return recv(FSocket, &byte, 1, MSG_PEEK) > 0;
}

void TIdTCPClient::Disconnect() { CloseSocket(); }

void TIdTCPClient::CloseSocket()
{
    if (FSocket == NoSocket) return;
    shutdown(FSocket, SD_BOTH);
    closesocket(FSocket);
    FSocket = NoSocket;
}
