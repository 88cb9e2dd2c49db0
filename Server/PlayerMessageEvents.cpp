// The script events of chat and commands, raised through the event layer.
#include "Server/ServerScripting.h"

// Until the event layer is wired in, nothing listens: chat and commands go ahead.
bool CServerScripting::RaisePlayerChat(CNetMachine* pClient, const std::string& text) { return true; }

bool CServerScripting::RaisePlayerCommand(CNetMachine* pClient, const std::string& command,
                                          const std::string& parameters) {
    return true;
}
