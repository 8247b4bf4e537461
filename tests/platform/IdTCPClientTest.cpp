// The TCP client base on real Winsock over the loopback interface.
#include <gtest/gtest.h>
#include <winsock2.h>

#include <memory>

#include "IdTCPClient.h"
#include "LoopbackSupport.h"

namespace {

// Only the client's own start of Winsock lets a socket be made (nothing else in this test starts it).
bool WinsockStarted()
{
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    closesocket(s);
    return true;
}

TEST(TcpClientTest, WinsockRunsFromTheFirstClientUntilTheLastIsGone)
{
    ASSERT_FALSE(WinsockStarted());
    auto first = std::make_unique<TIdTCPClient>(nullptr);
    auto second = std::make_unique<TIdTCPClient>(nullptr);
    EXPECT_TRUE(WinsockStarted());
    first.reset();
    EXPECT_TRUE(WinsockStarted());
    second.reset();
    EXPECT_FALSE(WinsockStarted());
}

TEST(TcpClientTest, ConnectedUntilThePeerClosesNeverTakingData)
{
    testsupport::TLoopbackListener listener;
    TIdTCPClient client(nullptr);
    EXPECT_FALSE(client.Connected());
    client.Disconnect();  // not connected: nothing happens
    client.Connect("127.0.0.1", listener.Port());
    listener.Accept();
    EXPECT_TRUE(client.Connected());
    EXPECT_THROW(client.Connect("127.0.0.1", listener.Port()), Exception);

    TIdTCPClient other(nullptr);
    other.Connect("localhost", listener.Port());
    listener.Accept();
    listener.ClosePeer(1);
    Sleep(100);
    EXPECT_FALSE(other.Connected());
    // A dead connection is replaced by a new one, which Disconnect closes.
    other.Connect("127.0.0.1", listener.Port());
    listener.Accept();
    EXPECT_TRUE(other.Connected());
    other.Disconnect();
    EXPECT_FALSE(other.Connected());
    EXPECT_TRUE(listener.ClosedByClient(2));

    // Data not yet read keeps a closed connection open, however often it is asked: the question takes nothing.
    listener.Send(0, "ab");
    listener.ClosePeer(0);
    Sleep(100);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(client.Connected());
}

}  // namespace
