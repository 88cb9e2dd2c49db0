// The event registry: event types by name key and removal across all of them.
#include "Scripting/EventHandlers.h"
#include "Engine/CRC32.h"

namespace Ferrox3D {
namespace EventHandlers {

CEventHandlers::~CEventHandlers() { RemoveHandlers(); }

CEventType* CEventHandlers::CreateEventType(const char* name, const char* description, int32_t argumentCount,
                                            bool cancellable) {
    auto* pType = new CEventType(this, name, description, argumentCount, cancellable);
    return AddEventType(pType) ? pType : nullptr;
}

bool CEventHandlers::AddEventType(CEventType* pType) {
    auto [it, inserted] = m_Types.emplace(pType->GetHash(), nullptr);
    if (!inserted) {
        delete pType;
        return false;
    }
    it->second.reset(pType);
    return true;
}

CEventType* CEventHandlers::GetEventType(const char* name) const {
    auto it = m_Types.find(NameKey(name));
    return it == m_Types.end() ? nullptr : it->second.get();
}

size_t CEventHandlers::RemoveHandlers(CResource* pResource) {
    size_t removed = 0;
    for (auto& entry : m_Types)
        removed += entry.second->RemoveHandlers(pResource);
    return removed;
}

size_t CEventHandlers::RemoveHandlers(const char* name, CResource* pResource) {
    CEventType* pType = GetEventType(name);
    return pType ? pType->RemoveHandlers(pResource) : 0;
}

size_t CEventHandlers::RemoveHandlers() { return RemoveHandlers(static_cast<CResource*>(nullptr)); }

size_t CEventHandlers::RemoveHandlersWithSource(CBaseObject* pSource, CResource* pResource) {
    size_t removed = 0;
    for (auto& entry : m_Types)
        removed += entry.second->RemoveHandlersWithSource(pSource, pResource);
    return removed;
}

size_t CEventHandlers::RemoveHandlersWithSource(const char* name, CBaseObject* pSource, CResource* pResource) {
    CEventType* pType = GetEventType(name);
    return pType ? pType->RemoveHandlersWithSource(pSource, pResource) : 0;
}

}  // namespace EventHandlers
}  // namespace Ferrox3D
