// Context lifetime, the environment stack and checkpoints of the JavaScript language.
#include "JSScripting/JSScripting.h"
#include "Engine/Assert.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "JSScripting/JSEngine.h"
#include "JSScripting/JSErrorReport.h"
#include "JSScripting/JSJobQueue.h"
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSRejectionTracker.h"
#include "JSScripting/JSScriptEnvironment.h"
#include <algorithm>
#include <js/CallAndConstruct.h>
#include <js/GlobalObject.h>
#include <js/Initialization.h>
#include <js/Realm.h>
#include <js/Stack.h>
#include <pthread.h>

namespace {
const JSClass s_HostGlobalClass = {"host", JSCLASS_GLOBAL_FLAGS, &JS::DefaultGlobalClassOps};

// JavaScript may use at most half of this thread's stack, and never more than the configured quota.
size_t NativeStackQuota() {
    size_t stackSize = 0;
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        pthread_attr_getstacksize(&attributes, &stackSize);
        pthread_attr_destroy(&attributes);
    }
    if (stackSize == 0)
        stackSize = 2 * Ferrox3D::JS_NATIVE_STACK_QUOTA;
    return std::min(Ferrox3D::JS_NATIVE_STACK_QUOTA, stackSize / 2);
}
}  // namespace

CJSScripting::CJSScripting() = default;

CJSScripting::~CJSScripting() { DestroyContext(); }

CJSScripting* CJSScripting::FromContext(JSContext* cx) { return static_cast<CJSScripting*>(JS_GetContextPrivate(cx)); }

JSObject* CJSScripting::GetHostGlobal() const { return m_pHostGlobal ? m_pHostGlobal->get() : nullptr; }

CJSScriptEnvironment* CJSScripting::CreateEnvironment(const char* pszResourceName) {
    if (!InitialiseContext())
        return nullptr;
    return CJSScriptEnvironment::Create(*this, pszResourceName);
}

bool CJSScripting::InitialiseContext() {
    if (m_cx)
        return true;
    if (m_bInitFailed || !EnsureJSEngine())
        return false;
    m_bInitFailed = true;
    m_cx = JS_NewContext(Ferrox3D::JS_HEAP_LIMIT);
    if (!F_ASSERT(m_cx != nullptr))
        return false;
    JS_SetContextPrivate(m_cx, this);
    JS_SetGCParameter(m_cx, JSGC_MAX_NURSERY_BYTES, Ferrox3D::JS_NURSERY_LIMIT);
    // Whole collections only: weak pointers are cleared and wrappers finalised in one go, with no
    // script running in between.
    JS_SetGCParameter(m_cx, JSGC_INCREMENTAL_GC_ENABLED, 0);
    JS_SetNativeStackQuota(m_cx, NativeStackQuota());
    m_pJobQueue = std::make_unique<CJSJobQueue>(m_cx, [this](JS::HandleObject job) { RunJob(job); });
    JS::SetJobQueue(m_cx, m_pJobQueue.get());
    m_pRejections = std::make_unique<CJSRejectionTracker>(m_cx);
    JS_AddWeakPointerZonesCallback(m_cx, &CJSScripting::OnWeakPointers, this);
    JS::SetDestroyRealmCallback(m_cx, &CJSScripting::OnRealmDestroyed);
    if (!JS::InitSelfHostedCode(m_cx) || !CreateHostGlobal()) {
        if (JS_IsExceptionPending(m_cx))
            ReportPendingException(m_cx);
        DestroyContext();
        return false;
    }
    m_bInitFailed = false;
    return true;
}

bool CJSScripting::CreateHostGlobal() {
    JS::RealmOptions options;
    JS::RootedObject global(m_cx,
                            JS_NewGlobalObject(m_cx, &s_HostGlobalClass, nullptr, JS::DontFireOnNewGlobalHook, options));
    if (!global)
        return false;
    JSAutoRealm realm(m_cx, global);
    if (!JS::InitRealmStandardClasses(m_cx))
        return false;
    m_pHostGlobal = std::make_unique<JS::PersistentRootedObject>(m_cx, global);
    JS_FireOnNewGlobalObject(m_cx, global);
    return true;
}

void CJSScripting::DestroyContext() {
    if (!m_cx)
        return;
    for (CJSScriptEnvironment* pEnvironment : m_Environments)
        pEnvironment->Destroy();
    m_pJobQueue->Clear();
    m_pRejections->Clear();
    JS_GC(m_cx);
    ReleaseCollected();
    ReleaseDeadEnvironments();
    // Objects still referenced natively live on without a wrapper.
    while (!m_Records.empty()) {
        CJSReferenceable* pRecord = *m_Records.begin();
        if (pRecord->GetObject()->GetRefCount() == 0)
            pRecord->GetObject()->Obliterate();
        else
            pRecord->GetObject()->ClearJSScriptReference();
    }
    if (!m_Environments.empty())
        Ferrox3D::LogWarn("%zu JavaScript environments still referenced at shutdown", m_Environments.size());
    m_pHostGlobal.reset();
    m_pRejections.reset();
    m_pJobQueue->Shutdown();
    JS_RemoveWeakPointerZonesCallback(m_cx, &CJSScripting::OnWeakPointers);
    JS::SetDestroyRealmCallback(m_cx, nullptr);
    JS_DestroyContext(m_cx);
    m_cx = nullptr;
    m_pJobQueue.reset();
    m_Environments.clear();
    m_DeadEnvironments.clear();
}

void CJSScripting::CollectGarbage() {
    if (!m_cx)
        return;
    JS_GC(m_cx);
    if (m_EnvironmentStack.empty()) {
        ReleaseCollected();
        ReleaseDeadEnvironments();
    }
}

void CJSScripting::Checkpoint() {
    if (!m_cx || !m_EnvironmentStack.empty() || m_bInCheckpoint)
        return;
    m_bInCheckpoint = true;
    do {
        m_pJobQueue->runJobs(m_cx);
        m_pRejections->ReportUnhandled(m_cx);
    } while (!m_pJobQueue->empty());
    ReleaseCollected();
    ReleaseDeadEnvironments();
    m_bInCheckpoint = false;
}

void CJSScripting::RunJob(JS::HandleObject job) {
    CJSCallScope scope(*this, CJSScriptEnvironment::FromObject(job), job);
    JS::RootedValue result(m_cx);
    if (!JS::Call(m_cx, JS::UndefinedHandleValue, job, JS::HandleValueArray::empty(), &result))
        ReportPendingException(m_cx);
}

void CJSScripting::PushScriptEnvironment(CJSScriptEnvironment* pEnvironment) {
    m_EnvironmentStack.push_back(pEnvironment);
}

void CJSScripting::PopScriptEnvironment() {
    if (F_ASSERT(!m_EnvironmentStack.empty()))
        m_EnvironmentStack.pop_back();
}

CJSScriptEnvironment* CJSScripting::GetScriptEnvironment() const {
    return m_EnvironmentStack.empty() ? nullptr : m_EnvironmentStack.back();
}

void CJSScripting::AddEnvironment(CJSScriptEnvironment* pEnvironment) { m_Environments.insert(pEnvironment); }

bool CJSScripting::PublishApi(JS::HandleObject) { return true; }

void CJSScripting::AddRecord(CJSReferenceable* pRecord) { m_Records.insert(pRecord); }

void CJSScripting::RemoveRecord(CJSReferenceable* pRecord) {
    m_Records.erase(pRecord);
    if (pRecord->IsCollected())
        m_Collected.erase(std::remove(m_Collected.begin(), m_Collected.end(), pRecord), m_Collected.end());
}

void CJSScripting::QueueFinalised(CJSReferenceable* pRecord) { m_Collected.push_back(pRecord); }

// One record at a time: releasing one object may destroy others whose records are queued too.
void CJSScripting::ReleaseCollected() {
    while (!m_Collected.empty()) {
        CJSReferenceable* pRecord = m_Collected.back();
        m_Collected.pop_back();
        pRecord->ReleaseAfterCollection();
    }
}

void CJSScripting::ReleaseDeadEnvironments() {
    while (!m_DeadEnvironments.empty()) {
        CJSScriptEnvironment* pEnvironment = m_DeadEnvironments.back();
        m_DeadEnvironments.pop_back();
        m_Environments.erase(pEnvironment);
        pEnvironment->Release();
    }
}

void CJSScripting::OnWeakPointers(JSTracer* trc, void* data) {
    for (CJSReferenceable* pRecord : static_cast<CJSScripting*>(data)->m_Records) {
        if (!pRecord->IsCollected())
            pRecord->UpdateWeakPointer(trc);
    }
}

// Runs inside the collection: the environment is only queued, and released afterwards.
void CJSScripting::OnRealmDestroyed(JS::GCContext*, JS::Realm* pRealm) {
    if (CJSScriptEnvironment* pEnvironment = CJSScriptEnvironment::FromRealm(pRealm))
        pEnvironment->GetScripting().m_DeadEnvironments.push_back(pEnvironment);
}

CJSCallScope::CJSCallScope(CJSScripting& scripting, CJSScriptEnvironment* pEnvironment, JSObject* pTarget)
    : m_Scripting(scripting), m_cx(scripting.GetContext()), m_pOldRealm(JS::EnterRealm(m_cx, pTarget)) {
    m_Scripting.PushScriptEnvironment(pEnvironment);
}

CJSCallScope::~CJSCallScope() {
    m_Scripting.PopScriptEnvironment();
    JS::LeaveRealm(m_cx, m_pOldRealm);
    m_Scripting.Checkpoint();
}
