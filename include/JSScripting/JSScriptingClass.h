// The JavaScript side of one reflected class: its JSClass, prototype, constructor, methods and accessors.
#pragma once
#include <memory>
#include <string>
#include <jsapi.h>
#include "Engine/Reflection.h"

class CJSScripting;

// Stored in the reflected class's per-language slot; the root "Referenceable" has no reflected class.
class CJSScriptingClass {
public:
    CJSScriptingClass(Ferrox3D::ReflectedClass* pClass, const char* pszName);
    ~CJSScriptingClass();
    CJSScriptingClass(const CJSScriptingClass&) = delete;
    CJSScriptingClass& operator=(const CJSScriptingClass&) = delete;

    // Makes the prototype (whose prototype is the parent's), the constructor and the members, in the
    // class-hosting realm. A null parent is for the root class only.
    bool Initialise(CJSScripting& scripting, CJSScriptingClass* pParent);
    // The context is going away: drops the roots; Initialise may be called again for a new one.
    void Detach();

    bool IsInitialised() const { return m_pScripting != nullptr; }
    CJSScripting* GetScripting() const { return m_pScripting; }
    const JSClass* GetJSClass() const { return m_pJSClass; }
    JSObject* GetPrototype() const;
    JSObject* GetConstructor() const;
    Ferrox3D::ReflectedClass* GetReflectedClass() const { return m_pClass; }
    const char* GetName() const { return m_Name.c_str(); }

    // Release callback of the per-language slot.
    static void Release(void* pData) { delete static_cast<CJSScriptingClass*>(pData); }

private:
    static bool Construct(JSContext* cx, unsigned argc, JS::Value* vp);
    bool ConstructIn(JSContext* cx, JS::CallArgs& args);
    bool DefineMembers(JS::HandleObject prototype);
    bool DefineIndexAliases(JS::HandleObject prototype);

    Ferrox3D::ReflectedClass* m_pClass;
    std::string m_Name;
    CJSScripting* m_pScripting = nullptr;
    const JSClass* m_pJSClass = nullptr;  // storage owned by the scripting until its context is gone
    std::unique_ptr<JS::PersistentRootedObject> m_pPrototype;
    std::unique_ptr<JS::PersistentRootedObject> m_pConstructor;
};
