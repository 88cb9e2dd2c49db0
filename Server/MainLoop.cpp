// CBaseServer::MainLoop: one pass of timers, network, rounds and console input, then a sleep.
#include <algorithm>
#include "Engine/Clock.h"
#include "Server/BaseServer.h"

using namespace Ferrox3D;

void CBaseServer::MainLoop() {
    while (RunPass())
        Sleep(GetPlayerCount() > 0 ? 5 : 50);
}

bool CBaseServer::RunPass() {
    {
        std::lock_guard<CLockable> lock(m_ServerLock);
        uint64_t ticks = GetClockTicks();
        double elapsed = static_cast<double>(ticks - m_PreviousTicks) / static_cast<double>(GetClockFrequency());
        m_PreviousTicks = ticks;
        m_FrameTime.m_fDeltaTime = m_FrameTime.m_fTimeScale * std::min(m_FrameTime.m_fLimit, elapsed);
        m_PassStartTime = Now();

        ProcessTimers(m_FrameTime.m_fDeltaTime);
        ProcessResourceRequests();
        ProcessHTTPRequests();
        if (m_bRCon)
            PollRemoteConsole();
        if (m_bShutdown || m_QuitSignal.IsSignalled())
            return false;
        UpdateTransport();
        if (m_bServerBrowser)
            ProcessServerListing(m_FrameTime.m_fDeltaTime);
        if (GetPlayerCount() > 0) {
            uint32_t now = Now();
            if (now > m_StreamTimer) {
                m_StreamTimer = now + m_usStreamInterval;
                StreamingRound();
            }
            if (m_SyncMethod == SYNC_METHOD_INTERVAL && now > m_SyncTimer) {
                SyncRound();
                m_SyncTimer = now + m_usSyncInterval;
            }
        }
        OnProcess(m_FrameTime);
        RefreshQuerySnapshot();
    }
    ProcessConsoleInput();
    return true;
}
