// Command handlers: one per case-insensitive name, the unhandled-command handler, and the command-line entries.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "Engine/Function.h"
#include "Engine/Logger.h"
#include "Engine/ObjectModel.h"

namespace Ferrox3D {

class CResource;  // the owner of a handler; only its address is used here
class CScripting;
class CCommandHandlers;

class CCommandHandler {
public:
    explicit CCommandHandler(bool bRestricted = true) : m_bRestricted(bRestricted) {}
    virtual ~CCommandHandler() = default;
    // parameters is null when the line carried none; pClient is null for the console file and scripts.
    virtual void Execute(const char* command, const char* parameters, CBaseObject* pClient) = 0;

    CCommandHandlers* GetTable() const { return m_pTable; }
    CResource* GetResource() const { return m_pResource; }
    uint32_t GetKey() const { return m_Key; }
    const std::string& GetName() const { return m_Name; }
    bool IsRestricted() const { return m_bRestricted; }

private:
    friend class CCommandHandlers;
    CCommandHandlers* m_pTable = nullptr;
    CResource* m_pResource = nullptr;
    uint32_t m_Key = 0;
    std::string m_Name;
    bool m_bRestricted;
};

// Calls a script function with the command name, the parameters (null when none) and, when the
// table passes clients, the client.
class CScriptCommandHandler : public CCommandHandler {
public:
    explicit CScriptCommandHandler(CFunction* pFunction) : CCommandHandler(false), m_pFunction(pFunction) {}
    void Execute(const char* command, const char* parameters, CBaseObject* pClient) override;

private:
    Strong<CFunction> m_pFunction;
};

class CCommandHandlers {
public:
    CCommandHandlers() = default;
    ~CCommandHandlers();
    CCommandHandlers(const CCommandHandlers&) = delete;
    CCommandHandlers& operator=(const CCommandHandlers&) = delete;

    // A built-in handler (no resource); the table owns it either way. False, and the handler is
    // deleted, when the name is taken.
    bool AddCommandHandler(CCommandHandler* pHandler, const char* name);
    // addCommandHandler: replace only ever replaces a handler of the same resource.
    bool AddScriptHandler(CResource* pResource, const char* name, CFunction* pFunction, bool bReplace);
    // removeCommandHandler: with a resource only its own handler goes; without one, any.
    bool RemoveCommandHandler(const char* name, CResource* pResource);
    // Every handler of the resource (a stopping resource).
    size_t RemoveHandlers(CResource* pResource);
    CCommandHandler* GetCommandHandler(const char* name) const;
    // Every registered handler by name key (documentation export); unordered.
    const std::unordered_map<uint32_t, std::unique_ptr<CCommandHandler>>& GetHandlers() const { return m_Handlers; }

    void SetUnhandledCommandHandler(CCommandHandler* pHandler);  // owned
    CCommandHandler* GetUnhandledCommandHandler() const { return m_pUnhandled.get(); }

    // Runs the handler of the command with at most 255 parameter bytes, trailing CR and LF removed.
    bool Trigger(const char* command, const char* parameters, CBaseObject* pClient, bool bPrivileged);
    // A typed line: the command, then one blank, CR or LF, then the parameters (refused at 256 bytes).
    bool ConsoleCommandOnly(const char* line, CBaseObject* pClient, bool bPrivileged);
    // A line of a script or the command file: "/command parameters", or text for "say".
    bool ConsoleCommand(const char* line, bool bPrivileged);

    // When set, script handlers get the client as a third argument.
    void SetPassClient(bool bPassClient) { m_bPassClient = bPassClient; }
    bool GetPassClient() const { return m_bPassClient; }

    // The target of the table's messages; null restores the default. Borrowed.
    void SetLogger(Logger* pLogger) { m_pLogger = pLogger ? pLogger : &m_DefaultLogger; }
    Logger* GetLogger() const { return m_pLogger; }

    // addCommandHandler, removeCommandHandler, hasCommandHandler, consoleCommand.
    void RegisterFunctions(CScripting* pScripting);
    // The privileged flag of a resource, for consoleCommand; without it scripts are unprivileged.
    using PrivilegeProc = bool (*)(CResource* pResource, void* pUser);
    void SetPrivilegeProc(PrivilegeProc proc, void* pUser) {
        m_PrivilegeProc = proc;
        m_pPrivilegeUser = pUser;
    }
    bool IsPrivileged(CResource* pResource) const {
        return m_PrivilegeProc && m_PrivilegeProc(pResource, m_pPrivilegeUser);
    }

private:
    bool Insert(CCommandHandler* pHandler, CResource* pResource, const char* name);
    // Deleted now, or after the outermost running handler returns.
    void Retire(std::unique_ptr<CCommandHandler> pHandler);
    void RunUnhandled(const char* command, const char* parameters, CBaseObject* pClient, bool bPrivileged);

    std::unordered_map<uint32_t, std::unique_ptr<CCommandHandler>> m_Handlers;
    std::unique_ptr<CCommandHandler> m_pUnhandled;
    std::vector<std::unique_ptr<CCommandHandler>> m_Retired;
    int m_RunDepth = 0;
    bool m_bPassClient = false;
    Logger m_DefaultLogger;
    Logger* m_pLogger = &m_DefaultLogger;
    PrivilegeProc m_PrivilegeProc = nullptr;
    void* m_pPrivilegeUser = nullptr;
};

}  // namespace Ferrox3D
