// Creation of the shared Lua state, its panic report and the libraries every environment copies from.
#include "LuaScripting/LuaState.h"
#include <cstdio>

namespace {

int ReportPanic(lua_State* L) {
    const char* message = lua_tostring(L, -1);
    fprintf(stderr, "PANIC: unprotected error in call to Lua API (%s)\n",
            message ? message : "error object is not a string");
    fflush(stderr);
    return 0;  // Lua aborts the process after this returns
}

void RemoveFields(lua_State* L, const char* const* names) {
    for (; *names; ++names) {
        lua_pushnil(L);
        lua_setfield(L, -2, *names);
    }
}

void OpenLibrary(lua_State* L, const char* name, lua_CFunction open, const char* const* removed) {
    luaL_requiref(L, name, open, 1);
    if (removed)
        RemoveFields(L, removed);
    lua_pop(L, 1);
}

const char* const BASE_REMOVED[] = {"dofile", "loadfile", "load", "print", nullptr};
const char* const OS_REMOVED[] = {"execute", "getenv", "remove", "rename", "tmpname", nullptr};
const char* const IO_REMOVED[] = {"lines", "open", "popen", "tmpfile", nullptr};

}  // namespace

CLuaStateHandle::CLuaStateHandle() : m_pState(luaL_newstate()) {
    if (m_pState)
        lua_atpanic(m_pState, ReportPanic);
}

CLuaStateHandle::~CLuaStateHandle() { Close(); }

void CLuaStateHandle::Close() {
    lua_State* L = m_pState;
    m_pState = nullptr;  // finalisers that run inside lua_close already see the state as closing
    if (L)
        lua_close(L);
}

void OpenSharedLibraries(lua_State* L) {
    OpenLibrary(L, "_G", luaopen_base, BASE_REMOVED);
    OpenLibrary(L, LUA_TABLIBNAME, luaopen_table, nullptr);
    OpenLibrary(L, LUA_STRLIBNAME, luaopen_string, nullptr);
    OpenLibrary(L, LUA_UTF8LIBNAME, luaopen_utf8, nullptr);
    OpenLibrary(L, LUA_MATHLIBNAME, luaopen_math, nullptr);
    OpenLibrary(L, LUA_COLIBNAME, luaopen_coroutine, nullptr);
    OpenLibrary(L, LUA_DBLIBNAME, luaopen_debug, nullptr);
    OpenLibrary(L, LUA_OSLIBNAME, luaopen_os, OS_REMOVED);
    OpenLibrary(L, LUA_IOLIBNAME, luaopen_io, IO_REMOVED);
    lua_gc(L, LUA_GCCOLLECT, 0);
}
