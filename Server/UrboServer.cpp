// Game-level configuration keys and the games table.
#include "Server/UrboServer.h"
#include <strings.h>
#include "Engine/Context.h"
#include "Engine/FileSystem.h"
#include "Engine/Log.h"

using namespace Ferrox3D;

namespace {
struct tGame {
    const char* m_Text;
    int m_Id;
};
const tGame GAMES[] = {
    {"urbo:a", GAME_URBO_A}, {"urbo:b", GAME_URBO_B}, {"urbo:c", GAME_URBO_C},
    {"urbo:d", GAME_URBO_D}, {"torno", GAME_TORNO},
};
}  // namespace

int FindGameId(const std::string& text) {
    for (const tGame& game : GAMES)
        if (strcasecmp(text.c_str(), game.m_Text) == 0)
            return game.m_Id;
    return -1;
}

CUrboServer::CUrboServer() = default;
CUrboServer::~CUrboServer() = default;

bool CUrboServer::ParseConfig(CServerConfiguration& config) {
    if (!CBaseServer::ParseConfig(config))
        return false;
    m_GameId = FindGameId(m_GameText);
    m_bSyncLocalEntities = config.GetBoolValue("synclocalentities", false);
    for (const tConfigElement* pFile : config.GetListEntries("anticheat", "file")) {
        const std::string* pPath = pFile->GetAttribute("path");
        const std::string* pSrc = pFile->GetAttribute("src");
        if (pPath && pSrc)
            m_AntiCheatFiles.push_back(tAntiCheatFile{*pPath, *pSrc});
    }
    m_fPickupStreamInDistance = config.GetFloatValue("pickupstreamindistance", 50.0f);
    m_fPickupStreamOutDistance = config.GetFloatValue("pickupstreamoutdistance", 100.0f);
    m_bTimeSync = config.GetBoolValue("timesync", true);
    m_bWeatherSync = config.GetBoolValue("weathersync", true);
    m_bNativeMultiplayer = m_GameId == GAME_URBO_D && config.GetBoolValue("dx_nativemultiplayer", true);
    m_DXGameMode = config.GetIntValue("dx_gamemode", 8);
    m_bPlanes = config.GetBoolValue("planes", false);
    m_bTrains = config.GetBoolValue("trains", false);
    m_bStuntJumps = config.GetBoolValue("stuntjumps", false);
    m_bUniqueStuntJumps = config.GetBoolValue("uniquestuntjumps", false);
    m_bGunShops = config.GetBoolValue("gunshops", false);
    m_bToiletCamera = config.GetBoolValue("toiletcamera", false);
    m_bNameTags = config.GetBoolValue("nametags", true);
    m_DXEpisode = config.GetIntValue("dx_episode", -1);
    if (!LoadVehicleColours()) {
        LogError("Failed to load vehicle colours!");
        return false;
    }
    m_fMinuteDuration = config.GetFloatValue("minuteduration", m_GameId == GAME_URBO_D ? 2.0f : 1.0f);
    return true;
}

bool CUrboServer::LoadVehicleColours() {
    CFileSystem* pFileSystem = g_pContext ? g_pContext->GetFileSystem() : nullptr;
    return pFileSystem && m_VehicleColours.LoadForGame(m_GameId, *pFileSystem);
}
