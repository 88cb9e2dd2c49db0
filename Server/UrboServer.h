// The game server: the game-level configuration keys and the games this server can run.
#pragma once
#include <string>
#include <vector>
#include "Server/BaseServer.h"
#include "Server/VehicleColours.h"

enum eGameId {
    GAME_UNKNOWN = 0,
    GAME_URBO_A = 1,
    GAME_URBO_B = 2,
    GAME_URBO_C = 3,
    GAME_URBO_D = 5,
    GAME_TORNO = 7,
};

struct tAntiCheatFile {
    std::string m_Path;
    std::string m_Src;
};

// The id clients must announce for a game text (case-insensitive), or -1.
int FindGameId(const std::string& text);

class CUrboServer : public CBaseServer {
public:
    CUrboServer();
    ~CUrboServer() override;

    // The engine-level keys first; then the game-level ones.
    bool ParseConfig(CServerConfiguration& config) override;

protected:
    // Loads the configured game's vehicle colour table; false when there is none.
    virtual bool LoadVehicleColours();

public:
    int m_GameId = GAME_URBO_A;
    bool m_bSyncLocalEntities = false;
    std::vector<tAntiCheatFile> m_AntiCheatFiles;
    float m_fPickupStreamInDistance = 50.0f;
    float m_fPickupStreamOutDistance = 100.0f;
    bool m_bTimeSync = true;
    bool m_bWeatherSync = true;
    bool m_bNativeMultiplayer = false;
    int m_DXGameMode = 8;
    float m_fMinuteDuration = 1.0f;
    // Read and kept; nothing depends on them.
    bool m_bPlanes = false, m_bTrains = false, m_bStuntJumps = false, m_bUniqueStuntJumps = false;
    bool m_bGunShops = false, m_bToiletCamera = false, m_bNameTags = true;
    int m_DXEpisode = -1;
    CVehicleColours m_VehicleColours;
};
