// Reflected classes as Lua class tables: constructors, methods, properties, is_a and _base.
#pragma once
#include <lua.hpp>
#include "Engine/Reflection.h"
#include "LuaScripting/LuaReference.h"

// One per reflected class, kept in the class's per-language slot: the class table, which is also the
// metatable of the class's userdata.
class CLuaType {
public:
    static constexpr size_t MAX_NAME_LENGTH = 63;

    CLuaType(CLuaStrongReference table, const char* name);
    void PushTable(lua_State* L) const { m_Table.Push(L); }
    const char* GetName() const { return m_Name; }
    bool BelongsTo(lua_State* L) const;

private:
    CLuaStrongReference m_Table;
    char m_Name[MAX_NAME_LENGTH + 1];
};

namespace LuaClasses {

// Makes the class tables of every class in the namespace and its children that has none yet (bases
// first). False when a class could not be made.
bool DefineNamespace(lua_State* L, Ferrox3D::ReflectedNamespace* pNamespace);
// The Lua type of a class in the state of L, or null.
CLuaType* GetLuaType(lua_State* L, Ferrox3D::ReflectedClass* pClass);

// is_a (object, class table): whether the object's class table is the given one or has it in its _base chain.
int IsA(lua_State* L);

}  // namespace LuaClasses
