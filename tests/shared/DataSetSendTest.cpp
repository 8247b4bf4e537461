// The idle check of the TCP clients on loopback connections: with a clock of the test's own (the 32-bit wrap
// without waiting 49.7 days), and on the real timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "DataSetSend.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "LoopbackSupport.h"
#include "WindowSupport.h"

namespace {

uint32_t Now = 0;
int Readings = 0;
uint32_t TestClock()
{
    ++Readings;
    return Now;
}

struct TCase {
    const char* What;
    int32_t Timeout;
    int64_t LastActivity;  // -1: never set since construction
    bool Busy;
    std::vector<uint32_t> Ticks;
    std::vector<bool> Connected;  // after each tick
};

const TCase Cases[] = {
    {"idle", 300, 1000, false, {1100, 1299, 1300, 1400}, {true, true, false, false}},
    {"busy", 300, 1000, true, {1300, 90000, 0xFFFFFFF0}, {true, true, true}},
    {"idle since the system started", 300, -1, false, {299, 300}, {true, false}},
    {"idle 2^31 ms or more", 5000, 0, false, {0x90000000}, {false}},
    {"wrapped", 300, 0xFFFFFF00, false, {50, 349, 350}, {true, true, false}},
    {"negative timeout", -1, 7000, false, {7000}, {false}},
    {"most negative timeout", INT32_MIN, 7000, false, {7000}, {false}},
    {"zero timeout", 0, 7000, false, {7000}, {false}},
};

class IdleCheckTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        IdleTickSource = Saved;
        IdleTimeout = 5000;
        Application->OnException = nullptr;
    }
    template <class T = TCVIdTCPClient>
    std::unique_ptr<T> ConnectedClient()
    {
        auto client = std::make_unique<T>(nullptr);
        client->Connect("127.0.0.1", Listener.Port());
        Listener.Accept();
        return client;
    }
    const TTickSource Saved = IdleTickSource;
    testsupport::TLoopbackListener Listener;
};

TEST_F(IdleCheckTest, DisconnectsAtTheFirstTickAtOrPastTheTimeoutWhenConnectedAndNotBusy)
{
    IdleTickSource = &TestClock;
    int peer = 0;
    for (const TCase& c : Cases) {
        IdleTimeout = c.Timeout;
        auto client = ConnectedClient();
        Now = static_cast<uint32_t>(c.LastActivity);
        if (c.LastActivity >= 0) client->SetBusy(c.Busy);
        std::vector<bool> connected;
        for (uint32_t tick : c.Ticks) {
            Now = tick;
            client->IdleTimerTick(client->IdleTimer());
            EXPECT_TRUE(client->IdleTimer()->Enabled()) << c.What;
            connected.push_back(client->Connected());
        }
        EXPECT_EQ(connected, c.Connected) << c.What;
        const auto disconnect = std::find(connected.begin(), connected.end(), false);
        if (disconnect != connected.end()) {
            // Through the override: active at the disconnect.
            EXPECT_EQ(client->LastActivity(), c.Ticks[disconnect - connected.begin()]) << c.What;
            EXPECT_TRUE(Listener.ClosedByClient(peer)) << c.What;
        }
        ++peer;
    }
    TCVIdTCPClient unconnected(nullptr);
    Readings = 0;
    unconnected.IdleTimerTick(unconnected.IdleTimer());
    EXPECT_EQ(Readings, 0);
    EXPECT_EQ(unconnected.LastActivity(), 0u);
}

struct TFailingClient : TCVIdTCPClient {
    using TCVIdTCPClient::TCVIdTCPClient;
    void Disconnect() override { throw Exception("disconnect failed " + std::to_string(++Calls)); }
    int Calls = 0;
};

TEST_F(IdleCheckTest, AFailingDisconnectIsReportedAndTheTimerGoesOn)
{
    IdleTimeout = -1;
    std::vector<std::string> reports;
    Application->OnException = [&](TObject*, const std::exception* E) { reports.push_back(E->what()); };
    auto client = ConnectedClient<TFailingClient>();
    testsupport::PumpUntil([&] { return client->Calls >= 2; }, 6000);
    EXPECT_EQ(reports, std::vector<std::string>({"disconnect failed 1", "disconnect failed 2"}));
}

}  // namespace
