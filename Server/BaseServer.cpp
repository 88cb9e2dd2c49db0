// Engine-level server: rules, cvars, command-line overrides, start-up hooks and shutdown request.
#include "Server/BaseServer.h"
#include <arpa/inet.h>
#include <netdb.h>
#include <chrono>
#include <thread>
#include "Engine/CRC32.h"
#include "Engine/Clock.h"
#include "Engine/Log.h"
#include "Scripting/Resource.h"
#include "Server/ConsoleInput.h"
#include "Server/ResourceConsoleCommands.h"
#include "Server/ServerResourceMgr.h"
#include "Server/ServerScripting.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

CBaseServer::CBaseServer()
    : m_pScripting(std::make_unique<CServerScripting>(*this)), m_pConsoleInput(std::make_unique<CConsoleInput>()),
      m_pSession(std::make_unique<CServerSession>(*this)),
      m_pResourceMgr(std::make_unique<CServerResourceMgr>(*this, &m_pScripting->GetScripting())) {
    // Resources share the registries of the script root: a stopping resource takes its commands,
    // timers, key binds and network handlers with it.
    m_pResourceMgr->SetRegistrationRemover([this](CResource* pResource) { m_pScripting->RemoveResource(pResource); });
    m_pScripting->SetEventHandlers(&m_pResourceMgr->GetEventHandlers());
    m_pScripting->GetCommands().SetPassClient(true);
    m_pScripting->GetKeyBinds().SetPassClient(true);
    // consoleCommand from a script runs restricted commands only for privileged resources.
    m_pScripting->GetCommands().SetPrivilegeProc(
        [](CResource* pResource, void*) { return pResource && pResource->IsPrivileged(); }, nullptr);
    RegisterResourceCommands(m_pScripting->GetCommands(), *m_pResourceMgr);
}
CBaseServer::~CBaseServer() = default;

void CBaseServer::ApplyCommandLine(const tCommandLine& commandLine) {
    if (commandLine.multithreaded)
        m_bMultithreaded = *commandLine.multithreaded;
    if (commandLine.port)
        m_usPort = *commandLine.port;
    if (commandLine.httpPort)
        m_usHTTPPort = *commandLine.httpPort;
    if (commandLine.rconPort)
        m_usRConPort = *commandLine.rconPort;
    if (commandLine.maxPlayers)
        m_MaxPlayers = *commandLine.maxPlayers;
    if (commandLine.bindIP)
        m_BindIP = *commandLine.bindIP;
    m_bNoInput = commandLine.noInput;
    m_bDumpDoc = commandLine.dumpDoc;
}

void CBaseServer::SetRule(const std::string& name, const std::string& value) {
    for (auto& rule : m_Rules) {
        if (rule.first == name) {
            rule.second = value;
            return;
        }
    }
    m_Rules.emplace_back(name, value);
}

const std::string* CBaseServer::GetRule(const std::string& name) const {
    for (const auto& rule : m_Rules)
        if (rule.first == name)
            return &rule.second;
    return nullptr;
}

const tConfigVariable* CBaseServer::GetCVar(const char* name) const {
    auto found = m_ConfigVariables.find(NameKey(name, true));
    return found == m_ConfigVariables.end() ? nullptr : &found->second;
}

void CBaseServer::InitialiseFrameTimer() { m_PreviousTicks = GetClockTicks(); }

bool CBaseServer::ResolveBindAddress() {
    m_BindAddress = 0;
    if (m_BindIP.empty())
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* pResult = nullptr;
    if (getaddrinfo(m_BindIP.c_str(), nullptr, &hints, &pResult) == 0 && pResult) {
        m_BindAddress = reinterpret_cast<sockaddr_in*>(pResult->ai_addr)->sin_addr.s_addr;
        freeaddrinfo(pResult);
        return true;
    }
    in_addr address{};
    if (inet_pton(AF_INET, m_BindIP.c_str(), &address) != 1)
        return false;
    m_BindAddress = address.s_addr;
    return true;
}

// Until the transport exists there is no host to open; the listening line keeps its place.
bool CBaseServer::StartRemoteConsole() { return true; }
bool CBaseServer::StartHTTPServer() { return true; }

void CBaseServer::RequestShutdown() {
    m_bShutdown = true;
    m_QuitSignal.Signal();
}

uint32_t CBaseServer::Now() const { return GetMillisecondsNow(); }

void CBaseServer::Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
