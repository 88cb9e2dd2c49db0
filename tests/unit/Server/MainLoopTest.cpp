// Pass order of the main loop, the shutdown check and the frame-time limit.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Engine/Clock.h"
#include "Server/BaseServer.h"

namespace {

class CRecordingServer : public CBaseServer {
public:
    std::vector<std::string> calls;
    size_t players = 0;
    bool shutdownInTimers = false;
    double lastDelta = -1;
    uint32_t now = 1;  // milliseconds; the round timers start at 0

    size_t GetPlayerCount() const override { return players; }
    void SetPreviousTicks(uint64_t ticks) { m_PreviousTicks = ticks; }

protected:
    void ProcessTimers(double delta) override {
        lastDelta = delta;
        calls.push_back("timers");
        if (shutdownInTimers)
            RequestShutdown();
    }
    void ProcessHTTPRequests() override { calls.push_back("http"); }
    void PollRemoteConsole() override { calls.push_back("rcon"); }
    void UpdateTransport() override { calls.push_back("transport"); }
    void ProcessServerListing(double) override { calls.push_back("listing"); }
    void StreamingRound() override { calls.push_back("streaming"); }
    void SyncRound() override { calls.push_back("sync"); }
    void OnProcess(const FrameTimeInfo&) override { calls.push_back("process"); }
    void RefreshQuerySnapshot() override { calls.push_back("query"); }
    void ProcessConsoleInput() override { calls.push_back("console"); }
    void Sleep(uint32_t ms) override { calls.push_back("sleep " + std::to_string(ms)); }
    uint32_t Now() const override { return now; }
};

using Calls = std::vector<std::string>;

}  // namespace

TEST(MainLoop, PassOrderWithoutPlayers) {
    CRecordingServer server;
    server.InitialiseFrameTimer();
    EXPECT_TRUE(server.RunPass());
    EXPECT_EQ(server.calls, (Calls{"timers", "http", "transport", "process", "query", "console"}));
}

TEST(MainLoop, PassOrderWithPlayersRconAndListing) {
    CRecordingServer server;
    server.m_bRCon = true;
    server.m_bServerBrowser = true;
    server.players = 1;
    server.InitialiseFrameTimer();
    EXPECT_TRUE(server.RunPass());
    // Both round timers start at 0, so the first pass with a player runs both rounds.
    EXPECT_EQ(server.calls, (Calls{"timers", "http", "rcon", "transport", "listing", "streaming", "sync", "process",
                                   "query", "console"}));
    server.calls.clear();
    server.now += 30;  // the sync interval has not passed yet (now must exceed the timer)
    EXPECT_TRUE(server.RunPass());
    EXPECT_EQ(server.calls, (Calls{"timers", "http", "rcon", "transport", "listing", "process", "query", "console"}));
    server.calls.clear();
    server.now += 1;
    EXPECT_TRUE(server.RunPass());
    EXPECT_EQ(server.calls, (Calls{"timers", "http", "rcon", "transport", "listing", "sync", "process", "query", "console"}));
    server.calls.clear();
    server.now = 1002;  // past the stream timer, 1 + 1000
    EXPECT_TRUE(server.RunPass());
    EXPECT_EQ(server.calls, (Calls{"timers", "http", "rcon", "transport", "listing", "streaming", "sync", "process",
                                   "query", "console"}));
}

TEST(MainLoop, SyncMethodsOtherThanIntervalSendNoPeriodicSync) {
    for (int method : {SYNC_METHOD_NONE, SYNC_METHOD_REPLAY}) {
        CRecordingServer server;
        server.m_SyncMethod = method;
        server.players = 2;
        server.InitialiseFrameTimer();
        server.RunPass();
        EXPECT_EQ(server.calls, (Calls{"timers", "http", "transport", "streaming", "process", "query", "console"}));
    }
}

TEST(MainLoop, ShutdownEndsTheLoopBeforeTheNetwork) {
    CRecordingServer server;
    server.m_bRCon = true;
    server.shutdownInTimers = true;
    server.InitialiseFrameTimer();
    server.MainLoop();
    EXPECT_EQ(server.calls, (Calls{"timers", "http", "rcon"}));
}

TEST(MainLoop, QuitSignalEndsTheLoopAndSleepFollowsThePlayerCount) {
    CRecordingServer server;
    server.InitialiseFrameTimer();
    EXPECT_TRUE(server.RunPass());
    server.GetQuitSignal().Signal();
    server.calls.clear();
    server.MainLoop();
    EXPECT_EQ(server.calls, (Calls{"timers", "http"}));

    CRecordingServer busy;
    busy.players = 1;
    busy.shutdownInTimers = false;
    busy.InitialiseFrameTimer();
    busy.RunPass();
    busy.GetQuitSignal().Signal();
    busy.calls.clear();
    busy.MainLoop();
    EXPECT_EQ(busy.calls.back(), "http");
}

TEST(MainLoop, FrameDeltaIsLimited) {
    CRecordingServer server;
    uint64_t oneSecond = Ferrox3D::GetClockFrequency();
    server.SetPreviousTicks(Ferrox3D::GetClockTicks() - oneSecond);
    server.RunPass();
    EXPECT_DOUBLE_EQ(server.lastDelta, 0.0625);
    server.RunPass();
    EXPECT_LE(server.lastDelta, 0.0625);
    EXPECT_GE(server.lastDelta, 0.0);
}
