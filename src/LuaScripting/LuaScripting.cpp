// The shared Lua state and the environments of the resources that run in it.
#include "LuaScripting/LuaScripting.h"
#include <cstring>
#include "Engine/Log.h"
#include "LuaScripting/LuaLibrary.h"
#include "LuaScripting/LuaScriptEnvironment.h"
#include "LuaScripting/LuaUtil.h"

CLuaScripting::CLuaScripting() : m_pState(std::make_shared<CLuaStateHandle>()) {
    lua_State* L = GetState();
    if (!L)
        return;
    CLuaScripting* self = this;
    memcpy(lua_getextraspace(L), &self, sizeof(self));  // new threads copy the main thread's extra space
    OpenSharedLibraries(L);
}

CLuaScripting::~CLuaScripting() {
    m_Executing.clear();
    m_pState->Close();
}

CLuaScripting* CLuaScripting::Get(lua_State* L) {
    CLuaScripting* self;
    memcpy(&self, lua_getextraspace(L), sizeof(self));
    return self;
}

CLuaScriptEnvironment* CLuaScripting::CreateEnvironment(const char* resourceName) {
    lua_State* L = GetState();
    if (!L || !lua_checkstack(L, 2))
        return nullptr;
    lua_pushcfunction(L, LuaBuildEnvironmentTable);
    if (CLuaUtil::ProtectedCall(L, 0, 1) != LUA_OK) {
        CLuaUtil::ReportError(L);
        return nullptr;
    }
    CLuaStrongReference table(m_pState, L, -1);
    lua_pop(L, 1);
    return new CLuaScriptEnvironment(this, std::move(table));
}

void CLuaScripting::CollectGarbage() {
    if (lua_State* L = GetState())
        lua_gc(L, LUA_GCCOLLECT, 0);
}

void CLuaScripting::PushScriptEnvironment(CLuaScriptEnvironment* pEnvironment) {
    m_Executing.emplace_back(pEnvironment);
}

void CLuaScripting::PopScriptEnvironment() {
    if (F_ASSERT(!m_Executing.empty()))
        m_Executing.pop_back();
}

CLuaScriptEnvironment* CLuaScripting::GetScriptEnvironment() const {
    return m_Executing.empty() ? nullptr : m_Executing.back().Get();
}
