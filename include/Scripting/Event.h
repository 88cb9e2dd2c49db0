// The event object handed to every handler of one trigger, and its cancellable form.
#pragma once
#include "Engine/ObjectModel.h"

namespace Ferrox3D {
namespace EventHandlers {

class CEventType;

class CEvent : public CBaseObject {
public:
    // Seen by scripts as the registry's "Event" class. A script may keep the event after the
    // dispatch; the class is taken now so the object never needs its type again.
    explicit CEvent(CEventType* pType);
    // Valid while the registry lives.
    CEventType* GetEventType() const { return m_pType; }

private:
    CEventType* m_pType;
};

class CCancellableEvent : public CEvent {
public:
    // Seen by scripts as the registry's "CancellableEvent" class.
    explicit CCancellableEvent(CEventType* pType);
    void PreventDefault() { m_bDefaultPrevented = true; }
    bool IsDefaultPrevented() const { return m_bDefaultPrevented; }

private:
    bool m_bDefaultPrevented = false;
};

}  // namespace EventHandlers

using EventHandlers::CCancellableEvent;
using EventHandlers::CEvent;

}  // namespace Ferrox3D
