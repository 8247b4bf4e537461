#pragma once
#include <cstdint>
#include <vector>

namespace testsupport {

// A TCP listener on 127.0.0.1 and the peers it has accepted, on real Winsock (started and cleaned up with it).
class TLoopbackListener {
public:
    TLoopbackListener();
    ~TLoopbackListener();
    TLoopbackListener(const TLoopbackListener&) = delete;
    TLoopbackListener& operator=(const TLoopbackListener&) = delete;
    uint16_t Port() const { return FPort; }
    void Accept();  // the next connection that has come in becomes the next peer
    void Send(int Peer, const char* Bytes);
    void ClosePeer(int Peer);
    bool ClosedByClient(int Peer);  // waits up to a second for the client's close

private:
    uintptr_t FListener;
    std::vector<uintptr_t> FPeers;
    uint16_t FPort = 0;
};

}  // namespace testsupport
