// The Lua language object: the shared state, the resource environments and the executing-environment stack.
#pragma once
#include <cstdint>
#include <vector>
#include "Engine/ObjectModel.h"
#include "LuaScripting/LuaState.h"

class CLuaScriptEnvironment;

class CLuaScripting {
public:
    CLuaScripting();
    ~CLuaScripting();
    CLuaScripting(const CLuaScripting&) = delete;
    CLuaScripting& operator=(const CLuaScripting&) = delete;

    // The language object of the state L (any thread of it).
    static CLuaScripting* Get(lua_State* L);

    // A new environment for a resource, with one reference for the caller; null when it cannot be made.
    CLuaScriptEnvironment* CreateEnvironment(const char* resourceName);
    void CollectGarbage();

    void PushScriptEnvironment(CLuaScriptEnvironment* pEnvironment);
    void PopScriptEnvironment();
    // The environment whose code runs now (top of the executing stack), or null.
    CLuaScriptEnvironment* GetScriptEnvironment() const;

    lua_State* GetState() const { return m_pState->Get(); }
    const LuaStatePtr& GetStateHandle() const { return m_pState; }

private:
    LuaStatePtr m_pState;
    std::vector<Ferrox3D::Strong<CLuaScriptEnvironment>> m_Executing;
};
