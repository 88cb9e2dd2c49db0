// The network handler table: handlers per case-insensitive name, dispatch newest first, deferred removal.
#include "Multiplayer/NetworkHandlers.h"
#include <algorithm>
#include "Engine/CRC32.h"

using namespace Ferrox3D;

void CScriptNetworkHandler::Execute(CBaseObject* pClient, const char* name, CArgumentArray* pArguments) {
    size_t count = pArguments ? pArguments->GetArrayCount() : 0;
    CArgumentArray arguments(count + 1);
    if (pClient)
        arguments.AddObject(pClient);
    else
        arguments.AddNull();
    if (pArguments)
        pArguments->InsertTo(&arguments);
    Strong<CFunction> pFunction = m_pFunction;
    pFunction->Invoke(&arguments, nullptr);
}

void CNetworkHandlers::AddHandler(const char* name, CResource* pResource, CFunction* pFunction) {
    m_Handlers[NameKey(name)].push_back(std::make_unique<CScriptNetworkHandler>(pResource, pFunction));
}

template <typename Match>
size_t CNetworkHandlers::RemoveMatching(Match match) {
    size_t removed = 0;
    for (auto& entry : m_Handlers) {
        for (auto& pHandler : entry.second) {
            if (!pHandler->m_bRemoved && match(entry.first, *pHandler)) {
                pHandler->m_bRemoved = true;
                ++removed;
            }
        }
    }
    if (m_Depth == 0)
        PurgeRemoved();
    return removed;
}

void CNetworkHandlers::PurgeRemoved() {
    for (auto it = m_Handlers.begin(); it != m_Handlers.end();) {
        auto& handlers = it->second;
        handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                      [](const auto& pHandler) { return pHandler->m_bRemoved; }),
                       handlers.end());
        it = handlers.empty() ? m_Handlers.erase(it) : std::next(it);
    }
}

size_t CNetworkHandlers::RemoveHandlers(const char* name, CResource* pResource) {
    uint32_t key = NameKey(name);
    return RemoveMatching([&](uint32_t handlerKey, const CScriptNetworkHandler& handler) {
        return handlerKey == key && (!pResource || handler.m_pResource == pResource);
    });
}

size_t CNetworkHandlers::RemoveHandlers(CResource* pResource) {
    return RemoveMatching(
        [&](uint32_t, const CScriptNetworkHandler& handler) { return handler.m_pResource == pResource; });
}

size_t CNetworkHandlers::GetHandlerCount(const char* name) const {
    auto found = m_Handlers.find(NameKey(name));
    if (found == m_Handlers.end())
        return 0;
    return std::count_if(found->second.begin(), found->second.end(),
                         [](const auto& pHandler) { return !pHandler->m_bRemoved; });
}

size_t CNetworkHandlers::Dispatch(CBaseObject* pClient, const char* name, CArgumentArray* pArguments) {
    auto found = m_Handlers.find(NameKey(name));
    if (found == m_Handlers.end())
        return 0;
    // Nothing is erased until the outermost dispatch ends, and handlers added meanwhile go to the
    // end of the list, past where this walk starts.
    auto* pHandlers = &found->second;
    size_t ran = 0;
    ++m_Depth;
    for (size_t i = pHandlers->size(); i-- > 0;) {
        CScriptNetworkHandler* pHandler = (*pHandlers)[i].get();
        if (pHandler->m_bRemoved)
            continue;
        pHandler->Execute(pClient, name, pArguments);
        ++ran;
    }
    if (--m_Depth == 0)
        PurgeRemoved();
    return ran;
}
