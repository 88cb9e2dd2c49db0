// Colour table files ("model colour1 colour2 [colour3 [colour4]]" per line) and the random pick.
#include "Server/VehicleColours.h"
#include <cstdlib>
#include "Engine/Log.h"
#include "Engine/TextReader.h"

using namespace Ferrox3D;

namespace {
constexpr size_t COLOUR_LINE_BUFFER = 128;
constexpr int MAX_LINE_NUMBERS = 5;
constexpr int MIN_LINE_NUMBERS = 3;

// Up to five decimal integers separated by white space; stops at the first text that is not one.
int ReadNumbers(const char* line, long long (&numbers)[MAX_LINE_NUMBERS]) {
    int count = 0;
    const char* at = line;
    while (count < MAX_LINE_NUMBERS) {
        char* end;
        long long value = strtoll(at, &end, 10);
        if (end == at)
            break;
        numbers[count++] = value;
        at = end;
    }
    return count;
}

bool IsSkipped(const char* line) { return line[0] == '\0' || line[0] == '#' || line[0] == '\r' || line[0] == '\n'; }
}  // namespace

std::vector<tVehicleColour>& CVehicleColours::FindDefinitions(uint32_t model) { return m_Definitions[model]; }

void CVehicleColours::Clear() { m_Definitions.clear(); }

void CVehicleColours::Load(Stream* pStream) {
    CTextReader reader(pStream);
    char line[COLOUR_LINE_BUFFER];
    size_t length;
    for (int number = 1; reader.ReadLine(line, sizeof(line), &length); ++number) {
        if (IsSkipped(line))
            continue;
        long long values[MAX_LINE_NUMBERS] = {0, 0, 0, 0, 0};
        if (ReadNumbers(line, values) < MIN_LINE_NUMBERS) {
            LogWarn("vehiclecolours.conf[%d] - bad syntax '%s'", number, line);
            continue;
        }
        tVehicleColour entry;
        for (int i = 0; i < 4; ++i)
            entry.m_Colours[i] = static_cast<int32_t>(values[i + 1] & 0xFF);
        FindDefinitions(static_cast<uint32_t>(values[0])).push_back(entry);
    }
}

const char* CVehicleColours::GetTablePath(int gameId) {
    switch (gameId) {
    case 1: return "/vehiclecolours.conf";
    case 2: return "/vehiclecolours_b.conf";
    case 3: return "/vehiclecolours_c.conf";
    case 5: return "/vehiclecolours_d.conf";
    default: return nullptr;
    }
}

bool CVehicleColours::LoadForGame(int gameId, CVirtualFileMgr& fileSystem) {
    const char* path = GetTablePath(gameId);
    Strong<Stream> file = path ? fileSystem.Open(path, false) : nullptr;
    if (!file)
        return false;
    Load(file);
    return true;
}

const tVehicleColour* CVehicleColours::PickRandom(uint32_t model) {
    std::vector<tVehicleColour>& entries = FindDefinitions(model);
    if (entries.empty()) {
        LogWarn("Cannot randomise car colour %d!", static_cast<int>(model));
        return nullptr;
    }
    // Two calls so the pick covers 32 bits (RAND_MAX is 31 bits); unsigned, so nothing overflows.
    uint32_t r = (static_cast<uint32_t>(rand()) << 1) | (static_cast<uint32_t>(rand()) & 1u);
    return &entries[r % entries.size()];
}
