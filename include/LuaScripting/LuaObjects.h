// Engine objects as Lua full userdata: one userdata per object while it lives, found again through a
// weak-valued identity table.
#pragma once
#include <cstddef>
#include <vector>
#include <lua.hpp>
#include "Engine/ObjectModel.h"

namespace Ferrox3D {
class ReflectedClass;
}

// The 8-byte userdata. It holds one reference to the object; the pointer is cleared by its __gc and
// when the object is destroyed by other means (Obliterate), so a script never reaches a dead object.
struct tLuaObjectBox {
    Ferrox3D::CBaseObject* m_pObject;
};

// The record attached to an object (m_pScriptReference): the userdata that still point at it. There
// is usually one; an older one may still await its finaliser after a newer one was made.
class CLuaReferenceable : public Ferrox3D::IUserData {
public:
    CLuaReferenceable();
    ~CLuaReferenceable() override;
    void AddBox(tLuaObjectBox* pBox) { m_Boxes.push_back(pBox); }
    void RemoveBox(tLuaObjectBox* pBox);

    // Records alive in the process (objects that have, or had, a userdata and still exist).
    static size_t GetLiveCount();

private:
    std::vector<tLuaObjectBox*> m_Boxes;
};

namespace LuaObjects {

// Makes the registry tables the functions below use; once per state.
void CreateRegistryTables(lua_State* L);
// Records a class table (the metatable of its instances) as belonging to this binding.
void RegisterClassTable(lua_State* L, int tableIndex, Ferrox3D::ReflectedClass* pClass);

// Pushes the object's userdata, with the class table at tableIndex as metatable when one must be made.
// The same userdata comes back while it is alive and not awaiting finalisation.
void Push(lua_State* L, Ferrox3D::CBaseObject* pObject, int tableIndex);
// The object of a userdata of this binding at index, or null; pIsBinding tells whether the value is one
// of this binding's userdata at all (a cleared one included). pClass receives the userdata's class.
Ferrox3D::CBaseObject* Get(lua_State* L, int index, bool* pIsBinding = nullptr,
                           Ferrox3D::ReflectedClass** pClass = nullptr);
// The class of a class table at index, or null when it is not one.
Ferrox3D::ReflectedClass* GetTableClass(lua_State* L, int index);

// __gc of every class table: releases the object and clears the userdata.
int Finalise(lua_State* L);

}  // namespace LuaObjects
