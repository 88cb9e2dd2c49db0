// Class tables: one per reflected class, the metatable of its userdata and, with a constructor, callable.
#include "LuaScripting/LuaClasses.h"
#include <cstring>
#include <utility>
#include "LuaScripting/LuaNative.h"
#include "LuaScripting/LuaObjects.h"
#include "LuaScripting/LuaScripting.h"
#include "LuaScripting/LuaUtil.h"

using namespace Ferrox3D;

namespace {

constexpr int MAX_BASE_CHAIN = 64;  // a script may rewire _base; is_a never loops forever

void DeleteLuaType(void* pData) { delete static_cast<CLuaType*>(pData); }

// __index (object, key): a property of the class or its bases, else a field of the class table.
int ClassIndex(lua_State* L) {
    if (lua_type(L, 2) == LUA_TSTRING) {
        lua_pushvalue(L, 2);
        if (lua_rawget(L, lua_upvalueindex(2)) == LUA_TLIGHTUSERDATA) {
            auto* pProperty = static_cast<const ReflectedProperty*>(lua_touserdata(L, -1));
            return LuaNative::Call(L, pProperty->m_Getter, pProperty->m_pUser, LuaObjects::Get(L, 1), 4, 3);
        }
        lua_pop(L, 1);
    }
    lua_pushvalue(L, 2);
    lua_rawget(L, lua_upvalueindex(1));
    return 1;
}

// __newindex (object, key, value): only properties with a setter can be written.
int ClassNewIndex(lua_State* L) {
    lua_pushvalue(L, 2);
    if (lua_type(L, 2) != LUA_TSTRING || lua_rawget(L, lua_upvalueindex(1)) != LUA_TLIGHTUSERDATA)
        return luaL_error(L, "property '%s' not found", luaL_tolstring(L, 2, nullptr));
    auto* pProperty = static_cast<const ReflectedProperty*>(lua_touserdata(L, -1));
    if (pProperty->IsReadOnly())
        return luaL_error(L, "property '%s' readonly", lua_tostring(L, 2));
    lua_pop(L, 1);
    LuaNative::Call(L, pProperty->m_Setter, pProperty->m_pUser, LuaObjects::Get(L, 1), 3, 3);
    return 0;
}

int ClassFinalise(lua_State* L) {
    auto* pClass = static_cast<ReflectedClass*>(lua_touserdata(L, lua_upvalueindex(1)));
    bool isBinding;
    ReflectedClass* pObjectClass = nullptr;
    LuaObjects::Get(L, 1, &isBinding, &pObjectClass);
    if (!isBinding || !pObjectClass->IsA(pClass))
        return luaL_error(L, "%s expected, got %s", pClass->GetName(), luaL_typename(L, 1));
    return LuaObjects::Finalise(L);
}

int ClassToString(lua_State* L) {
    auto* pHook = static_cast<const ReflectedFunction*>(lua_touserdata(L, lua_upvalueindex(1)));
    return LuaNative::Call(L, pHook->m_Function, pHook->m_pUser, LuaObjects::Get(L, 1), 2, 1);
}

// __call (class table, ...): the class table is not an argument of the constructor.
int ClassConstruct(lua_State* L) {
    auto* pConstructor = static_cast<const ReflectedFunction*>(lua_touserdata(L, lua_upvalueindex(1)));
    return LuaNative::Call(L, pConstructor->m_Function, pConstructor->m_pUser, nullptr, 2, lua_gettop(L));
}

void CopyBaseFields(lua_State* L, int table, ReflectedClass* pBase) {
    CLuaType* pBaseType = LuaClasses::GetLuaType(L, pBase);
    if (!pBaseType)
        return;
    pBaseType->PushTable(L);
    int base = lua_gettop(L);
    lua_pushnil(L);
    while (lua_next(L, base)) {
        lua_pushvalue(L, -2);
        lua_insert(L, -2);
        lua_rawset(L, table);
    }
    lua_setfield(L, table, "_base");
}

// Property name -> ReflectedProperty, the class's own first, then its bases'.
void PushPropertyTable(lua_State* L, ReflectedClass* pClass) {
    lua_newtable(L);
    for (ReflectedClass* c = pClass; c; c = c->GetBase()) {
        for (const auto& property : c->GetProperties()) {
            if (lua_getfield(L, -1, property->GetName()) == LUA_TNIL) {
                lua_pushlightuserdata(L, property.get());
                lua_setfield(L, -3, property->GetName());
            }
            lua_pop(L, 1);
        }
    }
}

void SetClosure(lua_State* L, int table, const char* name, lua_CFunction function, void* upvalue) {
    lua_pushlightuserdata(L, upvalue);
    lua_pushcclosure(L, function, 1);
    lua_setfield(L, table, name);
}

void SetConstructor(lua_State* L, int table, const ReflectedFunction* pConstructor) {
    lua_newtable(L);
    SetClosure(L, lua_gettop(L), "__call", ClassConstruct, const_cast<ReflectedFunction*>(pConstructor));
    lua_setmetatable(L, table);
}

// Protected: (class) -> class table.
int BuildClassTable(lua_State* L) {
    auto* pClass = static_cast<ReflectedClass*>(lua_touserdata(L, 1));
    lua_newtable(L);
    int table = lua_gettop(L);
    if (pClass->GetBase())
        CopyBaseFields(L, table, pClass->GetBase());
    lua_pushstring(L, pClass->GetName());
    lua_setfield(L, table, "__name");
    SetClosure(L, table, "__gc", ClassFinalise, pClass);
    lua_pushcfunction(L, LuaClasses::IsA);
    lua_setfield(L, table, "is_a");
    lua_pushvalue(L, table);
    PushPropertyTable(L, pClass);
    lua_pushvalue(L, -1);
    lua_pushcclosure(L, ClassNewIndex, 1);
    lua_setfield(L, table, "__newindex");
    lua_pushcclosure(L, ClassIndex, 2);
    lua_setfield(L, table, "__index");
    if (const ReflectedFunction* pHook = pClass->GetToStringHook())
        SetClosure(L, table, "__tostring", ClassToString, const_cast<ReflectedFunction*>(pHook));
    for (const auto& function : pClass->GetFunctions()) {
        LuaNative::PushFunction(L, &function->m_Function, function->m_pUser, true);
        lua_setfield(L, table, function->GetName());
    }
    if (const ReflectedFunction* pConstructor = pClass->GetConstructor())
        SetConstructor(L, table, pConstructor);
    LuaObjects::RegisterClassTable(L, table, pClass);
    return 1;
}

bool DefineClass(lua_State* L, ReflectedClass* pClass, int depth) {
    if (LuaClasses::GetLuaType(L, pClass))
        return true;
    if (depth > MAX_BASE_CHAIN)
        return false;
    if (pClass->GetBase() && !DefineClass(L, pClass->GetBase(), depth + 1))
        return false;
    CLuaScripting* pLua = CLuaScripting::Get(L);
    lua_pushcfunction(L, BuildClassTable);
    lua_pushlightuserdata(L, pClass);
    if (lua_pcall(L, 1, 1, 0) != LUA_OK) {
        CLuaUtil::ReportError(L);
        return false;
    }
    auto* pType = new CLuaType(CLuaStrongReference(pLua->GetStateHandle(), L, -1), pClass->GetName());
    lua_pop(L, 1);
    void** ppSlot = pClass->GetUserData().AddUserData(pLua->GetLanguageId(), DeleteLuaType);
    if (!F_ASSERT(ppSlot)) {
        delete pType;
        return false;
    }
    *ppSlot = pType;
    return true;
}

}  // namespace

CLuaType::CLuaType(CLuaStrongReference table, const char* name) : m_Table(std::move(table)) {
    strncpy(m_Name, name ? name : "", MAX_NAME_LENGTH);
    m_Name[MAX_NAME_LENGTH] = '\0';
}

bool CLuaType::BelongsTo(lua_State* L) const {
    lua_State* main = m_Table.GetMainState();
    return main && CLuaScripting::Get(main) == CLuaScripting::Get(L);
}

namespace LuaClasses {

bool DefineNamespace(lua_State* L, ReflectedNamespace* pNamespace) {
    for (const auto& pClass : pNamespace->GetClasses())
        if (!DefineClass(L, pClass.get(), 0))
            return false;
    for (const auto& pChild : pNamespace->GetNamespaces())
        if (!DefineNamespace(L, pChild.get()))
            return false;
    return true;
}

CLuaType* GetLuaType(lua_State* L, ReflectedClass* pClass) {
    if (!pClass)
        return nullptr;
    void** ppSlot = pClass->GetUserData().GetUserData(CLuaScripting::Get(L)->GetLanguageId());
    auto* pType = ppSlot ? static_cast<CLuaType*>(*ppSlot) : nullptr;
    return pType && pType->BelongsTo(L) ? pType : nullptr;
}

int IsA(lua_State* L) {
    bool result = false;
    if (lua_getmetatable(L, 1)) {
        for (int i = 0; i < MAX_BASE_CHAIN && lua_istable(L, -1); ++i) {
            if (lua_rawequal(L, -1, 2)) {
                result = true;
                break;
            }
            lua_pushliteral(L, "_base");
            lua_rawget(L, -2);
            lua_remove(L, -2);
        }
    }
    lua_pushboolean(L, result);
    return 1;
}

}  // namespace LuaClasses
