// The script events of joining and leaving, raised through the event layer.
#include "Server/ServerSession.h"

// Until the event layer is wired in, nothing listens: connect attempts go ahead.
bool CServerSession::RaisePlayerConnect(const std::string& address) { return true; }
void CServerSession::RaisePlayerJoin(CNetMachine* pClient) {}
void CServerSession::RaisePlayerJoined(CNetMachine* pClient) {}
void CServerSession::RaisePlayerQuit(CNetMachine* pClient, uint32_t reason) {}
