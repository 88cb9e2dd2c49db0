// One resource's JavaScript global, in its own realm of the binding's single compartment.
#pragma once
#include <memory>
#include <string>
#include <jsapi.h>
#include "Engine/ObjectModel.h"

namespace Ferrox3D {
class Stream;
}
class CJSScripting;

class CJSScriptEnvironment : public Ferrox3D::CBaseObject {
public:
    // A new environment with one reference for the caller (its realm holds another); null on failure.
    static CJSScriptEnvironment* Create(CJSScripting& scripting, const char* pszName);

    // Reads the stream whole, compiles and runs it; false after reporting a compile or run error.
    bool DoFile(Ferrox3D::Stream* pStream, const char* pszFileName);
    bool DoString(const char* pszSource, size_t length, const char* pszFileName);
    // Drops the global's root; the environment dies once its realm is collected.
    void Destroy();

    JSObject* GetGlobal() const { return m_pGlobal ? m_pGlobal->get() : nullptr; }
    CJSScripting& GetScripting() const { return m_Scripting; }
    const std::string& GetName() const { return m_Name; }
    static CJSScriptEnvironment* FromRealm(JS::Realm* pRealm);
    static CJSScriptEnvironment* FromObject(JSObject* pObject);

private:
    CJSScriptEnvironment(CJSScripting& scripting, const char* pszName);
    bool Populate(JS::HandleObject global);

    CJSScripting& m_Scripting;
    std::string m_Name;
    std::unique_ptr<JS::PersistentRootedObject> m_pGlobal;
};
