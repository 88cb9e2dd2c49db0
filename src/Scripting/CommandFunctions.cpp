// The command script API: addCommandHandler, removeCommandHandler, hasCommandHandler, consoleCommand.
#include "Engine/NativeState.h"
#include "Scripting/CommandHandlers.h"

namespace Ferrox3D {

namespace {

bool NativeAddCommandHandler(CNativeState* pState, int32_t argumentCount, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    CFunction* pFunction = pState->CheckFunction(1);
    if (!pFunction)
        return false;
    bool bReplace = false;
    if (argumentCount > 2 && !pState->CheckBoolean(2, bReplace))
        return false;
    auto* pTable = static_cast<CCommandHandlers*>(pUser);
    pState->ReturnBoolean(pTable->AddScriptHandler(pState->GetResource(), name, pFunction, bReplace));
    return true;
}

bool NativeRemoveCommandHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    pState->ReturnBoolean(static_cast<CCommandHandlers*>(pUser)->RemoveCommandHandler(name, pState->GetResource()));
    return true;
}

bool NativeHasCommandHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    pState->ReturnBoolean(static_cast<CCommandHandlers*>(pUser)->GetCommandHandler(name) != nullptr);
    return true;
}

bool NativeConsoleCommand(CNativeState* pState, int32_t, void* pUser) {
    const char* line = pState->CheckString(0);
    if (!line)
        return false;
    auto* pTable = static_cast<CCommandHandlers*>(pUser);
    pState->ReturnBoolean(pTable->ConsoleCommand(line, pTable->IsPrivileged(pState->GetResource())));
    return true;
}

}  // namespace

void CCommandHandlers::RegisterFunctions(CScripting* pScripting) {
    ReflectedNamespace* pGlobal = pScripting->GetGlobal();
    pGlobal->RegisterFunction("addCommandHandler", "sc|b", NativeAddCommandHandler, this);
    pGlobal->RegisterFunction("removeCommandHandler", "s", NativeRemoveCommandHandler, this);
    pGlobal->RegisterFunction("hasCommandHandler", "s", NativeHasCommandHandler, this);
    pGlobal->RegisterFunction("consoleCommand", "s", NativeConsoleCommand, this);
}

}  // namespace Ferrox3D
