// The server's share of the script API: the server namespace, the Client class and its lookups, events and constants.
#pragma once
#include <cstddef>

class CBaseServer;
class CUrboServer;
namespace Ferrox3D {
class CScripting;
class CDefineHandlers;
class ReflectedClass;
class ReflectedNamespace;
namespace EventHandlers {
class CEventHandlers;
}  // namespace EventHandlers
}  // namespace Ferrox3D

// Longest server name and game mode, in bytes.
constexpr size_t SERVER_TEXT_LIMIT = 63;

// Everything below, once, on the server's script root; records made before get the Client class too.
void RegisterServerScriptAPI(CBaseServer& server, Ferrox3D::CScripting& scripting);

// The server namespace: settings, rules, shutdown, configuration, password and the ban list.
void RegisterServerNamespace(CBaseServer& server, Ferrox3D::ReflectedNamespace* pGlobal);
// The game-level members of the server namespace: configuration, stream distances, getCVar, setPassword.
void RegisterGameServerNamespace(CUrboServer& server, Ferrox3D::ReflectedNamespace* pGlobal);
// The Client class, getClients/getClient/getConsole/getClientFromPlayerElement, localClient/localPlayer.
Ferrox3D::ReflectedClass* RegisterClientClass(CBaseServer& server, Ferrox3D::ReflectedNamespace* pGlobal);
// The Client class alone (properties and methods).
Ferrox3D::ReflectedClass* DefineClientClass(CBaseServer& server, Ferrox3D::ReflectedNamespace* pGlobal);
void DefineServerConstants(Ferrox3D::CDefineHandlers& defines);
// OnProcess and OnServerStart; names already made by their layers are left alone.
void CreateServerEvents(Ferrox3D::EventHandlers::CEventHandlers& events);
