// The ban list's script functions in the server namespace: banIP, unbanIP, unbanAllIPs, isIPBanned.
#include "Engine/NativeState.h"
#include "Engine/Reflection.h"
#include "Server/BanList.h"

using namespace Ferrox3D;

namespace {
CBanList* Bans(void* pUser) { return static_cast<CBanList*>(pUser); }

bool BanIP(CNativeState* pState, int32_t argumentCount, void* pUser) {
    const char* address = pState->CheckString(0);
    int64_t duration = 0;
    if (!address || (argumentCount > 1 && !pState->CheckNumber(1, duration)))
        return false;
    Bans(pUser)->Ban(address, duration);
    return true;
}

bool UnbanIP(CNativeState* pState, int32_t, void* pUser) {
    const char* address = pState->CheckString(0);
    if (!address)
        return false;
    pState->ReturnBoolean(Bans(pUser)->Unban(address));
    return true;
}

bool UnbanAllIPs(CNativeState*, int32_t, void* pUser) {
    Bans(pUser)->UnbanAll();
    return true;
}

bool IsIPBanned(CNativeState* pState, int32_t, void* pUser) {
    const char* address = pState->CheckString(0);
    if (!address)
        return false;
    pState->ReturnBoolean(Bans(pUser)->IsBanned(address));
    return true;
}
}  // namespace

void CBanList::RegisterFunctions(ReflectedNamespace* pServer) {
    pServer->RegisterFunction("banIP", "s|i", BanIP, this);
    pServer->RegisterFunction("unbanIP", "s", UnbanIP, this);
    pServer->RegisterFunction("unbanAllIPs", "", UnbanAllIPs, this);
    pServer->RegisterFunction("isIPBanned", "s", IsIPBanned, this);
}
