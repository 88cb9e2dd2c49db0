// Network event handlers: script functions run for named events that clients send.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>
#include "Engine/ArgumentArray.h"
#include "Engine/Function.h"

namespace Ferrox3D {
class CResource;  // the owner of a handler; only its address is used here
class CScripting;
}  // namespace Ferrox3D

class CScriptNetworkHandler {
public:
    CScriptNetworkHandler(Ferrox3D::CResource* pResource, Ferrox3D::CFunction* pFunction)
        : m_pResource(pResource), m_pFunction(pFunction) {}
    // Calls the function with the client followed by the event's arguments.
    void Execute(Ferrox3D::CBaseObject* pClient, const char* name, Ferrox3D::CArgumentArray* pArguments);
    Ferrox3D::CResource* GetResource() const { return m_pResource; }
    bool IsRemoved() const { return m_bRemoved; }

private:
    friend class CNetworkHandlers;
    Ferrox3D::CResource* m_pResource;
    Ferrox3D::Strong<Ferrox3D::CFunction> m_pFunction;
    bool m_bRemoved = false;
};

class CNetworkHandlers {
public:
    CNetworkHandlers() = default;
    CNetworkHandlers(const CNetworkHandlers&) = delete;
    CNetworkHandlers& operator=(const CNetworkHandlers&) = delete;

    void AddHandler(const char* name, Ferrox3D::CResource* pResource, Ferrox3D::CFunction* pFunction);
    // The resource's handlers of the name (every handler of the name without a resource).
    size_t RemoveHandlers(const char* name, Ferrox3D::CResource* pResource);
    // A stopping resource: all of its handlers.
    size_t RemoveHandlers(Ferrox3D::CResource* pResource);
    size_t GetHandlerCount(const char* name) const;

    // Runs the live handlers of the name, newest first; returns how many ran.
    size_t Dispatch(Ferrox3D::CBaseObject* pClient, const char* name, Ferrox3D::CArgumentArray* pArguments);

private:
    template <typename Match>
    size_t RemoveMatching(Match match);
    void PurgeRemoved();

    // Per name key, the handlers in the order they were added; dispatch walks them backwards.
    std::unordered_map<uint32_t, std::vector<std::unique_ptr<CScriptNetworkHandler>>> m_Handlers;
    int32_t m_Depth = 0;
};
