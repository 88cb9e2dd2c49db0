// The engine-level server: configuration, rules and cvars, start-up hooks and the main loop.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>
#include "Engine/Signalable.h"
#include "Network/NetCompatibilityShim.h"
#include "Server/CommandLine.h"
#include "Server/ServerConfiguration.h"

constexpr int NETWORK_PROTOCOL_VERSION = 29;
constexpr const char* SERVER_VERSION_TEXT = "1.6.1";

enum eSyncMethod { SYNC_METHOD_NONE = 0, SYNC_METHOD_INTERVAL = 1, SYNC_METHOD_REPLAY = 2 };

struct FrameTimeInfo {
    double m_fDeltaTime = 0.0;   // seconds of this pass, after the limit and the scale
    double m_fLimit = 0.0625;    // longest delta one pass may advance
    double m_fTimeScale = 1.0;
};

struct tConfigVariable {
    std::string m_Name;
    std::string m_Value;
};

using CLockable = std::mutex;

class CNetMachine;
class CServerSession;
class CServerScripting;
class CConsoleInput;
class CServerResourceMgr;
namespace Ferrox3D {
class CArgumentArray;
class INetObjectResolver;
class ReflectedClass;
}  // namespace Ferrox3D

class CBaseServer : public CNetCompatibilityShim {
public:
    CBaseServer();
    virtual ~CBaseServer();
    CBaseServer(const CBaseServer&) = delete;
    CBaseServer& operator=(const CBaseServer&) = delete;

    // Engine-level keys in their documented order; false on the first fatal check.
    virtual bool ParseConfig(CServerConfiguration& config);
    // Overrides from the command line, applied after the parse and not checked again.
    void ApplyCommandLine(const tCommandLine& commandLine);

    // Rules: ordered, names unique byte for byte.
    void SetRule(const std::string& name, const std::string& value);
    const std::string* GetRule(const std::string& name) const;
    // Configuration variables, keyed by the case-folded name key.
    const tConfigVariable* GetCVar(const char* name) const;

    // Start-up steps after the configuration; the caller logs a failure.
    void InitialiseFrameTimer();
    bool ResolveBindAddress();          // m_BindIP to m_BindAddress; empty means all addresses
    virtual bool CreateNetworkHost();   // UDP host on the game port
    virtual bool StartRemoteConsole();  // only called with rcon on
    virtual bool StartHTTPServer();     // only called with httpserver on
    virtual void CreateConsoleClient();  // client slot 255
    virtual void StartResources();       // the start list, in order, then OnServerStart
    virtual void StartInputThread();
    virtual void ReleaseInputThread();
    virtual void DiscardConsoleInput();
    // One line of "/commandline.txt" or "-dumpdoc", without its line feed, with full privileges.
    virtual void ConsoleCommand(const std::string& line);

    // Runs "/commandline.txt" from the file system when it exists.
    void RunCommandFile();

    void MainLoop();
    // One pass up to and including the console input step; false when the loop must end.
    bool RunPass();
    void RequestShutdown();  // the console "quit"/"exit" and the script shutdown
    Ferrox3D::Signalable& GetQuitSignal() { return m_QuitSignal; }

    virtual size_t GetPlayerCount() const;

    // The session layer: game port, client slots, handshake, joining and leaving (Server/ServerSession.h).
    CServerSession& GetSession() { return *m_pSession; }
    // Resources, the event registry and the script languages (Server/ServerResourceMgr.h).
    CServerResourceMgr& GetResourceMgr() { return *m_pResourceMgr; }
    void ProcessPacket(const tPeerInfo& peer, uint32_t id, Ferrox3D::Stream* pStream) override;
    bool OnPlayerConnect(ENetPeer* pPeer) override;
    void OnPlayerDisconnect(ENetPeer* pPeer, uint32_t reason) override;
    bool ReceiveDatagram(CNetSocket* pSocket) override;
    virtual CNetMachine* NewMachine();  // client record factory: a new record with one reference
    virtual void OnPlayerJoin(CNetMachine* pClient) {}    // game-layer hooks of the handshake
    virtual void OnPlayerJoined(CNetMachine* pClient) {}  // and of the join

    // Commands, timers, key binds, network handlers and the script root (Server/ServerScripting.h).
    CServerScripting& GetScripting() { return *m_pScripting; }
    CNetMachine* GetConsoleClient();
    // Chat from a client or the console's "say": OnPlayerChat, then logged and sent to everyone.
    void UserChat(CNetMachine* pClient, const char* text, size_t length);
    // PACKET_CHAT to the client (never the console), or to everyone without one.
    void SendChat(CNetMachine* pClient, const char* text, size_t length, uint32_t colour);
    void SendChatExcept(CNetMachine* pClient, const char* text, size_t length, uint32_t colour);
    // PACKET_NETWORK_EVENT to the client (nothing for the console), or to everyone without one;
    // false when a value cannot go on the wire.
    bool SendNetworkEvent(CNetMachine* pClient, const char* name, const Ferrox3D::CArgumentArray& arguments);

protected:
    // The steps of one pass, in order; later subsystems fill them.
    virtual void ProcessTimers(double deltaTime);
    virtual void ProcessHTTPRequests() {}
    virtual void PollRemoteConsole() {}
    virtual void UpdateTransport();
    virtual void ProcessServerListing(double deltaTime) {}
    virtual void StreamingRound() {}
    virtual void SyncRound() {}
    virtual void OnProcess(const FrameTimeInfo& frameTime) {}
    virtual void RefreshQuerySnapshot() {}
    virtual void ProcessConsoleInput();
    virtual void Sleep(uint32_t milliseconds);
    virtual uint32_t Now() const;  // milliseconds since the clock was initialised

    // Parse hooks that later subsystems fill; they succeed when there is nothing to do.
    virtual bool LoadModules() { return true; }
    // Stops that scripts asked for on their own resource, and the JavaScript job queue.
    void ProcessResourceRequests();
    virtual bool DefineScriptClasses();
    virtual void RescanResources();
    virtual void SetResourcePrivileged(const std::string& name, bool privileged);

    bool ReadPassword(const CServerConfiguration& config, const char* key, std::string& record);

    // Chat, command, network-event and key messages of a client past the handshake; false for other ids.
    virtual bool ProcessPlayerMessage(CNetMachine* pClient, uint32_t id, Ferrox3D::Stream* pStream);
    // Resolves element ids in network-event values; none until there are network objects.
    virtual Ferrox3D::INetObjectResolver* GetNetObjectResolver() { return nullptr; }

public:
    // Parsed configuration (read directly by consumers).
    std::string m_LogPath;
    std::string m_BindIP;
    uint32_t m_BindAddress = 0;  // IPv4, network byte order; 0: all addresses
    std::string m_ServerName;
    std::string m_GameMode;
    std::string m_ServerListingURL;
    bool m_bServerBrowser = false;
    int m_MaxPlayers = 32;
    bool m_bServerQuery = true;
    uint16_t m_usPort = 22000;
    uint16_t m_usHTTPPort = 22000;
    std::string m_HTTPUrl;
    uint16_t m_usRConPort = 23000;
    bool m_bHTTPServer = true;
    bool m_bRCon = false;
    std::string m_RConPassword;  // password record; empty: no password
    uint16_t m_usSyncInterval = 30;
    int m_WaitEventTimeout = 5;
    int m_SyncMethod = SYNC_METHOD_INTERVAL;
    int m_SyncPacketPriority = 3;
    bool m_bSyncPacketReliable = false;
    bool m_bSyncPacketUnsequenced = false;
    bool m_bDuplicateNames = false;
    bool m_bMultithreaded = false;
    int m_MinClientVersion[4] = {1, 0, 0, 0};
    std::string m_Password;  // password record; empty: no password
    std::vector<std::string> m_ModuleList;
    std::vector<std::string> m_ResourceStartList;
    std::string m_GameText = "urbo:a";
    float m_fStreamInDistance = 100.0f;
    float m_fStreamOutDistance = 200.0f;
    uint16_t m_usStreamInterval = 1000;
    bool m_bNoInput = false;
    bool m_bDumpDoc = false;

    std::map<uint32_t, tConfigVariable> m_ConfigVariables;
    std::vector<std::pair<std::string, std::string>> m_Rules;
    Ferrox3D::ReflectedClass* m_pClientClass = nullptr;  // script class of client records (Server/ServerScriptAPI.h)

protected:
    CLockable m_ServerLock;  // held for the first part of each pass; taken before any other lock
    Ferrox3D::Signalable m_QuitSignal;
    bool m_bShutdown = false;
    FrameTimeInfo m_FrameTime;
    uint64_t m_PreviousTicks = 0;
    uint32_t m_PassStartTime = 0;
    uint32_t m_StreamTimer = 0;
    uint32_t m_SyncTimer = 0;

private:
    void HandleChat(CNetMachine* pClient, Ferrox3D::Stream* pStream);
    void HandleCommand(CNetMachine* pClient, Ferrox3D::Stream* pStream);
    void HandleNetworkEvent(CNetMachine* pClient, Ferrox3D::Stream* pStream);
    void HandleKeyEvent(CNetMachine* pClient, Ferrox3D::Stream* pStream);
    void DropMalformed(CNetMachine* pClient, uint32_t id);

    std::unique_ptr<CServerScripting> m_pScripting;
    std::unique_ptr<CConsoleInput> m_pConsoleInput;
    std::unique_ptr<CServerSession> m_pSession;
    std::unique_ptr<CServerResourceMgr> m_pResourceMgr;  // after the session: it goes first

    bool ParseLimits(const CServerConfiguration& config);
    bool ParseNetwork(const CServerConfiguration& config);
    void ParseSync(const CServerConfiguration& config);
    void ParseLists(const CServerConfiguration& config);
    void ParseCVarsAndRules(const CServerConfiguration& config);
    bool ParseStreaming(const CServerConfiguration& config);
};
