// The server's event registry: event types by case-insensitive name and the event script API.
#pragma once
#include <memory>
#include <unordered_map>
#include "Scripting/EventType.h"

namespace Ferrox3D {

class CScripting;
class ReflectedClass;

namespace EventHandlers {

class CEventHandlers {
public:
    CEventHandlers() = default;
    ~CEventHandlers();
    CEventHandlers(const CEventHandlers&) = delete;
    CEventHandlers& operator=(const CEventHandlers&) = delete;

    // A new event type without source; null when one of the same name (any case) exists.
    CEventType* CreateEventType(const char* name, const char* description, int32_t argumentCount, bool cancellable);
    bool AddEventType(CEventType* pType);  // takes ownership; false (and deletes it) on a clash
    CEventType* GetEventType(const char* name) const;
    const std::unordered_map<uint32_t, std::unique_ptr<CEventType>>& GetEventTypes() const { return m_Types; }

    // Stop or destruction of a resource: every handler it subscribed.
    size_t RemoveHandlers(CResource* pResource);
    // removeEventHandler: the named type only.
    size_t RemoveHandlers(const char* name, CResource* pResource);
    // Every handler of every type.
    size_t RemoveHandlers();
    // Destruction of pSource: handlers bound to it (of pResource only, when not null).
    size_t RemoveHandlersWithSource(CBaseObject* pSource, CResource* pResource);
    size_t RemoveHandlersWithSource(const char* name, CBaseObject* pSource, CResource* pResource);

    // The script API: addEvent, addEventHandler, removeEventHandler, bindEventHandler,
    // unbindEventHandler, triggerEvent, and the classes Event and CancellableEvent.
    void RegisterFunctions(CScripting* pScripting);
    ReflectedClass* GetEventClass() const { return m_pEventClass; }
    ReflectedClass* GetCancellableEventClass() const { return m_pCancellableEventClass; }

private:
    std::unordered_map<uint32_t, std::unique_ptr<CEventType>> m_Types;
    ReflectedClass* m_pEventClass = nullptr;
    ReflectedClass* m_pCancellableEventClass = nullptr;
};

}  // namespace EventHandlers

using EventHandlers::CEventHandlers;

}  // namespace Ferrox3D
