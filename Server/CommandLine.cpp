// Command-line parse: case-insensitive options, checked numeric values.
#include "Server/CommandLine.h"
#include <strings.h>
#include <cerrno>
#include <cstdlib>
#include "Engine/Limits.h"
#include "Engine/Log.h"

using namespace Ferrox3D;

namespace {

// A whole base-10 number within [minimum, maximum], nothing else.
bool ParseInteger(const std::string& text, long minimum, long maximum, long& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long parsed = strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

std::optional<uint16_t> ParsePort(const char* option, const std::string& text) {
    long value;
    if (!ParseInteger(text, 0, 65535, value)) {
        LogWarn("Ignoring %s '%s': not a port number from 0 to 65535", option, text.c_str());
        return std::nullopt;
    }
    return static_cast<uint16_t>(value);
}

std::optional<int> ParseMaxPlayers(const std::string& text) {
    long value;
    if (!ParseInteger(text, 0, 1000000000, value)) {
        LogWarn("Ignoring -maxplayers '%s': not a player count", text.c_str());
        return std::nullopt;
    }
    if (value > MaxUsablePlayers()) {
        LogWarn("-maxplayers %ld is more than the %d client slots; using %d", value, MaxUsablePlayers(),
                MaxUsablePlayers());
        value = MaxUsablePlayers();
    }
    return static_cast<int>(value);
}

bool Is(const std::string& arg, const char* option) { return strcasecmp(arg.c_str(), option) == 0; }

}  // namespace

int MaxUsablePlayers() { return static_cast<int>(CONSOLE_CLIENT_SLOT); }

tCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    tCommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (Is(arg, "-noinput"))
            line.noInput = true;
        else if (Is(arg, "-dumpdoc"))
            line.dumpDoc = true;
        else if (Is(arg, "-multithreaded"))
            line.multithreaded = true;
        else if (Is(arg, "-disablemultithreaded"))
            line.multithreaded = false;
        else if (!hasValue)
            continue;  // a value option as the last argument has no effect
        else if (Is(arg, "-config"))
            line.configPath = args[++i];
        else if (Is(arg, "-port"))
            line.port = ParsePort("-port", args[++i]);
        else if (Is(arg, "-httpport"))
            line.httpPort = ParsePort("-httpport", args[++i]);
        else if (Is(arg, "-rconport"))
            line.rconPort = ParsePort("-rconport", args[++i]);
        else if (Is(arg, "-maxplayers"))
            line.maxPlayers = ParseMaxPlayers(args[++i]);
        else if (Is(arg, "-bindip"))
            line.bindIP = args[++i].substr(0, CONFIG_SHORT_TEXT_MAX);
    }
    return line;
}

tCommandLine ParseCommandLine(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return ParseCommandLine(args);
}
