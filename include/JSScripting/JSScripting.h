// The JavaScript language: one context for all resources, checkpoints, collection and the published API.
#pragma once
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include <jsapi.h>
#include "Engine/Scripting.h"
#include "JSScripting/JSNatives.h"
#include "JSScripting/JSScriptEnvironment.h"

class CJSReferenceable;
class CJSJobQueue;
class CJSRejectionTracker;
class CJSScriptingClass;
class CJSPersistentValue;

class CJSScripting : public Ferrox3D::CScriptingVM {
public:
    explicit CJSScripting(Ferrox3D::CScripting* pScripting);
    ~CJSScripting() override;
    CJSScripting(const CJSScripting&) = delete;
    CJSScripting& operator=(const CJSScripting&) = delete;

    // Makes the context on first use; null on failure (logged).
    using Ferrox3D::CScriptingVM::CreateEnvironment;
    CJSScriptEnvironment* CreateEnvironment(const char* pszResourceName) override;
    // Publishes every reflected class; before the context exists this only asks for it.
    bool DefineClasses() override;
    // A full collection, then the release of everything whose wrapper it collected.
    void CollectGarbage() override;

    // Runs queued promise jobs, reports rejections nobody handled and releases engine objects whose
    // wrappers were collected. Acts only when no JavaScript is on the stack; the binding calls it after
    // every run of script code, the main loop once per pass.
    void Checkpoint();

    Ferrox3D::CScripting* GetScripting() const { return m_pScripting; }
    uint32_t GetLanguageId() const { return m_LanguageId; }
    JSContext* GetContext() const { return m_cx; }
    JSObject* GetHostGlobal() const;
    static CJSScripting* FromContext(JSContext* cx);

    // The environments whose code is running, innermost last.
    void PushScriptEnvironment(CJSScriptEnvironment* pEnvironment);
    void PopScriptEnvironment();
    CJSScriptEnvironment* GetScriptEnvironment() const;
    size_t GetStackDepth() const { return m_EnvironmentStack.size(); }

    // Environments register when made; their realm's death queues their release.
    void AddEnvironment(CJSScriptEnvironment* pEnvironment);
    size_t GetEnvironmentCount() const { return m_Environments.size(); }
    // Defines the script API on a new resource global (its realm entered).
    bool PublishApi(JS::HandleObject global);

    // The JavaScript class of a reflected class, published (with its bases) on first request.
    CJSScriptingClass* GetClass(Ferrox3D::ReflectedClass* pClass);
    void AddClass(CJSScriptingClass* pClass) { m_Classes.insert(pClass); }
    void RemoveClass(CJSScriptingClass* pClass) { m_Classes.erase(pClass); }
    // Class descriptions live until the context is gone, so no object outlives its class.
    const JSClass* NewJSClass(const char* pszName);
    const tJSNativeBinding* GetBinding(const Ferrox3D::ScriptFunction* pFunction, void* pUser,
                                       const Ferrox3D::ReflectedClass* pThisClass);

    // Wrapper records; the finaliser queues a record, the next checkpoint or collection releases it.
    void AddRecord(CJSReferenceable* pRecord);
    void RemoveRecord(CJSReferenceable* pRecord);
    void QueueFinalised(CJSReferenceable* pRecord);
    size_t GetRecordCount() const { return m_Records.size(); }

    void AddPersistentValue(CJSPersistentValue* pValue) { m_PersistentValues.insert(pValue); }
    void RemovePersistentValue(CJSPersistentValue* pValue) { m_PersistentValues.erase(pValue); }

private:
    struct tJSClassStorage {
        std::string name;
        JSClass jsClass;
    };

    bool InitialiseContext();
    bool CreateHostGlobal();
    void DestroyContext();
    void DetachEngineState();
    bool DefineConstants(JS::HandleObject global);
    bool DefineNamespaceClasses(Ferrox3D::ReflectedNamespace& ns);
    bool DefineNamespace(Ferrox3D::ReflectedNamespace& ns, JS::HandleObject target);
    void RunJob(JS::HandleObject job);
    void ReleaseCollected();
    void ReleaseDeadEnvironments();

    static void OnWeakPointers(JSTracer* trc, void* data);
    static void OnRealmDestroyed(JS::GCContext* gcx, JS::Realm* realm);

    Ferrox3D::CScripting* m_pScripting;
    uint32_t m_LanguageId;
    JSContext* m_cx = nullptr;
    bool m_bInitFailed = false;
    bool m_bDefineRequested = false;
    bool m_bInCheckpoint = false;
    std::unique_ptr<JS::PersistentRootedObject> m_pHostGlobal;
    std::unique_ptr<CJSJobQueue> m_pJobQueue;
    std::unique_ptr<CJSRejectionTracker> m_pRejections;
    std::unique_ptr<CJSScriptingClass> m_pRootClass;  // "Referenceable"
    std::vector<CJSScriptEnvironment*> m_EnvironmentStack;
    std::unordered_set<CJSScriptEnvironment*> m_Environments;  // every environment not yet released
    std::vector<CJSScriptEnvironment*> m_DeadEnvironments;     // realms collected, released after the GC
    std::unordered_set<CJSReferenceable*> m_Records;
    std::vector<CJSReferenceable*> m_Collected;  // wrappers finalised, objects released after the GC
    std::unordered_set<CJSScriptingClass*> m_Classes;
    std::unordered_set<CJSPersistentValue*> m_PersistentValues;
    std::deque<tJSClassStorage> m_JSClasses;
    std::unordered_map<const Ferrox3D::ScriptFunction*, std::unique_ptr<tJSNativeBinding>> m_Bindings;
};

// Enters an environment's realm for one run of script code; leaving the outermost one is a checkpoint.
class CJSCallScope {
public:
    CJSCallScope(CJSScripting& scripting, CJSScriptEnvironment* pEnvironment, JSObject* pTarget);
    ~CJSCallScope();
    CJSCallScope(const CJSCallScope&) = delete;
    CJSCallScope& operator=(const CJSCallScope&) = delete;

private:
    CJSScripting& m_Scripting;
    JSContext* m_cx;
    JS::Realm* m_pOldRealm;
};
