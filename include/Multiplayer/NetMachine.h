// A connected client's record (script class Client): its peer, slot, name, game and flags, and its wire form.
#pragma once
#include <cstdint>
#include <string>
#include "Engine/ArgumentMap.h"
#include "Engine/ObjectModel.h"
#include "Engine/Stream.h"
#include "Network/IPAddress.h"
#include "Network/Packet.h"

class CENetSystem;
typedef struct _ENetPeer ENetPeer;

enum eClientFlags : uint8_t {
    CLIENT_FLAG_ADMINISTRATOR = 1,
    CLIENT_FLAG_CONSOLE = 2,
};

class CNetMachine : public Ferrox3D::CBaseObject {
public:
    CNetMachine() = default;

    // Sends to this client's peer; never to the console (false).
    bool SendPacket(const Packet* pPacket, ePacketPriority priority = PRIORITY_LOW,
                    uint32_t flags = PACKET_FLAG_RELIABLE, uint8_t channel = PACKET_CHANNEL_MESSAGES);
    // PACKET_CLIENT_FLAGS to everyone.
    void SendUpdate();
    // Only when joined: PACKET_LOCAL_PLAYER with the player element's id, or -1.
    void SendPlayer();

    // Per-client script data. A nil value removes the key; any other value is stored as a copy, and
    // one that cannot be copied is refused (false, nothing sent). With sync, PACKET_CLIENT_DATA
    // then goes to everyone.
    bool SetData(const std::string& key, const Ferrox3D::CArgument* pValue, bool bSync);
    // PACKET_CLIENT_DATA with type 0 to everyone when the key existed.
    bool RemoveData(const std::string& key);
    // Empties the data and sends PACKET_CLIENT_CLEAR_DATA to everyone.
    void ClearData();
    const Ferrox3D::CArgumentMap& GetData() const { return m_Data; }

    // The record's wire form: flags, game id, player id, name, data; false when it cannot be written.
    bool Write(Ferrox3D::Stream* pStream) const;
    uint8_t GetFlags() const;

    const std::string& GetName() const { return m_Name; }
    int32_t GetIndex() const { return m_Index; }
    ENetPeer* GetPeer() const { return m_pPeer; }
    bool IsConsole() const { return m_bConsole; }
    bool IsJoined() const { return m_bJoined; }

    CENetSystem* m_pNetSystem = nullptr;  // the route to the transport; none for records made in tests
    CIPAddress m_Address;
    ENetPeer* m_pPeer = nullptr;  // none for the console
    uint64_t m_PeerWord = 0;
    std::string m_GameText;
    int32_t m_Game = -1;
    int32_t m_Index = -1;
    std::string m_Name;
    int32_t m_PlayerId = -1;  // network id of the player element, -1 when none
    bool m_bJoined = false;
    bool m_bAdministrator = false;
    bool m_bConsole = false;
    bool m_bStreamingEnabled = true;
    bool m_bLeaving = false;  // set while the disconnect path runs, so it runs once
    uint32_t m_MalformedCount = 0;  // malformed messages received; only the first few are logged

private:
    void SendDataChange(const std::string& key, const Ferrox3D::CArgument* pValue);
    void SendToEveryone(const Packet& packet);

    Ferrox3D::CArgumentMap m_Data;
};
