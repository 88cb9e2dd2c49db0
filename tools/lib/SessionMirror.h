// What a client has learnt from the server: acceptance, settings, the client list, chat and events.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include "Engine/BinaryIO.h"

namespace TestClient {

struct tClientRecord {
    uint8_t m_Flags = 0;  // 1 administrator, 2 console
    uint8_t m_Game = 0;
    int32_t m_PlayerId = -1;
    std::string m_Name;
    std::map<std::string, std::string> m_Data;  // values rendered as text
};

struct tAccepted {
    int32_t m_Index = -1;
    uint16_t m_HttpPort = 0;
    std::string m_HttpUrl;
    uint16_t m_SyncInterval = 0;
    uint8_t m_SyncMethod = 0;
};

struct tChatLine {
    uint32_t m_Colour;
    std::string m_Text;
};

struct tNetworkEvent {
    std::string m_Name;
    std::string m_Arguments;  // rendered array
};

class CSessionMirror {
public:
    // Applies one server message; false when a message this mirror knows is malformed.
    bool Apply(uint32_t id, Ferrox3D::CBinaryReader& body);

    bool m_bAccepted = false;
    tAccepted m_Accepted;
    std::vector<std::pair<std::string, std::string>> m_Cvars;
    std::string m_GameMode;
    std::string m_ServerName;
    uint16_t m_PlayerLimit = 0;
    std::map<int32_t, tClientRecord> m_Clients;
    int32_t m_LocalPlayer = -1;
    int m_JoinCompleted = 0;
    std::vector<tChatLine> m_Chat;
    std::vector<tNetworkEvent> m_NetworkEvents;

private:
    bool ApplyAccepted(Ferrox3D::CBinaryReader& body);
    bool ApplyCvars(Ferrox3D::CBinaryReader& body);
    bool ApplyClientList(Ferrox3D::CBinaryReader& body);
    bool ApplyClientsAdded(Ferrox3D::CBinaryReader& body);
    bool ApplyClientsRemoved(Ferrox3D::CBinaryReader& body);
    bool ReadClientEntries(Ferrox3D::CBinaryReader& body, uint16_t count);  // index + record, count times
    bool ApplyClientData(Ferrox3D::CBinaryReader& body);
    bool ApplyPerClient(uint32_t id, Ferrox3D::CBinaryReader& body);
    bool ApplyChat(Ferrox3D::CBinaryReader& body);
    bool ApplyNetworkEvent(Ferrox3D::CBinaryReader& body);
};

// One client record in its wire form (flags, game, player id, name, data).
bool ReadClientRecord(Ferrox3D::CBinaryReader& body, tClientRecord& record);

}  // namespace TestClient
