// Loading script files and reporting script errors with their file, line and traceback.
#include "LuaScripting/LuaUtil.h"
#include <cstring>
#include <string>
#include "Engine/Log.h"
#include "Engine/Stream.h"

namespace {

struct tStreamReader {
    Ferrox3D::Stream* pStream;
    char buffer[4096];
};

const char* ReadStream(lua_State*, void* data, size_t* size) {
    auto* reader = static_cast<tStreamReader*>(data);
    *size = reader->pStream->Read(reader->buffer, sizeof(reader->buffer));
    return *size ? reader->buffer : nullptr;
}

const char TRACEBACK_MARK[] = "\nstack traceback:";

}  // namespace

bool CLuaUtil::LoadFile(lua_State* L, Ferrox3D::Stream* pStream, const char* fileName) {
    tStreamReader reader{pStream, {}};
    std::string chunkName = std::string("@") + fileName;
    if (lua_load(L, ReadStream, &reader, chunkName.c_str(), "t") == LUA_OK)
        return true;
    const char* message = lua_tostring(L, -1);
    if (message && strncmp(message, fileName, strlen(fileName)) != 0) {  // the binary-chunk refusal names no file
        lua_pushfstring(L, "%s: %s", fileName, message);
        lua_remove(L, -2);
    }
    return false;
}

int CLuaUtil::MessageHandler(lua_State* L) {
    const char* message = lua_tostring(L, 1);
    if (!message) {
        if (luaL_callmeta(L, 1, "__tostring") && lua_type(L, -1) == LUA_TSTRING)
            message = lua_tostring(L, -1);
        else
            message = lua_pushfstring(L, "(error object is a %s value)", luaL_typename(L, 1));
    }
    luaL_traceback(L, L, message, 1);
    return 1;
}

int CLuaUtil::ProtectedCall(lua_State* L, int nargs, int nresults) {
    int handler = lua_gettop(L) - nargs;
    lua_pushcfunction(L, MessageHandler);
    lua_insert(L, handler);
    int status = lua_pcall(L, nargs, nresults, handler);
    lua_remove(L, handler);
    return status;
}

void CLuaUtil::ReportError(lua_State* L) {
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    if (!text)
        text = "(error object is not a string)";
    const char* traceback = strstr(text, TRACEBACK_MARK);
    if (traceback) {
        Ferrox3D::LogError("SCRIPT ERROR: %.*s", static_cast<int>(traceback - text), text);
        Ferrox3D::LogError("%s", traceback + 1);
    } else {
        Ferrox3D::LogError("SCRIPT ERROR: %s", text);
    }
    lua_pop(L, 1);
}
