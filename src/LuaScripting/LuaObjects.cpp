// Userdata identity of engine objects and their release by the Lua collector.
#include "LuaScripting/LuaObjects.h"
#include <algorithm>
#include <atomic>

using Ferrox3D::CBaseObject;
using Ferrox3D::ReflectedClass;

namespace {

std::atomic<size_t> g_LiveRecords{0};

// Registry keys (addresses only).
const char IDENTITY_KEY = 0;
const char CLASS_TABLES_KEY = 0;

CLuaReferenceable* GetRecord(CBaseObject* pObject) {
    return static_cast<CLuaReferenceable*>(pObject->GetScriptReference());
}

void MakeBox(lua_State* L, CBaseObject* pObject, int tableIndex) {
    auto* box = static_cast<tLuaObjectBox*>(lua_newuserdata(L, sizeof(tLuaObjectBox)));
    box->m_pObject = nullptr;  // nothing to release should setting the metatable fail
    lua_pushvalue(L, tableIndex);
    lua_setmetatable(L, -2);
    box->m_pObject = pObject;
    pObject->AddRef();
    CLuaReferenceable* record = GetRecord(pObject);
    if (!record) {
        record = new CLuaReferenceable();
        pObject->AddScriptReference(record);
    }
    record->AddBox(box);
}

}  // namespace

CLuaReferenceable::CLuaReferenceable() { ++g_LiveRecords; }

CLuaReferenceable::~CLuaReferenceable() {
    // The object is being destroyed: whatever userdata still point at it must not reach it again.
    for (tLuaObjectBox* box : m_Boxes)
        box->m_pObject = nullptr;
    --g_LiveRecords;
}

void CLuaReferenceable::RemoveBox(tLuaObjectBox* pBox) {
    m_Boxes.erase(std::remove(m_Boxes.begin(), m_Boxes.end(), pBox), m_Boxes.end());
}

size_t CLuaReferenceable::GetLiveCount() { return g_LiveRecords.load(); }

namespace LuaObjects {

void CreateRegistryTables(lua_State* L) {
    // Weak values, not weak keys: Lua clears a weak value before the finaliser of its userdata runs,
    // so a userdata that is about to be finalised is never found and handed out again.
    lua_newtable(L);
    lua_newtable(L);
    lua_pushliteral(L, "v");
    lua_setfield(L, -2, "__mode");
    lua_setmetatable(L, -2);
    lua_rawsetp(L, LUA_REGISTRYINDEX, &IDENTITY_KEY);
    lua_newtable(L);
    lua_rawsetp(L, LUA_REGISTRYINDEX, &CLASS_TABLES_KEY);
}

void RegisterClassTable(lua_State* L, int tableIndex, ReflectedClass* pClass) {
    tableIndex = lua_absindex(L, tableIndex);
    lua_rawgetp(L, LUA_REGISTRYINDEX, &CLASS_TABLES_KEY);
    lua_pushvalue(L, tableIndex);
    lua_pushlightuserdata(L, pClass);
    lua_rawset(L, -3);
    lua_pop(L, 1);
}

void Push(lua_State* L, CBaseObject* pObject, int tableIndex) {
    if (!pObject || !lua_checkstack(L, 4)) {
        lua_pushnil(L);
        return;
    }
    tableIndex = lua_absindex(L, tableIndex);
    lua_rawgetp(L, LUA_REGISTRYINDEX, &IDENTITY_KEY);
    if (lua_rawgetp(L, -1, pObject) == LUA_TUSERDATA &&
        static_cast<tLuaObjectBox*>(lua_touserdata(L, -1))->m_pObject == pObject) {
        lua_remove(L, -2);
        return;
    }
    // None yet, awaiting finalisation, or left behind by a destroyed object at the same address.
    lua_pop(L, 1);
    MakeBox(L, pObject, tableIndex);
    lua_pushvalue(L, -1);
    lua_rawsetp(L, -3, pObject);
    lua_remove(L, -2);
}

ReflectedClass* GetTableClass(lua_State* L, int index) {
    if (!lua_istable(L, index))
        return nullptr;
    index = lua_absindex(L, index);
    lua_rawgetp(L, LUA_REGISTRYINDEX, &CLASS_TABLES_KEY);
    lua_pushvalue(L, index);
    lua_rawget(L, -2);
    auto* pClass = static_cast<ReflectedClass*>(lua_touserdata(L, -1));
    lua_pop(L, 2);
    return pClass;
}

CBaseObject* Get(lua_State* L, int index, bool* pIsBinding, ReflectedClass** pClass) {
    if (pIsBinding)
        *pIsBinding = false;
    if (lua_type(L, index) != LUA_TUSERDATA || !lua_getmetatable(L, index))
        return nullptr;
    ReflectedClass* found = GetTableClass(L, -1);
    lua_pop(L, 1);
    if (!found)
        return nullptr;
    if (pIsBinding)
        *pIsBinding = true;
    if (pClass)
        *pClass = found;
    return static_cast<tLuaObjectBox*>(lua_touserdata(L, index))->m_pObject;
}

int Finalise(lua_State* L) {
    bool isBinding;
    Get(L, 1, &isBinding);
    if (!isBinding)
        return 0;
    auto* box = static_cast<tLuaObjectBox*>(lua_touserdata(L, 1));
    CBaseObject* pObject = box->m_pObject;
    if (!pObject)
        return 0;  // already released (the object died, or __gc was called by hand)
    box->m_pObject = nullptr;
    if (CLuaReferenceable* record = GetRecord(pObject))
        record->RemoveBox(box);
    pObject->Release();
    return 0;
}

}  // namespace LuaObjects
