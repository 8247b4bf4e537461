#pragma once
#include <cstdint>
#include <vector>

namespace testsupport {

// A TCP listener on 127.0.0.1 with the peers it has accepted (real Winsock, started and cleaned up with it).
class TLoopbackListener {
public:
    TLoopbackListener();
    ~TLoopbackListener();
    TLoopbackListener(const TLoopbackListener&) = delete;
    TLoopbackListener& operator=(const TLoopbackListener&) = delete;
    uint16_t Port() const { return FPort; }
    // Takes the next connection that has come in as the next peer.
    void Accept();
    void Send(int Peer, const char* Bytes);
    void ClosePeer(int Peer);
    // Waits up to a second for the client to close its end of the peer's connection.
    bool ClosedByClient(int Peer);

private:
    uintptr_t FListener;
    std::vector<uintptr_t> FPeers;
    uint16_t FPort = 0;
};

}  // namespace testsupport
