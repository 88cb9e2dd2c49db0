// The script events of joining and leaving, raised through the server's event registry.
#include "Engine/ArgumentArray.h"
#include "Scripting/EventHandlers.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

void CServerSession::SetEventHandlers(CEventHandlers* pEvents) {
    m_pEvents = pEvents;
    if (!pEvents)
        return;
    pEvents->CreateEventType("OnPlayerConnect", "Called when a player is attempting to connect", 1, true);
    pEvents->CreateEventType("OnPlayerJoin", "Called when a player has connected and is joining", 1, false);
    pEvents->CreateEventType("OnPlayerJoined", "Called when the player has joined the game", 1, false);
    pEvents->CreateEventType("OnPlayerQuit", "Called when a player disconnects", 2, false);
}

CEventType* CServerSession::FindEvent(const char* name) const {
    return m_pEvents ? m_pEvents->GetEventType(name) : nullptr;
}

bool CServerSession::RaisePlayerConnect(const std::string& address) {
    CEventType* pType = FindEvent("OnPlayerConnect");
    if (!pType)
        return true;
    CArgumentArray arguments;
    arguments.AddString(address.c_str(), address.size());
    bool bPrevented = false;
    pType->Trigger(&arguments, bPrevented);
    return !bPrevented;
}

void CServerSession::RaiseClientEvent(const char* name, CNetMachine* pClient) {
    if (CEventType* pType = FindEvent(name)) {
        CArgumentArray arguments;
        arguments.AddObject(pClient);
        pType->Trigger(&arguments);
    }
}

void CServerSession::RaisePlayerJoin(CNetMachine* pClient) { RaiseClientEvent("OnPlayerJoin", pClient); }

void CServerSession::RaisePlayerJoined(CNetMachine* pClient) { RaiseClientEvent("OnPlayerJoined", pClient); }

void CServerSession::RaisePlayerQuit(CNetMachine* pClient, uint32_t reason) {
    if (CEventType* pType = FindEvent("OnPlayerQuit")) {
        CArgumentArray arguments;
        arguments.AddObject(pClient);
        arguments.AddNumber(reason);
        pType->Trigger(&arguments);
    }
}
