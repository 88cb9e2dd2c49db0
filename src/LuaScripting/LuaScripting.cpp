// The shared Lua state and the environments of the resources that run in it.
#include "LuaScripting/LuaScripting.h"
#include <cstring>
#include "LuaScripting/LuaClasses.h"
#include "LuaScripting/LuaLibrary.h"
#include "LuaScripting/LuaNamespace.h"
#include "LuaScripting/LuaObjects.h"
#include "LuaScripting/LuaScriptEnvironment.h"
#include "LuaScripting/LuaUtil.h"

using namespace Ferrox3D;

namespace {

// Every define as an integer field, signed or unsigned as it was defined.
void SetConstants(lua_State* L, int table, const CDefineHandlers* pDefines) {
    for (const CDefineHandlers::IntDefine& define : pDefines->GetDefines()) {
        lua_pushinteger(L, define.isUnsigned ? static_cast<lua_Integer>(define.value) : define.GetSigned());
        lua_setfield(L, table, define.name.c_str());
    }
}

// Protected: (scripting root) -> a new environment table.
int BuildEnvironment(lua_State* L) {
    auto* pScripting = static_cast<CScripting*>(lua_touserdata(L, 1));
    LuaBuildEnvironmentTable(L);
    int table = lua_gettop(L);
    SetConstants(L, table, pScripting->GetDefineHandlers());
    LuaNamespace::Register(L, pScripting->GetGlobal(), table, true);
    return 1;
}

}  // namespace

CLuaScripting::CLuaScripting(CScripting* pScripting)
    : m_pScripting(pScripting), m_pState(std::make_shared<CLuaStateHandle>()), m_LanguageId(Ferrox3D::GetLanguageId("Lua")) {
    lua_State* L = GetState();
    if (!L)
        return;
    CLuaScripting* self = this;
    memcpy(lua_getextraspace(L), &self, sizeof(self));  // new threads copy the main thread's extra space
    OpenSharedLibraries(L);
    LuaObjects::CreateRegistryTables(L);
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

CScriptEnvironment* CLuaScripting::CreateEnvironment(const char* resourceName) {
    lua_State* L = GetState();
    if (!L || !lua_checkstack(L, 3))
        return nullptr;
    lua_pushcfunction(L, BuildEnvironment);
    lua_pushlightuserdata(L, m_pScripting);
    if (CLuaUtil::ProtectedCall(L, 1, 1) != LUA_OK) {
        CLuaUtil::ReportError(L);
        return nullptr;
    }
    CLuaStrongReference table(m_pState, L, -1);
    lua_pop(L, 1);
    return new CLuaScriptEnvironment(this, std::move(table));
}

bool CLuaScripting::DefineClasses() {
    lua_State* L = GetState();
    return L && LuaClasses::DefineNamespace(L, m_pScripting->GetGlobal());
}

void CLuaScripting::CollectGarbage() {
    if (lua_State* L = GetState())
        lua_gc(L, LUA_GCCOLLECT, 0);
}

bool CLuaScripting::Call(CLuaScriptEnvironment* pEnvironment, int nargs, int nresults) {
    lua_State* L = GetState();
    if (!L)
        return false;
    if (!lua_checkstack(L, 1)) {
        lua_pop(L, nargs + 1);
        return false;
    }
    if (pEnvironment)
        PushScriptEnvironment(pEnvironment);
    int status = CLuaUtil::ProtectedCall(L, nargs, nresults);
    if (pEnvironment)
        PopScriptEnvironment();
    if (status != LUA_OK) {
        CLuaUtil::ReportError(L);
        return false;
    }
    return true;
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

void CLuaScripting::PushObject(lua_State* L, CBaseObject* pObject, ReflectedClass* pClass) {
    CLuaType* pType = pObject ? LuaClasses::GetLuaType(L, pClass ? pClass : pObject->GetReflectedClass()) : nullptr;
    if (!pType || !lua_checkstack(L, 2)) {
        lua_pushnil(L);
        return;
    }
    pType->PushTable(L);
    LuaObjects::Push(L, pObject, -1);
    lua_remove(L, -2);
}
