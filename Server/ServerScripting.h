// The server's script root and the registries that players and the operator reach: commands, timers, keys, network events.
#pragma once
#include <cstdint>
#include <string>
#include "Engine/Scripting.h"
#include "Multiplayer/NetworkHandlers.h"
#include "Scripting/CommandHandlers.h"
#include "Scripting/KeyBinds.h"
#include "Scripting/TimerHandlers.h"

class CBaseServer;
class CNetMachine;
namespace Ferrox3D::EventHandlers {
class CEventHandlers;
}  // namespace Ferrox3D::EventHandlers

constexpr uint32_t CHAT_COLOUR_PLAYER = 1;            // chat typed by a player or the console
constexpr uint32_t CHAT_COLOUR_SCRIPT = 0xFF00FF00;   // CARGB::Lime, the default of script messages

class CServerScripting {
public:
    // Registers the built-in commands and every script function of these registries.
    explicit CServerScripting(CBaseServer& server);
    CServerScripting(const CServerScripting&) = delete;
    CServerScripting& operator=(const CServerScripting&) = delete;

    Ferrox3D::CScripting& GetScripting() { return m_Scripting; }
    Ferrox3D::CCommandHandlers& GetCommands() { return m_Commands; }
    Ferrox3D::CTimerHandlers& GetTimers() { return m_Timers; }
    Ferrox3D::CKeyBinds& GetKeyBinds() { return m_KeyBinds; }
    CNetworkHandlers& GetNetworkHandlers() { return m_NetworkHandlers; }

    // The registry OnPlayerChat and OnPlayerCommand are created in and raised through (borrowed; null: none).
    void SetEventHandlers(Ferrox3D::EventHandlers::CEventHandlers* pEvents);
    // Script events of this layer; the cancellable ones report whether the default may go ahead.
    bool RaisePlayerChat(CNetMachine* pClient, const std::string& text);
    bool RaisePlayerCommand(CNetMachine* pClient, const std::string& command, const std::string& parameters);

    // A stopping resource: its command handlers, timers, key binds and network handlers, in that order.
    void RemoveResource(Ferrox3D::CResource* pResource);

private:
    void RegisterBuiltinCommands();
    bool RaiseCancellable(const char* name, Ferrox3D::CArgumentArray& arguments);
    // message, messageClient, messageAllExcept, triggerNetworkEvent, addNetworkHandler, removeNetworkHandler.
    void RegisterSessionFunctions();

    CBaseServer& m_Server;
    Ferrox3D::CScripting m_Scripting;
    Ferrox3D::CCommandHandlers m_Commands;
    Ferrox3D::CTimerHandlers m_Timers;
    Ferrox3D::CKeyBinds m_KeyBinds;
    CNetworkHandlers m_NetworkHandlers;
    Ferrox3D::EventHandlers::CEventHandlers* m_pEvents = nullptr;
};
