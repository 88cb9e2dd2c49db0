// The server's console: the input thread's lines, the command file, console command lines and the timer step.
#include <limits.h>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Multiplayer/NetMachine.h"
#include "Server/BaseServer.h"
#include "Server/CommandFile.h"
#include "Server/ConsoleInput.h"
#include "Server/ServerScripting.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

namespace {

constexpr const char* COMMAND_FILE = "commandline.txt";

// "/commandline.txt" of the file system, whose root is the executable's folder.
bool ReadCommandFile(std::string& bytes) {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return false;
    std::string folder(path, static_cast<size_t>(length));
    folder.erase(folder.find_last_of('/') + 1);
    std::ifstream file(folder + COMMAND_FILE, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

CNetMachine* CBaseServer::GetConsoleClient() { return GetSession().GetMachines().Get(CONSOLE_CLIENT_SLOT); }

void CBaseServer::ProcessTimers(double deltaTime) { m_pScripting->GetTimers().Process(deltaTime); }

void CBaseServer::StartInputThread() { m_pConsoleInput->Start(); }
void CBaseServer::ReleaseInputThread() { m_pConsoleInput->Release(); }
void CBaseServer::DiscardConsoleInput() { m_pConsoleInput->Discard(); }

void CBaseServer::ProcessConsoleInput() {
    for (const std::string& line : m_pConsoleInput->TakeLines()) {
        // Over-long lines (the pieces of a very long one included) are skipped without a word.
        if (!line.empty() && line.size() <= CONSOLE_LINE_MAX)
            m_pScripting->GetCommands().ConsoleCommandOnly(line.c_str(), GetConsoleClient(), true);
    }
}

void CBaseServer::ConsoleCommand(const std::string& line) {
    m_pScripting->GetCommands().ConsoleCommand(line.c_str(), true);
}

void CBaseServer::RunCommandFile() {
    std::string bytes;
    if (!ReadCommandFile(bytes))
        return;
    for (const tCommandFileLine& line : DecodeCommandFile(bytes)) {
        if (line.m_Text.size() > CONSOLE_LINE_MAX) {
            LogWarn("Line %d of /commandline.txt is longer than %zu bytes and was not run", line.m_Number,
                    CONSOLE_LINE_MAX);
            continue;
        }
        ConsoleCommand(line.m_Text);
    }
}
