// Command-line options of the server and their parse.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct tCommandLine {
    std::string configPath = "server.xml";
    bool noInput = false;
    bool dumpDoc = false;
    std::optional<bool> multithreaded;  // "-multithreaded" / "-disablemultithreaded"
    std::optional<uint16_t> port;
    std::optional<uint16_t> httpPort;
    std::optional<uint16_t> rconPort;
    std::optional<int> maxPlayers;
    std::optional<std::string> bindIP;
};

// Options match without regard to case; unknown words are ignored; an option that takes a value
// consumes the next argument. A port that is not a number from 0 to 65535 and a player count that
// is not a number are refused with a warning; a player count beyond the client slot table is
// clamped to it with a warning.
tCommandLine ParseCommandLine(const std::vector<std::string>& args);
tCommandLine ParseCommandLine(int argc, char** argv);

// The highest player limit the client slot table can hold (the last slot is the console's).
int MaxUsablePlayers();
