// Only the first argument is logged; further arguments are ignored.
#include "JSScripting/JSConsole.h"
#include "Engine/Log.h"
#include <js/Conversions.h>
#include <js/PropertyAndElement.h>

namespace {
bool LogFirstArgument(JSContext* cx, unsigned argc, JS::Value* vp, Ferrox3D::eLogType level) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JS::RootedString text(cx, JS::ToString(cx, args.get(0)));
    if (!text)
        return false;
    JS::UniqueChars utf8 = JS_EncodeStringToUTF8(cx, text);
    if (!utf8)
        return false;
    Ferrox3D::LogMessage(level, "%s", utf8.get());
    args.rval().setUndefined();
    return true;
}

bool ConsoleLog(JSContext* cx, unsigned argc, JS::Value* vp) {
    return LogFirstArgument(cx, argc, vp, Ferrox3D::LOGTYPE_INFO);
}
bool ConsoleWarn(JSContext* cx, unsigned argc, JS::Value* vp) {
    return LogFirstArgument(cx, argc, vp, Ferrox3D::LOGTYPE_WARN);
}
bool ConsoleError(JSContext* cx, unsigned argc, JS::Value* vp) {
    return LogFirstArgument(cx, argc, vp, Ferrox3D::LOGTYPE_ERROR);
}

bool ConsoleAssert(JSContext* cx, unsigned argc, JS::Value* vp) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    args.rval().setUndefined();
    if (JS::ToBoolean(args.get(0)))
        return true;
    JS::RootedString text(cx, JS::ToString(cx, args.get(1)));
    if (!text)
        return false;
    JS::UniqueChars utf8 = JS_EncodeStringToUTF8(cx, text);
    if (!utf8)
        return false;
    Ferrox3D::LogError("%s", utf8.get());
    return true;
}

const JSFunctionSpec s_ConsoleFunctions[] = {
    JS_FN("assert", ConsoleAssert, 2, 0), JS_FN("log", ConsoleLog, 1, 0),     JS_FN("info", ConsoleLog, 1, 0),
    JS_FN("warn", ConsoleWarn, 1, 0),     JS_FN("error", ConsoleError, 1, 0), JS_FS_END,
};
}  // namespace

bool DefineConsole(JSContext* cx, JS::HandleObject global) {
    JS::RootedObject console(cx, JS_NewPlainObject(cx));
    return console && JS_DefineFunctions(cx, console, s_ConsoleFunctions) &&
           JS_DefineProperty(cx, global, "console", console, 0);
}
