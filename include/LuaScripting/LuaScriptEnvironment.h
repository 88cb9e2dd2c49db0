// One resource's Lua environment: its _ENV table in the shared state, running files and calls in it.
#pragma once
#include "Engine/ObjectModel.h"
#include "Engine/Scripting.h"
#include "LuaScripting/LuaReference.h"

class CLuaScripting;

class CLuaScriptEnvironment : public Ferrox3D::CBaseObject, public Ferrox3D::CScriptEnvironment {
public:
    CLuaScriptEnvironment(CLuaScripting* pScripting, CLuaStrongReference table);
    ~CLuaScriptEnvironment() override;

    // Gives back the creator's reference; the table goes once no call into the environment runs and no
    // function of it is held any more.
    void Destroy() override;
    // Compiles the stream as a text chunk named by fileName and runs it with this table as _ENV.
    bool DoFile(Ferrox3D::Stream* pStream, const char* fileName) override;
    // Protected call of the function below nargs arguments on the main state's stack, in this environment.
    bool Call(int nargs, int nresults);

    void PushTable(lua_State* L) const { m_Table.Push(L); }
    // The main state while it is open, else null.
    lua_State* GetState() const { return m_Table.GetMainState(); }
    CLuaScripting* GetScripting() const { return m_pScripting; }

private:
    CLuaScripting* m_pScripting;
    CLuaStrongReference m_Table;
    bool m_bDestroyed = false;
};
