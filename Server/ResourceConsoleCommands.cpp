// The resource commands as restricted console command handlers without a resource.
#include "Server/ResourceConsoleCommands.h"
#include <functional>
#include <utility>
#include <vector>
#include "Engine/Log.h"
#include "Scripting/CommandHandlers.h"
#include "Server/ServerResourceMgr.h"

using namespace Ferrox3D;

namespace {

using CommandAction = std::function<void(const char* parameters)>;

class CResourceCommandHandler : public CCommandHandler {
public:
    explicit CResourceCommandHandler(CommandAction action) : m_Action(std::move(action)) {}
    void Execute(const char*, const char* parameters, CBaseObject*) override { m_Action(parameters); }

private:
    CommandAction m_Action;
};

std::vector<tDocumentedCommand> DocumentedCommands(const CCommandHandlers& commands) {
    std::vector<tDocumentedCommand> documented;
    for (const auto& entry : commands.GetHandlers())
        documented.push_back(tDocumentedCommand{entry.second->GetName(), entry.first});
    return documented;
}

}  // namespace

void RegisterResourceCommands(CCommandHandlers& commands, CServerResourceMgr& resources) {
    auto add = [&](const char* name, CommandAction action) {
        commands.AddCommandHandler(new CResourceCommandHandler(std::move(action)), name);
    };
    add("start", [&resources](const char* name) { resources.CommandStart(name); });
    add("stop", [&resources](const char* name) { resources.CommandStop(name); });
    add("restart", [&resources](const char* name) { resources.CommandRestart(name); });
    add("stopall", [&resources](const char*) { resources.CommandStopAll(); });
    add("refresh", [&resources](const char*) { resources.RefreshResources(true); });
    add("dumpdoc", [&resources, &commands](const char*) {
        if (resources.DumpDocumentation(DocumentedCommands(commands)))
            Log("Documentation dumped");
    });
}
