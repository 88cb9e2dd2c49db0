// The Lua language object: the shared state, the resource environments and the executing-environment stack.
#pragma once
#include <cstdint>
#include <vector>
#include "Engine/ObjectModel.h"
#include "Engine/Scripting.h"
#include "LuaScripting/LuaState.h"

class CLuaScriptEnvironment;

class CLuaScripting : public Ferrox3D::CScriptingVM {
public:
    explicit CLuaScripting(Ferrox3D::CScripting* pScripting);
    ~CLuaScripting() override;
    CLuaScripting(const CLuaScripting&) = delete;
    CLuaScripting& operator=(const CLuaScripting&) = delete;

    // The language object of the state L (any thread of it).
    static CLuaScripting* Get(lua_State* L);

    // A new environment for a resource, with one reference that Destroy gives back; null on failure.
    Ferrox3D::CScriptEnvironment* CreateEnvironment(const char* resourceName) override;
    bool DefineClasses() override;
    void CollectGarbage() override;

    // Protected call of the function below nargs arguments on the main state, with the environment (may be
    // null) on the executing stack; errors are logged as "SCRIPT ERROR: %s" and give false.
    bool Call(CLuaScriptEnvironment* pEnvironment, int nargs, int nresults);

    void PushScriptEnvironment(CLuaScriptEnvironment* pEnvironment);
    void PopScriptEnvironment();
    // The environment whose code runs now (top of the executing stack), or null.
    CLuaScriptEnvironment* GetScriptEnvironment() const;

    // Pushes the userdata of an engine object (nil for null, or when its class has no class table);
    // pClass overrides the object's reflected class.
    void PushObject(lua_State* L, Ferrox3D::CBaseObject* pObject, Ferrox3D::ReflectedClass* pClass = nullptr);

    lua_State* GetState() const { return m_pState->Get(); }
    const LuaStatePtr& GetStateHandle() const { return m_pState; }
    Ferrox3D::CScripting* GetScripting() const { return m_pScripting; }
    uint32_t GetLanguageId() const { return m_LanguageId; }

private:
    Ferrox3D::CScripting* m_pScripting;
    LuaStatePtr m_pState;
    std::vector<Ferrox3D::Strong<CLuaScriptEnvironment>> m_Executing;
    uint32_t m_LanguageId;
};
