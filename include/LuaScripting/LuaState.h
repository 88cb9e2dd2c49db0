// The Lua state all resources share: creation with the panic report, the shared libraries, closing.
#pragma once
#include <memory>
#include <lua.hpp>

// Owns the lua_State. Everything that keeps a Lua reference also keeps this handle, so a reference
// that outlives the state (a script value released during shutdown) finds it closed instead of freed.
class CLuaStateHandle {
public:
    CLuaStateHandle();
    ~CLuaStateHandle();
    CLuaStateHandle(const CLuaStateHandle&) = delete;
    CLuaStateHandle& operator=(const CLuaStateHandle&) = delete;

    lua_State* Get() const { return m_pState; }
    // Runs every pending finaliser and frees the state; later Get() returns null.
    void Close();

private:
    lua_State* m_pState;
};

using LuaStatePtr = std::shared_ptr<CLuaStateHandle>;

// Opens the base library without dofile, loadfile, load and print, and the table, string, utf8, math,
// coroutine, debug, os and io libraries without their process and file-system entry points.
void OpenSharedLibraries(lua_State* L);
