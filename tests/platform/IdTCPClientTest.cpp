// The TCP client base on real Winsock over the loopback interface.
#include <winsock2.h>  // before the windows.h that GoogleTest's port brings
#include <gtest/gtest.h>

#include <memory>

#include "IdTCPClient.h"
#include "LoopbackSupport.h"
#include "TestSupport.h"

namespace {

// Whether Winsock is started: only then can a socket be made.
bool WinsockStarted()
{
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    closesocket(s);
    return true;
}

// Sets aside the Winsock starts that others left open (cleaned up for the scope, made again after it), so that
// the clients' own start shows.
struct TWinsockSetAside {
    int Starts = 0;
    TWinsockSetAside()
    {
        while (WSACleanup() == 0) ++Starts;
    }
    ~TWinsockSetAside()
    {
        WSADATA data;
        for (; Starts > 0; --Starts) WSAStartup(MAKEWORD(2, 2), &data);
    }
};

TEST(TcpClientTest, WinsockRunsFromTheFirstClientUntilTheLastIsGone)
{
    TWinsockSetAside others;
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
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !other.Connected(); }));
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
    EXPECT_FALSE(testsupport::WaitUntil([&] { return !client.Connected(); }, 200));
}

}  // namespace
