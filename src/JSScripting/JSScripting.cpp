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
#include "JSScripting/JSPersistentValue.h"
#include "JSScripting/JSScriptEnvironment.h"
#include "JSScripting/JSScriptingClass.h"
#include <algorithm>
#include <js/PropertyAndElement.h>
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

CJSScripting::CJSScripting(Ferrox3D::CScripting* pScripting)
    : m_pScripting(pScripting), m_LanguageId(Ferrox3D::GetLanguageId("SpiderMonkey")) {}

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
    m_pRootClass = std::make_unique<CJSScriptingClass>(nullptr, "Referenceable");
    if (!JS::InitSelfHostedCode(m_cx) || !CreateHostGlobal() || !m_pRootClass->Initialise(*this, nullptr) ||
        (m_bDefineRequested && !DefineClasses())) {
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
        pEnvironment->DropGlobal();
    m_pJobQueue->Clear();
    m_pRejections->Clear();
    JS_GC(m_cx);
    ReleaseCollected();
    ReleaseDeadEnvironments();
    DetachEngineState();
    m_pRootClass.reset();
    m_pHostGlobal.reset();
    m_pRejections.reset();
    m_pJobQueue->Shutdown();
    JS_RemoveWeakPointerZonesCallback(m_cx, &CJSScripting::OnWeakPointers);
    JS::SetDestroyRealmCallback(m_cx, nullptr);
    JS_DestroyContext(m_cx);
    m_cx = nullptr;
    m_pJobQueue.reset();
    // The realms are gone with the context; so are their references to the environments.
    std::vector<CJSScriptEnvironment*> environments(m_Environments.begin(), m_Environments.end());
    m_Environments.clear();
    m_DeadEnvironments.clear();
    for (CJSScriptEnvironment* pEnvironment : environments)
        pEnvironment->Release();
    m_Bindings.clear();
    m_JSClasses.clear();
}

// Engine objects may outlive the context: they lose their wrappers and roots, not their lives.
void CJSScripting::DetachEngineState() {
    while (!m_Records.empty()) {
        Ferrox3D::CBaseObject* pObject = (*m_Records.begin())->GetObject();
        if (pObject->GetRefCount() == 0)
            pObject->Obliterate();
        else
            pObject->ClearJSScriptReference();
    }
    while (!m_PersistentValues.empty()) {
        CJSPersistentValue* pValue = *m_PersistentValues.begin();
        m_PersistentValues.erase(m_PersistentValues.begin());
        pValue->Drop();
    }
    std::vector<CJSScriptingClass*> classes(m_Classes.begin(), m_Classes.end());
    m_Classes.clear();
    for (CJSScriptingClass* pClass : classes)
        pClass->Detach();
}

bool CJSScripting::DefineClasses() {
    if (!m_cx) {
        m_bDefineRequested = true;
        return true;
    }
    JSAutoRealm realm(m_cx, GetHostGlobal());
    if (DefineNamespaceClasses(*m_pScripting->GetGlobal()))
        return true;
    ReportPendingException(m_cx);
    return false;
}

bool CJSScripting::DefineNamespaceClasses(Ferrox3D::ReflectedNamespace& ns) {
    for (const auto& pClass : ns.GetClasses()) {
        if (!GetClass(pClass.get()))
            return false;
    }
    for (const auto& pChild : ns.GetNamespaces()) {
        if (!DefineNamespaceClasses(*pChild))
            return false;
    }
    return true;
}

CJSScriptingClass* CJSScripting::GetClass(Ferrox3D::ReflectedClass* pClass) {
    if (!pClass || !m_cx)
        return nullptr;
    void** ppSlot = pClass->GetUserData().GetUserData(m_LanguageId);
    auto* pScriptClass = ppSlot ? static_cast<CJSScriptingClass*>(*ppSlot) : nullptr;
    if (pScriptClass && pScriptClass->GetScripting() == this)
        return pScriptClass;
    if (pScriptClass && pScriptClass->IsInitialised())
        return nullptr;  // published by another live JavaScript language
    CJSScriptingClass* pParent = pClass->GetBase() ? GetClass(pClass->GetBase()) : m_pRootClass.get();
    if (!pParent) {
        JS_ReportErrorASCII(m_cx, "no parent prototype");
        return nullptr;
    }
    if (!pScriptClass) {
        ppSlot = pClass->GetUserData().AddUserData(m_LanguageId, &CJSScriptingClass::Release);
        if (!ppSlot)
            return nullptr;
        pScriptClass = new CJSScriptingClass(pClass, pClass->GetName());
        *ppSlot = pScriptClass;
    }
    return pScriptClass->Initialise(*this, pParent) ? pScriptClass : nullptr;
}

const JSClass* CJSScripting::NewJSClass(const char* pszName) {
    m_JSClasses.push_back({pszName, {}});
    tJSClassStorage& storage = m_JSClasses.back();
    storage.jsClass = {storage.name.c_str(),
                       JSCLASS_HAS_RESERVED_SLOTS(CJSReferenceable::SLOT_COUNT) | JSCLASS_FOREGROUND_FINALIZE,
                       &CJSReferenceable::s_WrapperOps};
    return &storage.jsClass;
}

const tJSNativeBinding* CJSScripting::GetBinding(const Ferrox3D::ScriptFunction* pFunction, void* pUser,
                                                 const Ferrox3D::ReflectedClass* pThisClass) {
    std::unique_ptr<tJSNativeBinding>& pBinding = m_Bindings[pFunction];
    if (!pBinding)
        pBinding.reset(new tJSNativeBinding{pFunction, pUser, pThisClass});
    return pBinding.get();
}

bool CJSScripting::PublishApi(JS::HandleObject global) {
    return DefineConstants(global) && DefineNamespace(*m_pScripting->GetGlobal(), global);
}

// The define registry's constants: read-only integers, signed or unsigned as each was defined.
bool CJSScripting::DefineConstants(JS::HandleObject global) {
    for (const Ferrox3D::CDefineHandlers::IntDefine& define : m_pScripting->GetDefineHandlers()->GetDefines()) {
        bool bDefined = define.isUnsigned
                            ? JS_DefineProperty(m_cx, global, define.name.c_str(), define.value, JSPROP_READONLY)
                            : JS_DefineProperty(m_cx, global, define.name.c_str(), define.GetSigned(), JSPROP_READONLY);
        if (!bDefined)
            return false;
    }
    return true;
}

// Classes as constructors, functions, accessor properties, then child namespaces as plain objects.
bool CJSScripting::DefineNamespace(Ferrox3D::ReflectedNamespace& ns, JS::HandleObject target) {
    JS::RootedObject object(m_cx);
    for (const auto& pClass : ns.GetClasses()) {
        CJSScriptingClass* pScriptClass = GetClass(pClass.get());
        object = pScriptClass ? pScriptClass->GetConstructor() : nullptr;
        if (!object || !JS_DefineProperty(m_cx, target, pClass->GetName(), object, 0))
            return false;
    }
    if (!DefineReflectedFunctions(*this, target, ns.GetFunctions(), nullptr) ||
        !DefineReflectedProperties(*this, target, ns.GetProperties(), nullptr))
        return false;
    for (const auto& pChild : ns.GetNamespaces()) {
        object = JS_NewPlainObject(m_cx);
        if (!object || !JS_DefineProperty(m_cx, target, pChild->GetName(), object, 0) ||
            (pChild->GetAlias() && !JS_DefineProperty(m_cx, target, pChild->GetAlias(), object, 0)) ||
            !DefineNamespace(*pChild, object))
            return false;
    }
    return true;
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
