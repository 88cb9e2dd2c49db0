// The library subset of a resource environment, and the environment's own load and print.
#pragma once
#include <lua.hpp>

// Protected entry (lua_pcall it with no arguments): returns a new environment table holding copies of
// the safe base functions and library members of the shared state, its own load and print, and _G.
int LuaBuildEnvironmentTable(lua_State* L);

// load (chunk, chunk name, mode, env): only text chunks load, whatever the mode says; the chunk's _ENV is
// env when given, else the environment table held in the closure's first upvalue.
int LuaEnvironmentLoad(lua_State* L);

// print (...): the shared tostring of every argument, joined by tabs, logged at information level.
int LuaEnvironmentPrint(lua_State* L);
