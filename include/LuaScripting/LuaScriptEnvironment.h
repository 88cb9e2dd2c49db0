// One resource's Lua environment: its _ENV table in the shared state, running files and calls in it.
#pragma once
#include "Engine/ObjectModel.h"
#include "LuaScripting/LuaReference.h"

namespace Ferrox3D {
class Stream;
}
class CLuaScripting;

class CLuaScriptEnvironment : public Ferrox3D::CBaseObject {
public:
    CLuaScriptEnvironment(CLuaScripting* pScripting, CLuaStrongReference table);

    // Releases what the resource holds; the table goes once nothing executes in it any more.
    void Destroy();
    // Compiles the stream as a text chunk named by fileName and runs it with this table as _ENV.
    bool DoFile(Ferrox3D::Stream* pStream, const char* fileName);
    // Protected call of the function below nargs arguments on the main state's stack, with this
    // environment on the executing stack; errors are logged as "SCRIPT ERROR: %s" and give false.
    bool Call(int nargs, int nresults);

    void PushTable(lua_State* L) const { m_Table.Push(L); }
    // The main state while it is open, else null.
    lua_State* GetState() const { return m_Table.GetMainState(); }
    CLuaScripting* GetScripting() const { return m_pScripting; }

private:
    CLuaScripting* m_pScripting;
    CLuaStrongReference m_Table;
};
