// CBaseServer::ParseConfig: the engine-level keys, in the order the configuration table lists them.
#include <strings.h>
#include <cstdio>
#include "Engine/CRC32.h"
#include "Engine/Context.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Engine/Password.h"
#include "Server/BaseServer.h"

using namespace Ferrox3D;

namespace {

const char* const DEFAULT_LISTING_HOST = "listing.invalid";

int ParseWord(const std::string* pText, const char* const* words, int count, int fallback, bool& known) {
    known = true;
    if (!pText)
        return fallback;
    for (int i = 0; i < count; ++i)
        if (strcasecmp(pText->c_str(), words[i]) == 0)
            return i;
    known = false;
    return fallback;
}

}  // namespace

bool CBaseServer::ParseConfig(CServerConfiguration& config) {
    m_LogPath = config.GetShortText("logpath", "");
    if (g_pContext && !g_pContext->OpenLogFile(m_LogPath.c_str()))
        LogError("Unable to open the log file in '%s'", m_LogPath.c_str());
    if (g_pContext)
        g_pContext->SetLogTimestampFormat(config.GetShortText("logtimestamp", LOG_DEFAULT_TIMESTAMP_FORMAT).c_str());
    m_BindIP = config.GetShortText("bindip", "");
    m_ServerName = config.GetShortText("servername", "");
    m_GameMode = config.GetShortText("gamemode", "");
    m_ServerListingURL = config.GetShortText("serverlistingurl", DEFAULT_LISTING_HOST);
    m_bServerBrowser = config.GetBoolValue("serverbrowser", false);
    if (!ParseLimits(config) || !ParseNetwork(config))
        return false;
    ParseSync(config);
    m_bDuplicateNames = config.GetBoolValue("duplicatenames", false);
    m_bMultithreaded = config.GetBoolValue("multithreaded", false);
    if (const std::string* pVersion = config.GetText("minclientversion"))
        sscanf(pVersion->c_str(), "%d.%d.%d.%d", &m_MinClientVersion[0], &m_MinClientVersion[1],
               &m_MinClientVersion[2], &m_MinClientVersion[3]);
    if (!ReadPassword(config, "password", m_Password))
        return false;
    for (const tConfigElement* pModule : config.GetListEntries("modules", "module"))
        if (const std::string* pSrc = pModule->GetAttribute("src"))
            m_ModuleList.push_back(*pSrc);
    if (!LoadModules())
        return false;
    if (!DefineScriptClasses()) {
        LogError("Unable to define all classes");
        return false;
    }
    RescanResources();
    ParseLists(config);
    ParseCVarsAndRules(config);
    m_GameText = config.GetTextValue("game", "urbo:a");
    return ParseStreaming(config);
}

bool CBaseServer::ParseLimits(const CServerConfiguration& config) {
    m_MaxPlayers = config.GetIntValue("maxplayers", 32);
    if (m_MaxPlayers == 0) {
        LogError("The max players should at least be 1!");
        return false;
    }
    if (m_MaxPlayers > MAX_PLAYERS_LIMIT || m_MaxPlayers < 0) {
        LogError("The max players should not be set to anything more than 127!");
        return false;
    }
    m_bServerQuery = config.GetBoolValue("serverquery", true);
    return true;
}

bool CBaseServer::ParseNetwork(const CServerConfiguration& config) {
    m_usPort = config.GetUInt16Value("port", 22000);
    m_usHTTPPort = config.GetUInt16Value("httpport", 22000);
    m_HTTPUrl = config.GetTextValue("httpurl", "");
    m_usRConPort = config.GetUInt16Value("rconport", 23000);
    m_bHTTPServer = config.GetBoolValue("httpserver", true);
    m_bRCon = config.GetBoolValue("rcon", false);
    if (!m_bRCon)
        return true;
    if (m_usRConPort == m_usHTTPPort) {
        LogError("The rconport and httpport cannot match!");
        return false;
    }
    return ReadPassword(config, "rconpassword", m_RConPassword);
}

void CBaseServer::ParseSync(const CServerConfiguration& config) {
    static const char* const METHODS[] = {"none", "interval", "replay"};
    static const char* const PRIORITIES[] = {"immediate", "high", "medium", "low"};
    m_usSyncInterval = config.GetUInt16Value("syncinterval", 30);
    m_WaitEventTimeout = config.GetIntValue("waiteventtimeout", 5);
    bool known;
    m_SyncMethod = ParseWord(config.GetText("syncmethod"), METHODS, 3, SYNC_METHOD_INTERVAL, known);
    if (!known)
        LogError("Invalid syncmethod specified, using interval!");
    m_SyncPacketPriority = ParseWord(config.GetText("syncpacketpriority"), PRIORITIES, 4, 3, known);
    if (!known)
        LogError("Invalid syncpriority specified, using low!");
    m_bSyncPacketReliable = config.GetBoolValue("syncpacketreliable", false);
    m_bSyncPacketUnsequenced = config.GetBoolValue("syncpacketunsequenced", false);
}

void CBaseServer::ParseLists(const CServerConfiguration& config) {
    for (const tConfigElement* pResource : config.GetListEntries("resources", "resource")) {
        const std::string* pSrc = pResource->GetAttribute("src");
        if (!pSrc)
            continue;
        m_ResourceStartList.push_back(*pSrc);
        if (const std::string* pPrivileged = pResource->GetAttribute("privileged")) {
            if (*pPrivileged == "true" || *pPrivileged == "1")
                SetResourcePrivileged(*pSrc, true);
            else if (*pPrivileged == "false" || *pPrivileged == "0")
                SetResourcePrivileged(*pSrc, false);
        }
    }
}

void CBaseServer::ParseCVarsAndRules(const CServerConfiguration& config) {
    for (const tConfigElement* pCVar : config.GetRepeated("cvar")) {
        const std::string* pName = pCVar->GetAttribute("name");
        const std::string* pValue = pCVar->GetAttribute("value");
        if (!pName)
            LogError("CVar in config without name attribute!");
        else if (!pValue)
            LogError("CVar %s in config without value attribute!", pName->c_str());
        else
            m_ConfigVariables[NameKey(*pName, true)] = tConfigVariable{*pName, *pValue};
    }
    for (const tConfigElement* pRule : config.GetRepeated("rule")) {
        const std::string* pName = pRule->GetAttribute("name");
        const std::string* pValue = pRule->GetAttribute("value");
        if (!pName)
            LogError("Rule in config without name attribute!");
        else if (!pValue)
            LogError("Rule %s in config without value attribute!", pName->c_str());
        else
            SetRule(*pName, *pValue);
    }
}

bool CBaseServer::ParseStreaming(const CServerConfiguration& config) {
    m_fStreamInDistance = config.GetFloatValue("streamindistance", 100.0f);
    m_fStreamOutDistance = config.GetFloatValue("streamoutdistance", 200.0f);
    m_usStreamInterval = config.GetUInt16Value("streaminterval", 1000);
    if (m_usStreamInterval < 500 || m_usStreamInterval > 5000) {
        LogError("The streaminterval must be greater than or equal to 500 and less than or equal to 5000!");
        return false;
    }
    return true;
}

// Keeps only a password record of a non-empty text; false when no record can be made.
bool CBaseServer::ReadPassword(const CServerConfiguration& config, const char* key, std::string& record) {
    record.clear();
    const std::string* pText = config.GetText(key);
    if (!pText || pText->empty())
        return true;
    if (MakePasswordRecord(pText->c_str(), record))
        return true;
    // Never a salt from a predictable source: without secure random bytes the server does not start.
    LogError("Unable to protect the %s: the secure random source failed", key);
    return false;
}
