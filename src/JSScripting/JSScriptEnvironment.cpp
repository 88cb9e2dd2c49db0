// A resource global: standard classes, Reflect.parse, `global`, `collectGarbage`, `console`.
#include "JSScripting/JSScriptEnvironment.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Engine/Stream.h"
#include "JSScripting/JSConsole.h"
#include "JSScripting/JSErrorReport.h"
#include "JSScripting/JSScripting.h"
#include <js/CompilationAndEvaluation.h>
#include <js/GlobalObject.h>
#include <js/PropertyAndElement.h>
#include <js/Realm.h>
#include <js/SourceText.h>
#include <string>

namespace {
const JSClass s_GlobalClass = {"global", JSCLASS_GLOBAL_FLAGS, &JS::DefaultGlobalClassOps};

bool CollectGarbageNative(JSContext* cx, unsigned argc, JS::Value* vp) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    CJSScripting::FromContext(cx)->CollectGarbage();
    args.rval().setUndefined();
    return true;
}
}  // namespace

CJSScriptEnvironment::CJSScriptEnvironment(CJSScripting& scripting, const char* pszName)
    : m_Scripting(scripting), m_Name(pszName ? pszName : "") {}

CJSScriptEnvironment* CJSScriptEnvironment::Create(CJSScripting& scripting, const char* pszName) {
    JSContext* cx = scripting.GetContext();
    JS::RealmOptions options;
    options.creationOptions().setExistingCompartment(scripting.GetHostGlobal());
    JS::RootedObject global(cx, JS_NewGlobalObject(cx, &s_GlobalClass, nullptr, JS::DontFireOnNewGlobalHook, options));
    if (!global) {
        ReportPendingException(cx);
        return nullptr;
    }
    Ferrox3D::Strong<CJSScriptEnvironment> environment =
        Ferrox3D::Strong<CJSScriptEnvironment>::Adopt(new CJSScriptEnvironment(scripting, pszName));
    // The realm holds one reference, dropped after the realm is collected.
    environment->AddRef();
    JS::SetRealmPrivate(JS::GetObjectRealmOrNull(global), environment.Get());
    scripting.AddEnvironment(environment.Get());
    environment->m_pGlobal = std::make_unique<JS::PersistentRootedObject>(cx, global);
    if (!environment->Populate(global)) {
        CJSCallScope scope(scripting, environment.Get(), global);
        ReportPendingException(cx);
        environment->DropGlobal();
        return nullptr;
    }
    return environment.Detach();
}

bool CJSScriptEnvironment::Populate(JS::HandleObject global) {
    JSContext* cx = m_Scripting.GetContext();
    JSAutoRealm realm(cx, global);
    if (!JS::InitRealmStandardClasses(cx) || !JS_InitReflectParse(cx, global) ||
        !JS_DefineProperty(cx, global, "global", global, 0) ||
        !JS_DefineFunction(cx, global, "collectGarbage", CollectGarbageNative, 0, 0) ||
        !DefineConsole(cx, global) || !m_Scripting.PublishApi(global))
        return false;
    JS_FireOnNewGlobalObject(cx, global);
    return true;
}

bool CJSScriptEnvironment::DoFile(Ferrox3D::Stream* pStream, const char* pszFileName) {
    uint64_t remaining = pStream ? pStream->Remaining() : 0;
    if (!pStream || remaining > Ferrox3D::MAX_SCRIPT_FILE_SIZE) {
        Ferrox3D::LogError("Script file %s is missing or larger than %zu bytes", pszFileName,
                           Ferrox3D::MAX_SCRIPT_FILE_SIZE);
        return false;
    }
    std::string source(static_cast<size_t>(remaining), '\0');
    if (pStream->Read(source.data(), source.size()) != source.size()) {
        Ferrox3D::LogError("Script file %s could not be read", pszFileName);
        return false;
    }
    return DoString(source.data(), source.size(), pszFileName);
}

bool CJSScriptEnvironment::DoString(const char* pszSource, size_t length, const char* pszFileName) {
    JSObject* pGlobal = GetGlobal();
    if (!pGlobal)
        return false;
    JSContext* cx = m_Scripting.GetContext();
    CJSCallScope scope(m_Scripting, this, pGlobal);
    JS::SourceText<mozilla::Utf8Unit> source;
    JS::CompileOptions options(cx);
    options.setFileAndLine(pszFileName, 1);
    JS::RootedValue result(cx);
    if (!source.init(cx, pszSource, length, JS::SourceOwnership::Borrowed) ||
        !JS::Evaluate(cx, options, source, &result)) {
        ReportPendingException(cx);
        return false;
    }
    return true;
}

void CJSScriptEnvironment::Destroy() {
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    m_pGlobal.reset();
    Release();
}

CJSScriptEnvironment* CJSScriptEnvironment::FromRealm(JS::Realm* pRealm) {
    return pRealm ? static_cast<CJSScriptEnvironment*>(JS::GetRealmPrivate(pRealm)) : nullptr;
}

CJSScriptEnvironment* CJSScriptEnvironment::FromObject(JSObject* pObject) {
    return FromRealm(JS::GetObjectRealmOrNull(pObject));
}
