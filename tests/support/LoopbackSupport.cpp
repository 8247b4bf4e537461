#include "LoopbackSupport.h"

#include <winsock2.h>

#include <cstring>
#include <stdexcept>
#include <utility>

namespace testsupport {

TLoopbackListener::TLoopbackListener()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data)) throw std::runtime_error("WSAStartup failed");
    FListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    auto* named = reinterpret_cast<sockaddr*>(&address);
    if (bind(FListener, named, size) || listen(FListener, 4) || getsockname(FListener, named, &size))
        throw std::runtime_error("no loopback listener");
    FPort = ntohs(address.sin_port);
}

TLoopbackListener::~TLoopbackListener()
{
    for (uintptr_t peer : FPeers) closesocket(peer);  // one closed before fails harmlessly
    closesocket(FListener);
    WSACleanup();
}

void TLoopbackListener::Accept() { FPeers.push_back(accept(FListener, nullptr, nullptr)); }

void TLoopbackListener::Send(int Peer, const char* Bytes)
{
    send(FPeers.at(Peer), Bytes, static_cast<int>(strlen(Bytes)), 0);
}

void TLoopbackListener::ClosePeer(int Peer) { closesocket(std::exchange(FPeers.at(Peer), INVALID_SOCKET)); }

bool TLoopbackListener::ClosedByClient(int Peer)
{
    fd_set readable{1, {FPeers.at(Peer)}};
    timeval second{1, 0};
    char byte;
    return select(0, &readable, nullptr, nullptr, &second) == 1 && recv(FPeers.at(Peer), &byte, 1, 0) == 0;
}

}  // namespace testsupport
