// A script value that holds any other Lua value (userdata of other libraries, threads) by reference.
#pragma once
#include "Engine/Argument.h"
#include "LuaScripting/LuaReference.h"

class CArgumentLuaRef : public Ferrox3D::CArgument {
public:
    // References the value at index of L (any thread of the binding's state).
    CArgumentLuaRef(lua_State* L, int index);
    explicit CArgumentLuaRef(CLuaStrongReference reference);

    // Pushes the value, or nil when L belongs to another state or the state is closed.
    void Push(lua_State* L) const;
    Ferrox3D::CArgument* Clone() const override;

private:
    CLuaStrongReference m_Reference;
};
