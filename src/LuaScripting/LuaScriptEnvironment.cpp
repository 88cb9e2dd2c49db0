// Running script files and calls inside one resource's environment.
#include "LuaScripting/LuaScriptEnvironment.h"
#include <utility>
#include "LuaScripting/LuaScripting.h"
#include "LuaScripting/LuaUtil.h"

CLuaScriptEnvironment::CLuaScriptEnvironment(CLuaScripting* pScripting, CLuaStrongReference table)
    : m_pScripting(pScripting), m_Table(std::move(table)) {}

CLuaScriptEnvironment::~CLuaScriptEnvironment() = default;

void CLuaScriptEnvironment::Destroy() {
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    SetResource(nullptr);  // the resource goes away; functions still held must not reach it
    Release();
}

bool CLuaScriptEnvironment::DoFile(Ferrox3D::Stream* pStream, const char* fileName) {
    lua_State* L = GetState();
    if (!L || !pStream || !lua_checkstack(L, 3))
        return false;
    if (!CLuaUtil::LoadFile(L, pStream, fileName)) {
        CLuaUtil::ReportError(L);
        return false;
    }
    PushTable(L);
    if (!lua_setupvalue(L, -2, 1))
        lua_pop(L, 1);
    return Call(0, 0);
}

bool CLuaScriptEnvironment::Call(int nargs, int nresults) {
    return GetState() && m_pScripting->Call(this, nargs, nresults);
}
