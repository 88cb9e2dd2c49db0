// The server's console: the input thread's lines, console command lines and the timer step.
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Multiplayer/NetMachine.h"
#include "Server/BaseServer.h"
#include "Server/ConsoleInput.h"
#include "Server/ServerScripting.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

CNetMachine* CBaseServer::GetConsoleClient() { return GetSession().GetMachines().Get(CONSOLE_CLIENT_SLOT); }

void CBaseServer::ProcessTimers(double deltaTime) { m_pScripting->GetTimers().Process(deltaTime); }

void CBaseServer::StartInputThread() { m_pConsoleInput->Start(); }
void CBaseServer::ReleaseInputThread() { m_pConsoleInput->Release(); }
void CBaseServer::DiscardConsoleInput() { m_pConsoleInput->Discard(); }

void CBaseServer::ProcessConsoleInput() {
    for (const std::string& line : m_pConsoleInput->TakeLines()) {
        // Over-long lines (the pieces of a very long one included) are skipped without a word.
        if (!line.empty() && line.size() <= CONSOLE_LINE_MAX)
            m_pScripting->GetCommands().ConsoleCommandOnly(line.c_str(), GetConsoleClient(), true);
    }
}

void CBaseServer::ConsoleCommand(const std::string& line) {
    m_pScripting->GetCommands().ConsoleCommand(line.c_str(), true);
}
