// The script events of chat and commands, raised through the server's event registry.
#include "Engine/ArgumentArray.h"
#include "Multiplayer/NetMachine.h"
#include "Scripting/EventHandlers.h"
#include "Server/ServerScripting.h"

using namespace Ferrox3D;

void CServerScripting::SetEventHandlers(CEventHandlers* pEvents) {
    m_pEvents = pEvents;
    if (!pEvents)
        return;
    pEvents->CreateEventType("OnPlayerChat", "Called when a player chats", 2, true);
    pEvents->CreateEventType("OnPlayerCommand", "Called when a player types a command", 3, true);
}

// Whether the default may go ahead: true when nobody listens or no handler prevented it.
bool CServerScripting::RaiseCancellable(const char* name, CArgumentArray& arguments) {
    CEventType* pType = m_pEvents ? m_pEvents->GetEventType(name) : nullptr;
    if (!pType)
        return true;
    bool bPrevented = false;
    pType->Trigger(&arguments, bPrevented);
    return !bPrevented;
}

bool CServerScripting::RaisePlayerChat(CNetMachine* pClient, const std::string& text) {
    CArgumentArray arguments(2);
    arguments.AddObject(pClient);
    arguments.AddString(text.data(), text.size());
    return RaiseCancellable("OnPlayerChat", arguments);
}

bool CServerScripting::RaisePlayerCommand(CNetMachine* pClient, const std::string& command,
                                          const std::string& parameters) {
    CArgumentArray arguments(3);
    arguments.AddObject(pClient);
    arguments.AddString(command.data(), command.size());
    arguments.AddString(parameters.data(), parameters.size());
    return RaiseCancellable("OnPlayerCommand", arguments);
}
