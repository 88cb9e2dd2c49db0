// Copies exactly the listed base functions and library members into each resource environment.
#include "LuaScripting/LuaLibrary.h"
#include "Engine/Log.h"

namespace {

struct tLibrarySubset {
    const char* name;
    const char* const* members;  // null-terminated
};

const char* const BASE_FUNCTIONS[] = {"assert", "collectgarbage", "error", "getmetatable", "ipairs", "next",
                                      "pairs", "pcall", "rawequal", "rawlen", "rawget", "rawset", "select",
                                      "setmetatable", "tonumber", "tostring", "xpcall", "type", "_VERSION",
                                      nullptr};
const char* const STRING_MEMBERS[] = {"byte", "char", "dump", "find", "format", "gmatch", "gsub", "len", "lower",
                                      "match", "rep", "reverse", "sub", "upper", "pack", "packsize", "unpack",
                                      nullptr};
const char* const TABLE_MEMBERS[] = {"concat", "insert", "pack", "unpack", "remove", "move", "sort", nullptr};
const char* const MATH_MEMBERS[] = {"abs", "acos", "asin", "atan", "ceil", "cos", "deg", "exp", "tointeger",
                                    "floor", "fmod", "ult", "log", "max", "min", "modf", "random", "randomseed",
                                    "rad", "sin", "sqrt", "tan", "type", "pi", "huge", "maxinteger",
                                    "mininteger", nullptr};
const char* const OS_MEMBERS[] = {"clock", "date", "difftime", "exit", "setlocale", "time", nullptr};
const char* const DEBUG_MEMBERS[] = {"debug", "getuservalue", "gethook", "getinfo", "getlocal", "getregistry",
                                     "getmetatable", "getupvalue", "upvaluejoin", "upvalueid", "setuservalue",
                                     "sethook", "setlocal", "setmetatable", "setupvalue", "traceback", nullptr};
const char* const UTF8_MEMBERS[] = {"char", "charpattern", "codepoint", "codes", "len", "offset", nullptr};
const char* const COROUTINE_MEMBERS[] = {"create", "resume", "running", "status", "wrap", "yield", "isyieldable",
                                         nullptr};
const char* const IO_MEMBERS[] = {"close", "flush", "input", "output", "read", "type", "write", "stdin", "stdout",
                                  "stderr", nullptr};

const tLibrarySubset LIBRARY_SUBSETS[] = {
    {"string", STRING_MEMBERS}, {"table", TABLE_MEMBERS},         {"math", MATH_MEMBERS},
    {"os", OS_MEMBERS},         {"debug", DEBUG_MEMBERS},         {"utf8", UTF8_MEMBERS},
    {"coroutine", COROUTINE_MEMBERS}, {"io", IO_MEMBERS},
};

// Copies source[name] into the table on top for every listed name.
void CopyFields(lua_State* L, int source, const char* const* names) {
    for (; *names; ++names) {
        lua_getfield(L, source, *names);
        lua_setfield(L, -2, *names);
    }
}

}  // namespace

int LuaBuildEnvironmentTable(lua_State* L) {
    lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    int globals = lua_gettop(L);
    lua_newtable(L);
    int env = lua_gettop(L);
    CopyFields(L, globals, BASE_FUNCTIONS);
    for (const tLibrarySubset& subset : LIBRARY_SUBSETS) {
        lua_getfield(L, globals, subset.name);
        int library = lua_gettop(L);
        lua_newtable(L);
        CopyFields(L, library, subset.members);
        lua_setfield(L, env, subset.name);
        lua_pop(L, 1);
    }
    lua_pushvalue(L, env);
    lua_pushcclosure(L, LuaEnvironmentLoad, 1);
    lua_setfield(L, env, "load");
    lua_pushcfunction(L, LuaEnvironmentPrint);
    lua_setfield(L, env, "print");
    lua_pushvalue(L, env);
    lua_setfield(L, env, "_G");
    return 1;
}

namespace {

// Hands lua_load the pieces a script function returns, as the standard load does.
const char* ReadPieces(lua_State* L, void*, size_t* size) {
    luaL_checkstack(L, 2, "too many nested functions");
    lua_pushvalue(L, 1);
    lua_call(L, 0, 1);
    if (lua_isnil(L, -1)) {
        lua_pop(L, 1);
        *size = 0;
        return nullptr;
    }
    if (!lua_isstring(L, -1))
        luaL_error(L, "reader function must return a string");
    lua_replace(L, 5);  // keeps the piece anchored while the parser reads it
    return lua_tolstring(L, 5, size);
}

}  // namespace

int LuaEnvironmentLoad(lua_State* L) {
    size_t length;
    const char* text = lua_tolstring(L, 1, &length);
    bool hasEnv = !lua_isnone(L, 4);
    int status;
    if (text) {
        const char* chunkName = luaL_optstring(L, 2, text);
        status = luaL_loadbufferx(L, text, length, chunkName, "t");
    } else {
        const char* chunkName = luaL_optstring(L, 2, "=(load)");
        luaL_checktype(L, 1, LUA_TFUNCTION);
        lua_settop(L, 5);  // slot 5 anchors the piece being parsed
        status = lua_load(L, ReadPieces, nullptr, chunkName, "t");
    }
    if (status != LUA_OK) {
        lua_pushnil(L);
        lua_insert(L, -2);
        return 2;
    }
    if (hasEnv)
        lua_pushvalue(L, 4);
    else
        lua_pushvalue(L, lua_upvalueindex(1));
    if (!lua_setupvalue(L, -2, 1))
        lua_pop(L, 1);
    return 1;
}

int LuaEnvironmentPrint(lua_State* L) {
    int count = lua_gettop(L);
    lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_getfield(L, -1, "tostring");
    int tostringIndex = lua_gettop(L);
    luaL_Buffer line;
    luaL_buffinit(L, &line);
    for (int i = 1; i <= count; ++i) {
        lua_pushvalue(L, tostringIndex);
        lua_pushvalue(L, i);
        lua_call(L, 1, 1);
        size_t length;
        const char* text = lua_tolstring(L, -1, &length);
        if (!text)
            return luaL_error(L, "'tostring' must return a string to 'print'");
        if (i > 1)
            luaL_addchar(&line, '\t');
        luaL_addvalue(&line);
    }
    luaL_pushresult(&line);
    Ferrox3D::Log("%s", lua_tostring(L, -1));
    return 0;
}
