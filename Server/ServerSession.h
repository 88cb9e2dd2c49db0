// The server's session layer: the game port, the client slot table, the handshake, joining and leaving.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "Engine/Stream.h"
#include "Multiplayer/ConnectMessage.h"
#include "Multiplayer/DisconnectReasons.h"
#include "Multiplayer/NetMachines.h"
#include "Network/ENetSystem.h"
#include "Server/BanList.h"

class CBaseServer;
namespace Ferrox3D {
namespace EventHandlers {
class CEventHandlers;
class CEventType;
}  // namespace EventHandlers
}  // namespace Ferrox3D

class CServerSession {
public:
    explicit CServerSession(CBaseServer& server);
    ~CServerSession();
    CServerSession(const CServerSession&) = delete;
    CServerSession& operator=(const CServerSession&) = delete;

    // Opens the game port with the configured bind address, port and threading mode.
    bool Open();
    void Update();
    // Sends what is queued and tells every client it was disconnected, then closes the port.
    void Shutdown();
    void CreateConsoleClient();

    // Registers OnPlayerConnect, OnPlayerJoin, OnPlayerJoined and OnPlayerQuit in the registry and
    // raises them there from now on; until then nothing is raised.
    void SetEventHandlers(Ferrox3D::EventHandlers::CEventHandlers* pEvents);

    // The transport's events, forwarded by the server.
    bool OnPlayerConnect(ENetPeer* pPeer);
    void OnPlayerDisconnect(ENetPeer* pPeer, uint32_t reason);
    // Handles the session messages of this layer; false for ids it leaves to others.
    bool ProcessPacket(const tPeerInfo& peer, uint32_t id, Ferrox3D::Stream* pStream);

    // Removes the client at once (OnPlayerQuit with the reason), then disconnects its peer.
    void DisconnectClient(CNetMachine* pClient, uint32_t reason);
    void SendGameMode(CNetMachine* pClient);    // null: everyone
    void SendServerName(CNetMachine* pClient);  // null: everyone
    // To every connected client that passed the handshake.
    bool SendToEveryone(const Packet& packet);

    size_t GetPlayerCount() const { return m_PlayerCount; }
    CNetMachines& GetMachines() { return m_Machines; }
    CBanList& GetBanList() { return m_BanList; }
    CENetSystem* GetNetSystem() { return m_pNetSystem.get(); }

private:
    void HandleConnect(ENetPeer* pPeer, Ferrox3D::Stream* pStream);
    // The ordered checks; a refusal has been logged and answered when it returns false.
    bool CheckConnect(ENetPeer* pPeer, const std::string& address, const tConnectMessage& message, int32_t& slot);
    void Refuse(ENetPeer* pPeer, uint32_t reason, const char* format, const std::string& who);
    CNetMachine* Admit(ENetPeer* pPeer, const CIPAddress& address, const std::string& name, int32_t slot);
    void Welcome(CNetMachine* pClient);
    void HandleJoin(CNetMachine* pClient);
    void HandleLeave(CNetMachine* pClient, Ferrox3D::Stream* pStream);
    void RemoveClient(CNetMachine* pClient, uint32_t reason);
    void SendCvars(CNetMachine* pClient);
    void SendConnectAccepted(CNetMachine* pClient);
    void SendClientAdded(CNetMachine* pClient);
    void SendClientList(CNetMachine* pClient);
    void SendText(CNetMachine* pClient, uint32_t id, const std::string& text);

    // Script events; cancellable ones report whether the default may go ahead.
    bool RaisePlayerConnect(const std::string& address);
    void RaisePlayerJoin(CNetMachine* pClient);
    void RaisePlayerJoined(CNetMachine* pClient);
    void RaisePlayerQuit(CNetMachine* pClient, uint32_t reason);
    void RaiseClientEvent(const char* name, CNetMachine* pClient);
    Ferrox3D::EventHandlers::CEventType* FindEvent(const char* name) const;

    CBaseServer& m_Server;
    std::unique_ptr<CENetSystem> m_pNetSystem;
    CNetMachines m_Machines;
    CBanList m_BanList;
    size_t m_PlayerCount = 0;
    Ferrox3D::EventHandlers::CEventHandlers* m_pEvents = nullptr;
};

// True when the version (major, minor, patch, build) is below the minimum, compared in that order.
bool IsClientVersionOlder(const uint32_t version[4], const int minimum[4]);
