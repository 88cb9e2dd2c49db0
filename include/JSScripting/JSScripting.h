// The JavaScript language: one context for all resources, checkpoints, collection and wrapper records.
#pragma once
#include <memory>
#include <unordered_set>
#include <vector>
#include <jsapi.h>

class CJSScriptEnvironment;
class CJSReferenceable;
class CJSJobQueue;
class CJSRejectionTracker;

class CJSScripting {
public:
    CJSScripting();
    ~CJSScripting();
    CJSScripting(const CJSScripting&) = delete;
    CJSScripting& operator=(const CJSScripting&) = delete;

    // Makes the context on first use; null on failure (logged).
    CJSScriptEnvironment* CreateEnvironment(const char* pszResourceName);
    // A full collection, then the release of everything whose wrapper it collected.
    void CollectGarbage();

    // Runs queued promise jobs, reports rejections nobody handled and releases engine objects whose
    // wrappers were collected. Acts only when no JavaScript is on the stack; the binding calls it after
    // every run of script code, the main loop once per pass.
    void Checkpoint();

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
    // Defines the constants and the script API on a new resource global (its realm entered).
    bool PublishApi(JS::HandleObject global);

    // Wrapper records; the finaliser queues a record, the next checkpoint or collection releases it.
    void AddRecord(CJSReferenceable* pRecord);
    void RemoveRecord(CJSReferenceable* pRecord);
    void QueueFinalised(CJSReferenceable* pRecord);
    size_t GetRecordCount() const { return m_Records.size(); }

private:
    bool InitialiseContext();
    bool CreateHostGlobal();
    void DestroyContext();
    void RunJob(JS::HandleObject job);
    void ReleaseCollected();
    void ReleaseDeadEnvironments();

    static void OnWeakPointers(JSTracer* trc, void* data);
    static void OnRealmDestroyed(JS::GCContext* gcx, JS::Realm* realm);

    JSContext* m_cx = nullptr;
    bool m_bInitFailed = false;
    bool m_bInCheckpoint = false;
    std::unique_ptr<JS::PersistentRootedObject> m_pHostGlobal;
    std::unique_ptr<CJSJobQueue> m_pJobQueue;
    std::unique_ptr<CJSRejectionTracker> m_pRejections;
    std::vector<CJSScriptEnvironment*> m_EnvironmentStack;
    std::unordered_set<CJSScriptEnvironment*> m_Environments;  // every environment not yet released
    std::vector<CJSScriptEnvironment*> m_DeadEnvironments;     // realms collected, released after the GC
    std::unordered_set<CJSReferenceable*> m_Records;
    std::vector<CJSReferenceable*> m_Collected;  // wrappers finalised, objects released after the GC
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
