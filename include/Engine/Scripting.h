// The script root: the reflection tree, the registered languages and their environments.
#pragma once
#include <cstdint>
#include "Engine/DefineHandlers.h"
#include "Engine/Reflection.h"

namespace Ferrox3D {

class CResource;  // the resource a script belongs to; only its address is used here
class Stream;
class CScriptEnvironment;

// One script language (JavaScript, Lua, Squirrel).
class CScriptingVM {
public:
    virtual ~CScriptingVM() = default;
    // Publishes the reflection tree into the language.
    virtual bool DefineClasses() = 0;
    virtual void CollectGarbage() = 0;
    // A new environment for one resource, or null when it cannot be made.
    virtual CScriptEnvironment* CreateEnvironment(const char* resourceName) = 0;
    // The form resources use: the virtual one, then the environment's resource is set.
    CScriptEnvironment* CreateEnvironment(CResource* pResource, const char* resourceName);
};

// One resource's scripts in one language.
class CScriptEnvironment {
public:
    virtual ~CScriptEnvironment() = default;
    virtual void Destroy() = 0;
    // Compiles and runs one script file.
    virtual bool DoFile(Stream* pStream, const char* fileName) = 0;
    CResource* GetResource() const { return m_pResource; }
    void SetResource(CResource* pResource) { m_pResource = pResource; }

protected:
    CResource* m_pResource = nullptr;
};

class CScripting {
public:
    static constexpr int MAX_VMS = 16;

    // Makes "global" with its children "reflection" and "module" and the class "Function".
    CScripting();
    ~CScripting();
    CScripting(const CScripting&) = delete;
    CScripting& operator=(const CScripting&) = delete;

    ReflectedNamespace* GetGlobal() { return &m_Global; }
    ReflectedNamespace* GetReflectionNamespace() const { return m_pReflection; }
    ReflectedNamespace* GetModuleNamespace() const { return m_pModule; }
    // The class of function objects (reflection.createFunction).
    ReflectedClass* GetFunctionClass() const { return m_pFunctionClass; }
    ReflectedClass* GetTextReaderClass() const { return m_pTextReaderClass; }
    void SetTextReaderClass(ReflectedClass* pClass) { m_pTextReaderClass = pClass; }

    // The constants every language publishes as globals (bindings read GetDefines()).
    CDefineHandlers* GetDefineHandlers() { return &m_Defines; }

    // Registers clone, move, tostring, createFunction and call in "reflection".
    void RegisterReflectionFunctions();

    // Language table; the id is the CRC-32 of the language name ("Lua", "SpiderMonkey", "Squirrel").
    bool AddVM(uint32_t id, CScriptingVM* pVM);
    bool AddVM(const char* name, CScriptingVM* pVM);
    CScriptingVM* GetVM(const char* name) const;
    CScriptingVM* GetVM(uint32_t id) const;
    // DefineClasses of every language in table order; false at the first that fails.
    bool DefineAllClasses();
    void CollectGarbage();

    ReflectedNamespace m_Global{"global"};

private:
    struct tVM {
        uint32_t id;
        CScriptingVM* pVM;
    };
    tVM m_rgVMs[MAX_VMS];
    int m_VMCount = 0;
    ReflectedNamespace* m_pReflection;
    ReflectedNamespace* m_pModule;
    ReflectedClass* m_pFunctionClass;
    ReflectedClass* m_pTextReaderClass = nullptr;
    CDefineHandlers m_Defines;
};

// The language id of a name: CRC-32 of its bytes, case-sensitive.
uint32_t GetLanguageId(const char* name);

}  // namespace Ferrox3D
