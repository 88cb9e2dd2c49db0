// Start-up and shutdown sequence of the server process.
#include "Server/ServerMain.h"
#include <curl/curl.h>
#include <cxxabi.h>
#include <enet/enet.h>
#include <sys/utsname.h>
#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>
#include "Engine/Context.h"
#include "Engine/FileSystem.h"
#include "Engine/Log.h"
#include "Server/InterruptHandler.h"
#include "Server/KeyPrompt.h"
#include "Server/UrboServer.h"

using namespace Ferrox3D;

namespace {

void InitialiseLibraries() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    atexit(curl_global_cleanup);
    atexit(enet_deinitialize);
}

// The executable's folder, then the built-in archive of game data.
void MountFileSystem(Context& context) {
    auto pFileSystem = std::make_unique<CFileSystem>();
    if (!pFileSystem->MountDefaultRoots())
        LogWarn("Neither the executable's folder nor the built-in archive could be mounted");
    context.SetFileSystem(std::move(pFileSystem));
}

void BuildUserAgent(Context& context) {
    utsname system{};
    uname(&system);
    char piece[256];
    snprintf(piece, sizeof(piece), "Ferrox3D/%d.%d.%d", 1, 2, 0);
    context.AddUserAgent(piece);
    snprintf(piece, sizeof(piece), " (%s %s)", system.sysname, system.machine);
    context.AddUserAgent(piece);
    context.AddUserAgent("KestroServer/1.6.1");
}

bool LoadConfiguration(CUrboServer& server, const tCommandLine& commandLine) {
    CServerConfiguration config;
    switch (config.LoadFile(commandLine.configPath.c_str())) {
    case CServerConfiguration::LOAD_MISSING:
        LogError("I can't start because server.xml doesn't exist...");
        return false;
    case CServerConfiguration::LOAD_MALFORMED:
        LogError("I can't start because server.xml failed to parse...");
        return false;
    case CServerConfiguration::LOAD_OK:
        break;
    }
    return server.ParseConfig(config);
}

bool OpenServices(CUrboServer& server) {
    if (!server.ResolveBindAddress() || !server.CreateNetworkHost()) {
        LogError("Failed to start the server!");
        return false;
    }
    Log("Server is now listening on port %hu max players %d...", server.m_usPort, server.m_MaxPlayers);
    if (server.m_bRCon && !server.StartRemoteConsole()) {
        LogError("Failed to start the RCon server!");
        return false;
    }
    if (server.m_bHTTPServer && !server.StartHTTPServer()) {
        LogError("Failed to start the HTTP server!");
        return false;
    }
    return true;
}

bool StartServer(CUrboServer& server, const tCommandLine& commandLine) {
    if (!LoadConfiguration(server, commandLine))
        return false;
    server.ApplyCommandLine(commandLine);
    Log("Server is starting...");
    Log(server.m_bMultithreaded ? "Multithreading: enabled" : "Multithreading: disabled");
    server.InitialiseFrameTimer();
    if (!OpenServices(server))
        return false;
    server.CreateConsoleClient();
    server.StartResources();
    server.RunCommandFile();
    if (commandLine.dumpDoc)
        server.ConsoleCommand("/dumpdoc");
    if (!commandLine.noInput)
        server.StartInputThread();
    return true;
}

int RunServer(int argc, char** argv) {
    auto pServer = std::make_unique<CUrboServer>();
    pServer->SetRule("Version", SERVER_VERSION_TEXT);
    InstallInterruptHandler(pServer->GetQuitSignal());
    tCommandLine commandLine = ParseCommandLine(argc, argv);
    if (!StartServer(*pServer, commandLine)) {
        WaitForKeyPress();
        return EXIT_STATUS_START_FAILED;
    }
    pServer->MainLoop();
    pServer->ReleaseInputThread();
    Log("Server shutting down...");
    pServer->DiscardConsoleInput();
    return EXIT_STATUS_OK;
}

std::string DemangledName(const std::type_info& type) {
    int status = 0;
    char* pName = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && pName ? pName : type.name();
    free(pName);
    return name;
}

}  // namespace

int RunGuarded(const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::exception& exception) {
        LogError("An unhandled exception of type '%s' occurred: %s", DemangledName(typeid(exception)).c_str(),
                 exception.what());
    } catch (...) {
        LogError("An unhandled exception of unknown type occurred");
    }
    return EXIT_STATUS_START_FAILED;
}

int ServerMain(int argc, char** argv) {
    InitialiseLibraries();
    Context context;
    MountFileSystem(context);
    BuildUserAgent(context);
    return RunGuarded([&] { return RunServer(argc, argv); });
}
