// The command table: registration by name key, deferred deletion, Trigger and the command-line entries.
#include "Scripting/CommandHandlers.h"
#include <cstring>
#include "Engine/ArgumentArray.h"
#include "Engine/CRC32.h"
#include "Engine/Limits.h"
#include "Engine/PrintableText.h"

namespace Ferrox3D {

void CScriptCommandHandler::Execute(const char* command, const char* parameters, CBaseObject* pClient) {
    CArgumentArray arguments(3);
    arguments.AddString(command);
    if (parameters)
        arguments.AddString(parameters);
    else
        arguments.AddNull();
    if (GetTable() && GetTable()->GetPassClient()) {
        if (pClient)
            arguments.AddObject(pClient);
        else
            arguments.AddNull();
    }
    m_pFunction->Invoke(&arguments, nullptr);
}

CCommandHandlers::~CCommandHandlers() {
    m_Handlers.clear();
    m_Retired.clear();
}

bool CCommandHandlers::Insert(CCommandHandler* pHandler, CResource* pResource, const char* name) {
    std::unique_ptr<CCommandHandler> pOwned(pHandler);
    uint32_t key = NameKey(name);
    if (m_Handlers.count(key))
        return false;
    pHandler->m_pTable = this;
    pHandler->m_pResource = pResource;
    pHandler->m_Key = key;
    pHandler->m_Name = name;
    m_Handlers.emplace(key, std::move(pOwned));
    return true;
}

bool CCommandHandlers::AddCommandHandler(CCommandHandler* pHandler, const char* name) {
    return Insert(pHandler, nullptr, name);
}

bool CCommandHandlers::AddScriptHandler(CResource* pResource, const char* name, CFunction* pFunction,
                                        bool bReplace) {
    auto found = m_Handlers.find(NameKey(name));
    if (found != m_Handlers.end()) {
        // Built-in handlers have no resource, so they are never replaced.
        if (!bReplace || !pResource || found->second->GetResource() != pResource)
            return false;
        Retire(std::move(found->second));
        m_Handlers.erase(found);
    }
    return Insert(new CScriptCommandHandler(pFunction), pResource, name);
}

bool CCommandHandlers::RemoveCommandHandler(const char* name, CResource* pResource) {
    auto found = m_Handlers.find(NameKey(name));
    if (found == m_Handlers.end() || (pResource && found->second->GetResource() != pResource))
        return false;
    Retire(std::move(found->second));
    m_Handlers.erase(found);
    return true;
}

size_t CCommandHandlers::RemoveHandlers(CResource* pResource) {
    size_t removed = 0;
    if (!pResource)
        return 0;  // the built-in handlers have no resource and stay
    for (auto it = m_Handlers.begin(); it != m_Handlers.end();) {
        if (it->second->GetResource() == pResource) {
            Retire(std::move(it->second));
            it = m_Handlers.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    return removed;
}

CCommandHandler* CCommandHandlers::GetCommandHandler(const char* name) const {
    auto found = m_Handlers.find(NameKey(name));
    return found == m_Handlers.end() ? nullptr : found->second.get();
}

void CCommandHandlers::SetUnhandledCommandHandler(CCommandHandler* pHandler) {
    if (pHandler)
        pHandler->m_pTable = this;
    Retire(std::move(m_pUnhandled));
    m_pUnhandled.reset(pHandler);
}

// A handler removed while any handler runs (its own removal included) lives until the outermost
// call returns, so no Execute ever runs on a deleted object.
void CCommandHandlers::Retire(std::unique_ptr<CCommandHandler> pHandler) {
    if (!pHandler)
        return;
    if (m_RunDepth > 0)
        m_Retired.push_back(std::move(pHandler));
}

bool CCommandHandlers::Trigger(const char* command, const char* parameters, CBaseObject* pClient,
                               bool bPrivileged) {
    auto found = m_Handlers.find(NameKey(command));
    if (found == m_Handlers.end())
        return false;
    CCommandHandler* pHandler = found->second.get();
    if (pHandler->IsRestricted() && !bPrivileged)
        return false;
    std::string cleaned;
    if (parameters) {
        cleaned.assign(parameters, strnlen(parameters, COMMAND_PARAMETERS_MAX));
        while (!cleaned.empty() && (cleaned.back() == '\r' || cleaned.back() == '\n'))
            cleaned.pop_back();
    }
    ++m_RunDepth;
    pHandler->Execute(command, parameters ? cleaned.c_str() : nullptr, pClient);
    if (--m_RunDepth == 0)
        m_Retired.clear();
    return true;
}

void CCommandHandlers::RunUnhandled(const char* command, const char* parameters, CBaseObject* pClient,
                                    bool bPrivileged) {
    if (!m_pUnhandled || (m_pUnhandled->IsRestricted() && !bPrivileged))
        return;
    ++m_RunDepth;
    m_pUnhandled->Execute(command, parameters, pClient);
    if (--m_RunDepth == 0)
        m_Retired.clear();
}

bool CCommandHandlers::ConsoleCommandOnly(const char* line, CBaseObject* pClient, bool bPrivileged) {
    size_t length = strlen(line);
    size_t separator = strcspn(line, " \r\n");
    std::string command(line, separator);
    if (separator == length) {
        if (Trigger(command.c_str(), "", pClient, bPrivileged))
            return true;
        RunUnhandled(command.c_str(), nullptr, pClient, bPrivileged);
        return false;
    }
    const char* parameters = line + separator + 1;
    // The whole parameter text is measured: a long one is refused, never cut and run.
    size_t parametersLength = length - separator - 1;
    if (parametersLength > COMMAND_PARAMETERS_MAX) {
        m_pLogger->LogFormatted(LOGTYPE_WARN, "'%s' was not run: its parameters are %zu bytes long (at most %zu)",
                                MakePrintable(command).c_str(), parametersLength, COMMAND_PARAMETERS_MAX);
        return false;
    }
    if (Trigger(command.c_str(), parameters, pClient, bPrivileged))
        return true;
    RunUnhandled(command.c_str(), parameters, pClient, bPrivileged);
    return false;
}

bool CCommandHandlers::ConsoleCommand(const char* line, bool bPrivileged) {
    size_t length = strlen(line);
    if (length == 0 || length > CONSOLE_LINE_MAX)
        return false;
    if (line[0] != '/') {
        if (Trigger("say", line, nullptr, bPrivileged))
            return true;
        RunUnhandled("say", line, nullptr, bPrivileged);
        return false;
    }
    if (length < 2)
        return false;
    return ConsoleCommandOnly(line + 1, nullptr, bPrivileged);
}

}  // namespace Ferrox3D
