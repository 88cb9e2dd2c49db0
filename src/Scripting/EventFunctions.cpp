// The event script API: addEvent, addEventHandler, removeEventHandler, bindEventHandler,
// unbindEventHandler, triggerEvent, and the Event and CancellableEvent classes.
#include "Engine/Log.h"
#include "Engine/NativeState.h"
#include "Scripting/EventHandlers.h"

namespace Ferrox3D {
namespace EventHandlers {

namespace {
CEventHandlers* Registry(void* pUser) { return static_cast<CEventHandlers*>(pUser); }

bool AddEvent(CNativeState* pState, int32_t argumentCount, void* pUser) {
    const char* name = pState->CheckString(0);
    int32_t declared = -1;
    if (!name || (argumentCount > 1 && !pState->CheckNumber(1, declared)))
        return false;
    if (!Registry(pUser)->GetEventType(name))
        Registry(pUser)->CreateEventType(name, "", declared, true);
    pState->ReturnBoolean(Registry(pUser)->GetEventType(name) != nullptr);
    return true;
}

bool AddEventHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    CFunction* pFunction = name ? pState->CheckFunction(1) : nullptr;
    if (!pFunction)
        return false;
    CEventType* pType = Registry(pUser)->GetEventType(name);
    if (!pType) {
        LogWarn("AddEventHandler: Event '%s' doesn't exist", name);
        pState->ReturnBoolean(false);
        return true;
    }
    pType->AddHandler(pState->GetResource(), pFunction);
    pState->ReturnBoolean(true);
    return true;
}

bool RemoveEventHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    pState->ReturnBoolean(Registry(pUser)->RemoveHandlers(name, pState->GetResource()) > 0);
    return true;
}

// The named event type when it exists and can be bound; an error otherwise.
CEventType* CheckBindable(CNativeState* pState, void* pUser, const char* name) {
    CEventType* pType = Registry(pUser)->GetEventType(name);
    if (!pType)
        return pState->Error("Event '%s' doesn't exist", name), nullptr;
    if (!pType->IsBindable())
        return pState->Error("Event '%s' is not bindable", name), nullptr;
    return pType;
}

bool BindEventHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    CBaseObject* pSource = name ? pState->CheckReferenceable(1) : nullptr;
    CFunction* pFunction = pSource ? pState->CheckFunction(2) : nullptr;
    CEventType* pType = pFunction ? CheckBindable(pState, pUser, name) : nullptr;
    if (!pType)
        return false;
    pType->AddHandler(pSource, pState->GetResource(), pFunction);
    pState->ReturnBoolean(true);
    return true;
}

bool UnbindEventHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    CBaseObject* pSource = name ? pState->CheckReferenceable(1) : nullptr;
    if (!pSource)
        return false;
    pState->ReturnBoolean(Registry(pUser)->RemoveHandlersWithSource(name, pSource, pState->GetResource()) > 0);
    return true;
}

// The source argument is checked and then dropped: handlers get the event and the rest.
bool TriggerEvent(CNativeState* pState, int32_t argumentCount, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    CArgument* pSource = pState->GetArgument(1);
    if (argumentCount > 1 && !pSource->IsNull() && !pSource->IsObject())
        return pState->TypeError("Instance", 1);
    CEventType* pType = Registry(pUser)->GetEventType(name);
    if (!pType)
        return pState->Error("Event '%s' doesn't exist", name);
    Strong<CArgumentArray> arguments =
        Strong<CArgumentArray>::Adopt(new CArgumentArray(argumentCount > 2 ? argumentCount - 2 : 0));
    for (int32_t i = 2; i < argumentCount; ++i)
        arguments->Add(pState->GetArgument(i));
    bool defaultPrevented = false;
    pType->Trigger(arguments, defaultPrevented);
    pState->ReturnBoolean(defaultPrevented);
    return true;
}

bool PreventDefault(CNativeState* pState, int32_t, void* pUser) {
    CCancellableEvent* pEvent;
    if (!pState->GetThis(Registry(pUser)->GetCancellableEventClass(), pEvent))
        return false;
    pEvent->PreventDefault();
    return true;
}

bool IsDefaultPrevented(CNativeState* pState, int32_t, void* pUser) {
    CCancellableEvent* pEvent;
    if (!pState->GetThis(Registry(pUser)->GetCancellableEventClass(), pEvent))
        return false;
    pState->ReturnBoolean(pEvent->IsDefaultPrevented());
    return true;
}
}  // namespace

void CEventHandlers::RegisterFunctions(CScripting* pScripting) {
    ReflectedNamespace* pGlobal = pScripting->GetGlobal();
    pGlobal->RegisterFunction("addEvent", "s|i", AddEvent, this);
    pGlobal->RegisterFunction("addEventHandler", "sf", AddEventHandler, this);
    pGlobal->RegisterFunction("removeEventHandler", "s", RemoveEventHandler, this);
    pGlobal->RegisterFunction("bindEventHandler", "sxf", BindEventHandler, this);
    pGlobal->RegisterFunction("unbindEventHandler", "sx", UnbindEventHandler, this);
    pGlobal->RegisterFunction("triggerEvent", "s|x*", TriggerEvent, this);
    m_pEventClass = pGlobal->NewClass("Event");
    m_pCancellableEventClass = pGlobal->NewClass("CancellableEvent", m_pEventClass);
    m_pCancellableEventClass->RegisterFunction("preventDefault", "t", PreventDefault, this);
    m_pCancellableEventClass->RegisterFunction("isDefaultPrevented", "t", IsDefaultPrevented, this);
}

}  // namespace EventHandlers
}  // namespace Ferrox3D
