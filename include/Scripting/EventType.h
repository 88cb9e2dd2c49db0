// One named event: its subscribed handlers in order, and dispatch with deferred removal.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "Engine/ArgumentArray.h"
#include "Engine/Function.h"
#include "Scripting/Event.h"

namespace Ferrox3D {

class CResource;  // the resource a handler belongs to; only its address is used here

namespace EventHandlers {

class CEventHandlers;

class CEventHandler {
public:
    // pSource null: an unbound handler. pResource null: an engine handler.
    CEventHandler(CBaseObject* pSource, CResource* pResource);
    virtual ~CEventHandler() = default;
    virtual void Execute(CEvent* pEvent, const char* name, CArgumentArray* pArguments) = 0;

    CBaseObject* GetSource() const { return m_pSource.Get(); }
    CResource* GetResource() const { return m_pResource; }
    bool IsBound() const { return m_bBound; }
    // A bound handler whose object has been destroyed never runs again.
    bool IsOrphaned() const { return m_bBound && !m_pSource; }

private:
    friend class CEventType;
    Weak<CBaseObject> m_pSource;
    CResource* m_pResource;
    bool m_bBound;
    bool m_bRemoved = false;  // removed while a dispatch was running; deleted when it ends
};

// Calls a script function with the event followed by clones of the trigger's arguments.
class CScriptEventHandler : public CEventHandler {
public:
    CScriptEventHandler(CBaseObject* pSource, CResource* pResource, CFunction* pFunction)
        : CEventHandler(pSource, pResource), m_pFunction(pFunction) {}
    void Execute(CEvent* pEvent, const char* name, CArgumentArray* pArguments) override;
    CFunction* GetFunction() const { return m_pFunction; }

private:
    Strong<CFunction> m_pFunction;
};

class CEventType {
public:
    CEventType(CEventHandlers* pOwner, const char* name, const char* description, int32_t argumentCount,
               bool cancellable);
    ~CEventType();
    CEventType(const CEventType&) = delete;
    CEventType& operator=(const CEventType&) = delete;

    const char* GetName() const { return m_Name.c_str(); }
    const char* GetDescription() const { return m_Description.c_str(); }
    uint32_t GetHash() const { return m_Hash; }
    int32_t GetArgumentCount() const { return m_ArgumentCount; }
    bool IsCancellable() const { return m_bCancellable; }
    void SetCancellable(bool cancellable) { m_bCancellable = cancellable; }
    // Index of the trigger argument that is the event's source; -1 when there is none.
    int32_t GetSourceIndex() const { return m_SourceIndex; }
    void SetSourceIndex(int32_t index) { m_SourceIndex = index; }
    bool IsBindable() const { return m_SourceIndex >= 0; }
    CEventHandlers* GetOwner() const { return m_pOwner; }

    // The registry owns the handlers from here on. Handlers added during a dispatch first run
    // at the next trigger.
    void AddHandler(CResource* pResource, CFunction* pFunction);
    void AddHandler(CBaseObject* pSource, CResource* pResource, CFunction* pFunction);
    void AddHandler(CEventHandler* pHandler);
    size_t GetHandlerCount() const;

    // Whether at least one handler ran.
    bool Trigger(CArgumentArray* pArguments = nullptr);
    // The cancellable form: whether a handler prevented the default goes to defaultPrevented.
    bool Trigger(CArgumentArray* pArguments, bool& defaultPrevented);
    // Only the handlers pResource subscribed run.
    bool Trigger(CResource* pResource, CArgumentArray* pArguments);
    bool TriggerWithEvent(CEvent* pEvent, CArgumentArray* pArguments = nullptr);
    bool TriggerWithEvent(CResource* pResource, CEvent* pEvent, CArgumentArray* pArguments);

    // Removal returns how many handlers went; during a dispatch they stop running at once and
    // are deleted when the outermost dispatch ends.
    // pResource null: every handler.
    size_t RemoveHandlers(CResource* pResource);
    // Handlers bound to pSource (of pResource only, when it is not null); a null source removes none.
    size_t RemoveHandlersWithSource(CBaseObject* pSource, CResource* pResource);

private:
    bool Dispatch(CResource* pOnly, bool onlyResource, CEvent* pEvent, CArgumentArray* pArguments);
    CBaseObject* FindSource(CArgumentArray* pArguments) const;
    template <typename Match>
    size_t RemoveMatching(Match match);
    void Remove(CEventHandler* pHandler);
    void PurgeRemoved();

    CEventHandlers* m_pOwner;
    std::vector<CEventHandler*> m_Handlers;
    uint32_t m_Hash;
    std::string m_Name;
    std::string m_Description;
    int32_t m_ArgumentCount;
    bool m_bCancellable;
    int32_t m_SourceIndex = -1;
    int m_DispatchDepth = 0;
    bool m_bHasRemoved = false;
};

}  // namespace EventHandlers

using EventHandlers::CEventHandler;
using EventHandlers::CEventType;
using EventHandlers::CScriptEventHandler;

}  // namespace Ferrox3D
