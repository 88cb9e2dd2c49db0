// Event dispatch: handler order, sources, cancellation, and removal that waits for the dispatch.
#include "Scripting/EventType.h"
#include <algorithm>
#include "Engine/CRC32.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Scripting/EventHandlers.h"

namespace Ferrox3D {
namespace EventHandlers {

CEventHandler::CEventHandler(CBaseObject* pSource, CResource* pResource)
    : m_pSource(pSource), m_pResource(pResource), m_bBound(pSource != nullptr) {}

void CScriptEventHandler::Execute(CEvent* pEvent, const char* name, CArgumentArray* pArguments) {
    if (!m_pFunction)
        return;
    size_t count = pArguments ? pArguments->GetArrayCount() : 0;
    CArgumentArray arguments(count + 1);
    arguments.AddObject(pEvent);
    if (pArguments)
        pArguments->InsertTo(&arguments);
    // A failing handler has been reported by its language; the dispatch goes on.
    m_pFunction->Invoke(&arguments, nullptr);
}

namespace {
CEventHandlers* OwnerOf(CEventType* pType) { return pType ? pType->GetOwner() : nullptr; }

// Nested dispatches across all event types: a handler that keeps triggering events (itself, or
// two that trigger each other) is stopped before it exhausts the stack.
int g_DispatchNesting = 0;
}  // namespace

CEvent::CEvent(CEventType* pType) : m_pType(pType) {
    if (CEventHandlers* pOwner = OwnerOf(pType))
        SetReflectedClass(pOwner->GetEventClass());
}

CCancellableEvent::CCancellableEvent(CEventType* pType) : CEvent(pType) {
    if (CEventHandlers* pOwner = OwnerOf(pType))
        SetReflectedClass(pOwner->GetCancellableEventClass());
}

CEventType::CEventType(CEventHandlers* pOwner, const char* name, const char* description, int32_t argumentCount,
                       bool cancellable)
    : m_pOwner(pOwner), m_Hash(NameKey(name)), m_Name(name ? name : ""), m_Description(description ? description : ""),
      m_ArgumentCount(argumentCount), m_bCancellable(cancellable) {}

CEventType::~CEventType() {
    for (CEventHandler* pHandler : m_Handlers)
        delete pHandler;
}

void CEventType::AddHandler(CResource* pResource, CFunction* pFunction) {
    AddHandler(new CScriptEventHandler(nullptr, pResource, pFunction));
}

void CEventType::AddHandler(CBaseObject* pSource, CResource* pResource, CFunction* pFunction) {
    AddHandler(new CScriptEventHandler(pSource, pResource, pFunction));
}

void CEventType::AddHandler(CEventHandler* pHandler) { m_Handlers.push_back(pHandler); }

size_t CEventType::GetHandlerCount() const {
    return std::count_if(m_Handlers.begin(), m_Handlers.end(), [](CEventHandler* p) { return !p->m_bRemoved; });
}

bool CEventType::Trigger(CArgumentArray* pArguments) {
    Strong<CEvent> event = Strong<CEvent>::Adopt(new CEvent(this));
    return TriggerWithEvent(event, pArguments);
}

bool CEventType::Trigger(CArgumentArray* pArguments, bool& defaultPrevented) {
    if (!m_bCancellable)
        LogWarn("Trigger: Event '%s' used with 'preventDefault' but not registered that way", GetName());
    Strong<CCancellableEvent> event = Strong<CCancellableEvent>::Adopt(new CCancellableEvent(this));
    bool ran = TriggerWithEvent(event, pArguments);
    defaultPrevented = event->IsDefaultPrevented();
    return ran;
}

bool CEventType::Trigger(CResource* pResource, CArgumentArray* pArguments) {
    Strong<CEvent> event = Strong<CEvent>::Adopt(new CEvent(this));
    return TriggerWithEvent(pResource, event, pArguments);
}

bool CEventType::TriggerWithEvent(CEvent* pEvent, CArgumentArray* pArguments) {
    return Dispatch(nullptr, false, pEvent, pArguments);
}

bool CEventType::TriggerWithEvent(CResource* pResource, CEvent* pEvent, CArgumentArray* pArguments) {
    return Dispatch(pResource, true, pEvent, pArguments);
}

CBaseObject* CEventType::FindSource(CArgumentArray* pArguments) const {
    CArgument* pSourceArgument = m_SourceIndex >= 0 && pArguments ? pArguments->GetAt(m_SourceIndex) : nullptr;
    if (!pSourceArgument || pSourceArgument->IsNull())
        return nullptr;
    if (!F_ASSERT(pSourceArgument->IsObject()))
        return nullptr;
    return pSourceArgument->ToObject();
}

// Handlers run in subscription order. Handlers may add, remove or re-trigger while this runs:
// the list only grows during a dispatch (removed ones are flagged and skipped), handlers added
// now wait for the next trigger, and the outermost dispatch deletes what was removed.
bool CEventType::Dispatch(CResource* pOnly, bool onlyResource, CEvent* pEvent, CArgumentArray* pArguments) {
    size_t given = pArguments ? pArguments->GetArrayCount() : 0;
    if (m_ArgumentCount >= 0 && given < static_cast<size_t>(m_ArgumentCount))
        LogWarn("TriggerWithEvent: Event '%s' triggered with %d arguments but requires %d arguments", GetName(),
                static_cast<int>(given), m_ArgumentCount);
    if (g_DispatchNesting >= MAX_EVENT_NESTING) {
        LogWarn("TriggerWithEvent: Event '%s' triggered inside %d other events; not dispatched", GetName(),
                g_DispatchNesting);
        return false;
    }
    Strong<CEvent> keepEvent(pEvent);
    Strong<CArgumentArray> keepArguments(pArguments);
    CBaseObject* pSource = FindSource(pArguments);
    Weak<CBaseObject> source(pSource);
    ++m_DispatchDepth;
    ++g_DispatchNesting;
    bool ran = false;
    size_t count = m_Handlers.size();
    for (size_t i = 0; i < count; ++i) {
        CEventHandler* pHandler = m_Handlers[i];
        if (pHandler->m_bRemoved || (onlyResource && pHandler->m_pResource != pOnly))
            continue;
        if (pHandler->IsOrphaned()) {
            Remove(pHandler);
            continue;
        }
        if (pHandler->m_bBound && (!source || pHandler->GetSource() != source.Get()))
            continue;
        pHandler->Execute(pEvent, m_Name.c_str(), pArguments);
        ran = true;
    }
    --g_DispatchNesting;
    if (--m_DispatchDepth == 0)
        PurgeRemoved();
    return ran;
}

void CEventType::Remove(CEventHandler* pHandler) {
    pHandler->m_bRemoved = true;
    m_bHasRemoved = true;
    if (m_DispatchDepth == 0)
        PurgeRemoved();
}

void CEventType::PurgeRemoved() {
    if (!m_bHasRemoved)
        return;
    m_bHasRemoved = false;
    std::vector<CEventHandler*> removed;
    auto kept = std::stable_partition(m_Handlers.begin(), m_Handlers.end(),
                                      [](CEventHandler* p) { return !p->m_bRemoved; });
    removed.assign(kept, m_Handlers.end());
    m_Handlers.erase(kept, m_Handlers.end());
    // Deleting drops the handlers' functions, which may run finalisers: the list is settled first.
    for (CEventHandler* pHandler : removed)
        delete pHandler;
}

template <typename Match>
size_t CEventType::RemoveMatching(Match match) {
    size_t removed = 0;
    for (CEventHandler* pHandler : m_Handlers) {
        if (!pHandler->m_bRemoved && match(pHandler)) {
            pHandler->m_bRemoved = true;
            m_bHasRemoved = true;
            ++removed;
        }
    }
    if (m_DispatchDepth == 0)
        PurgeRemoved();
    return removed;
}

size_t CEventType::RemoveHandlers(CResource* pResource) {
    return RemoveMatching([pResource](CEventHandler* p) { return !pResource || p->m_pResource == pResource; });
}

size_t CEventType::RemoveHandlersWithSource(CBaseObject* pSource, CResource* pResource) {
    if (!pSource)
        return 0;
    return RemoveMatching([pSource, pResource](CEventHandler* p) {
        return p->m_bBound && p->GetSource() == pSource && (!pResource || p->m_pResource == pResource);
    });
}

}  // namespace EventHandlers
}  // namespace Ferrox3D
