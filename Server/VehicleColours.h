// Per-game vehicle colour tables: loading them from the file system and picking a random entry.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>
#include "Engine/FileSystem.h"

struct tVehicleColour {
    bool m_bRGB = false;           // true: ARGB colours; false: palette colour numbers
    int32_t m_Colours[4] = {0, 0, 0, 0};
};

class CVehicleColours {
public:
    // The model's entries in file order; an empty list is made for a model without any.
    std::vector<tVehicleColour>& FindDefinitions(uint32_t model);
    void Clear();

    // Appends the entries of a table file; bad lines are skipped with a warning.
    void Load(Ferrox3D::Stream* pStream);
    // The table file of a game id, or null when the game has none.
    static const char* GetTablePath(int gameId);
    // Loads the game's table; false when the game has none or the file cannot be opened
    // (the configuration then reports "Failed to load vehicle colours!").
    bool LoadForGame(int gameId, Ferrox3D::CVirtualFileMgr& fileSystem);

    // A random entry of the model; null, with a warning, when the model has none.
    const tVehicleColour* PickRandom(uint32_t model);

private:
    std::unordered_map<uint32_t, std::vector<tVehicleColour>> m_Definitions;
};
