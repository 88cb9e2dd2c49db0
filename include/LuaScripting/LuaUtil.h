// Helpers shared by the Lua binding: loading script files, protected calls with tracebacks, error reports.
#pragma once
#include <lua.hpp>

namespace Ferrox3D {
class Stream;
}

class CLuaUtil {
public:
    // Loads the rest of the stream as a text chunk named "@fileName"; precompiled chunks are refused.
    // Pushes the function, or the error message when it returns false.
    static bool LoadFile(lua_State* L, Ferrox3D::Stream* pStream, const char* fileName);

    // Message handler for lua_pcall: the error text (or a description of a non-string error object)
    // followed by the stack traceback.
    static int MessageHandler(lua_State* L);

    // lua_pcall with MessageHandler below the function; the stack is as lua_pcall leaves it.
    static int ProtectedCall(lua_State* L, int nargs, int nresults);

    // Logs the message on top of the stack as "SCRIPT ERROR: %s" (the traceback on its own line) and pops it.
    static void ReportError(lua_State* L);
};
