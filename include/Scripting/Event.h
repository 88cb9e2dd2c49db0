// The event object handed to every handler of one trigger, and its cancellable form.
#pragma once
#include "Engine/ObjectModel.h"

namespace Ferrox3D {
namespace EventHandlers {

class CEventType;

class CEvent : public CBaseObject {
public:
    explicit CEvent(CEventType* pType) : m_pType(pType) {}
    CEventType* GetEventType() const { return m_pType; }
    // The "Event" class of the registry.
    ReflectedClass* GetReflectedClass() override;

private:
    CEventType* m_pType;
};

class CCancellableEvent : public CEvent {
public:
    using CEvent::CEvent;
    void PreventDefault() { m_bDefaultPrevented = true; }
    bool IsDefaultPrevented() const { return m_bDefaultPrevented; }
    // The "CancellableEvent" class of the registry.
    ReflectedClass* GetReflectedClass() override;

private:
    bool m_bDefaultPrevented = false;
};

}  // namespace EventHandlers

using EventHandlers::CCancellableEvent;
using EventHandlers::CEvent;

}  // namespace Ferrox3D
