// One resource's JavaScript global, in its own realm of the binding's single compartment.
#pragma once
#include <memory>
#include <string>
#include <jsapi.h>
#include "Engine/ObjectModel.h"
#include "Engine/Scripting.h"

class CJSScripting;

class CJSScriptEnvironment : public Ferrox3D::CBaseObject, public Ferrox3D::CScriptEnvironment {
public:
    // A new environment with one reference for its resource (its realm holds another); null on failure.
    static CJSScriptEnvironment* Create(CJSScripting& scripting, const char* pszName);

    // Reads the stream whole, compiles and runs it; false after reporting a compile or run error.
    bool DoFile(Ferrox3D::Stream* pStream, const char* pszFileName) override;
    bool DoString(const char* pszSource, size_t length, const char* pszFileName);
    // Drops the global's root and the resource's reference (once); the environment dies once its
    // realm is collected and nothing else holds it.
    void Destroy() override;
    // Shutdown of the language: the global is no longer rooted, references are left alone.
    void DropGlobal() { m_pGlobal.reset(); }

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
    bool m_bDestroyed = false;
};
