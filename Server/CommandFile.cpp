// Reading "/commandline.txt" into command lines.
#include "Server/CommandFile.h"
#include "Engine/Context.h"
#include "Engine/FileSystem.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Engine/TextReader.h"
#include "Server/BaseServer.h"

using namespace Ferrox3D;

std::vector<std::string> ReadCommandFileLines(Stream* pStream) {
    std::vector<std::string> lines;
    CTextReader reader(pStream);
    std::string line;
    int lineNumber = 1;
    uint32_t character;
    while (reader.ReadCharacter(character) && character != 0) {
        if (character == '\r')
            continue;
        if (character != '\n') {
            line += character > 255 ? '?' : static_cast<char>(character);
            continue;
        }
        // The console takes lines of at most CONSOLE_LINE_MAX bytes, its line feed included.
        if (line.size() + 1 > CONSOLE_LINE_MAX)
            LogWarn("commandline.txt line %d is longer than %zu bytes and is skipped", lineNumber, CONSOLE_LINE_MAX);
        else
            lines.push_back(line);
        line.clear();
        ++lineNumber;
    }
    return lines;
}

void CBaseServer::RunCommandFile() {
    CFileSystem* pFileSystem = g_pContext ? g_pContext->GetFileSystem() : nullptr;
    Strong<Stream> pStream = pFileSystem ? pFileSystem->Open(COMMAND_FILE_PATH, false) : nullptr;
    if (!pStream)
        return;
    for (const std::string& line : ReadCommandFileLines(pStream))
        ConsoleCommand(line);
}
