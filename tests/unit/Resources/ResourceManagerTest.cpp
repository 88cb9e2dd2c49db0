// Discovery, rescans, the start list, the resource commands and start/stop with Lua scripts.
#include "ResourceFixture.h"

using namespace Ferrox3D;

namespace {

const char* const LUA_META = "<meta><script src='main.lua' type='server' language='lua'/></meta>";

class ResourceManagerTest : public ResourceFixture {
protected:
    void AddLuaResource(const std::string& folder, const std::string& script, const std::string& extra = "") {
        Write(folder + "/meta.xml", "<meta>" + extra + "<script src='main.lua' type='server' language='lua'/></meta>");
        Write(folder + "/main.lua", script);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (CResource* pResource : m_pManager->GetResources())
            names.push_back(pResource->GetName());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ResourceManagerTest, DiscoveryFindsFoldersGroupsAndArchivesAndSkipsHiddenNames) {
    AddLuaResource("resources/plain", "");
    AddLuaResource("resources/[group]/inside", "");
    AddLuaResource("resources/[group]/[nested]/deeper", "");
    AddLuaResource("resources/zafter", "");
    AddLuaResource("resources/.hidden", "");
    AddLuaResource("packed", "");
    Run("tar -cf resources/Packed.TAR -C packed meta.xml main.lua");
    Write("resources/notes.txt", "not a resource");
    Write("resources/.secret.tar", "");
    m_pManager->RefreshResources(true);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Packed", "deeper", "inside", "plain", "zafter"}));
    EXPECT_TRUE(m_Log.Contains("Found new resource inside"));
    EXPECT_TRUE(m_Log.Contains("5 resources in the resource cache"));
    EXPECT_EQ(Find("PACKED")->GetArchivePath(), "/resources/Packed.TAR");
    EXPECT_EQ(Find("inside")->GetFolderPath(), "/resources/[group]/inside");
}

TEST_F(ResourceManagerTest, RescanRemovesStopsAndReloads) {
    AddLuaResource("resources/keep", "");
    AddLuaResource("resources/gone", "");
    m_pManager->RefreshResources(false);
    EXPECT_FALSE(m_Log.Contains("Found new resource"));
    ASSERT_TRUE(Find("gone")->Start());
    Strong<CResource> pHeld = Find("gone");
    Remove("resources/gone");
    Write("resources/keep/meta.xml", "<meta><script src='missing.lua' type='server' language='lua'/></meta>");
    AddLuaResource("resources/added", "");
    m_pManager->RefreshResources(true);
    EXPECT_TRUE(m_Log.Contains("Removing resource gone"));
    EXPECT_TRUE(m_Log.Contains("STOP: Resource gone stopped."));
    EXPECT_FALSE(pHeld->IsStarted());
    EXPECT_TRUE(m_Log.Contains("Failed to load resource keep!"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"added"}));
}

TEST_F(ResourceManagerTest, MissingResourcesFolderEmptiesTheCache) {
    AddLuaResource("resources/one", "");
    m_pManager->RefreshResources(true);
    Remove("resources");
    m_pManager->RefreshResources(true);
    EXPECT_TRUE(Names().empty());
    EXPECT_TRUE(m_Log.Contains("Removing resource one"));
}

TEST_F(ResourceManagerTest, StartListCountsMissingAndFailingResources) {
    AddLuaResource("resources/good", "");
    AddLuaResource("resources/bad", "error('boom')");
    m_pManager->RefreshResources(false);
    for (const char* name : {"GOOD", "bad", "absent"})
        m_pManager->QueueResourceStart(name);
    m_pManager->StartQueuedResources();
    EXPECT_TRUE(m_Log.Contains("Starting resources..."));
    EXPECT_TRUE(m_Log.Contains("Error loading resource absent: resource not found!"));
    EXPECT_TRUE(m_Log.Contains("Error loading resource bad!"));
    EXPECT_TRUE(m_Log.Contains("START: Resource bad failed to load!"));
    EXPECT_TRUE(m_Log.Contains("1/3 Resources loaded, 2 failed"));
    EXPECT_TRUE(Find("good")->IsStarted());
    EXPECT_FALSE(Find("bad")->IsStarted());
}

TEST_F(ResourceManagerTest, ScriptsSeeStartAndStopEventsAndTheirOwnFiles) {
    AddLuaResource("resources/r",
                   "addEventHandler('OnResourceStart', function(event, resource)\n"
                   "  saveTextFile('started.txt', resource.name .. ' ' .. tostring(resource == thisResource))\n"
                   "end)\n"
                   "addEventHandler('OnResourceStop', function(event, resource, restarting)\n"
                   "  saveTextFile('stopped.txt', tostring(restarting))\n"
                   "end)\n");
    m_pManager->RefreshResources(false);
    CResource* pResource = Find("r");
    ASSERT_TRUE(pResource->Start());
    EXPECT_EQ(Read("resources/r/started.txt"), "\xEF\xBB\xBFr true");
    ASSERT_TRUE(pResource->Restart());
    EXPECT_EQ(Read("resources/r/stopped.txt"), "\xEF\xBB\xBFtrue");
    EXPECT_TRUE(m_Log.Contains("RESTART: Restarting resource r..."));
    ASSERT_TRUE(pResource->Stop(false));
    EXPECT_EQ(Read("resources/r/stopped.txt"), "\xEF\xBB\xBF" "false");
    EXPECT_EQ(m_Events.GetEventType("OnResourceStart")->GetHandlerCount(), 0u);
}

TEST_F(ResourceManagerTest, StartAndStopRefuseTwiceAndPreventedStartFails) {
    AddLuaResource("resources/r", "addEventHandler('OnResourceStart', function(event) event:preventDefault() end)");
    AddLuaResource("resources/ok", "");
    m_pManager->RefreshResources(false);
    EXPECT_FALSE(Find("r")->Start());
    EXPECT_TRUE(m_Log.Contains("START: Resource r failed to load!"));
    EXPECT_FALSE(Find("r")->IsStarted());
    ASSERT_TRUE(Find("ok")->Start());
    EXPECT_FALSE(Find("ok")->Start());
    EXPECT_TRUE(m_Log.Contains("START: Resource ok already running!"));
    ASSERT_TRUE(Find("ok")->Stop(false));
    EXPECT_FALSE(Find("ok")->Stop(false));
    EXPECT_TRUE(m_Log.Contains("STOP: Resource ok already stopped!"));
}

TEST_F(ResourceManagerTest, UnknownLanguageFailsTheStartAndSquirrelIsSkipped) {
    Write("resources/odd/meta.xml", "<meta><script src='a.x' type='server' language='basic'/></meta>");
    Write("resources/odd/a.x", "");
    Write("resources/sq/meta.xml", "<meta><script src='a.nut' type='server' language='squirrel'/></meta>");
    Write("resources/sq/a.nut", "");
    m_pManager->RefreshResources(false);
    EXPECT_FALSE(Find("odd")->Start());
    EXPECT_TRUE(m_Log.Contains("START: Resource odd failed to load!"));
    EXPECT_TRUE(Find("sq")->Start());
    EXPECT_TRUE(m_Log.Contains("Unable to run /resources/sq/a.nut in resource sq: this server has no Squirrel engine!"));
}

TEST_F(ResourceManagerTest, MutualDependenciesBothStartAndSurviveTheirRemoval) {
    AddLuaResource("resources/a", "", "<dependency src='b'/>");
    AddLuaResource("resources/b", "", "<dependency src='a'/>");
    m_pManager->RefreshResources(false);  // a loads before b exists in the cache? both are found first
    ASSERT_TRUE(Find("a"));
    ASSERT_TRUE(Find("a")->Start());
    EXPECT_TRUE(Find("b")->IsStarted());
    Strong<CResource> pA = Find("a");
    Remove("resources/b");
    m_pManager->RefreshResources(true);  // b goes; a fails its dependency and goes too
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(pA->IsStarted());
    EXPECT_TRUE(pA->GetDependencies().empty());
}

TEST_F(ResourceManagerTest, ConsoleCommandsReportTheirOutcome) {
    AddLuaResource("resources/r", "");
    m_pManager->RefreshResources(false);
    m_pManager->CommandStart("");
    EXPECT_TRUE(m_Log.Contains("No resource specified!"));
    m_pManager->CommandStart("nope");
    EXPECT_TRUE(m_Log.Contains("Unable to find the resource nope!"));
    m_pManager->CommandStop("r");
    EXPECT_TRUE(m_Log.Contains("Failed to stop resource r"));
    m_pManager->CommandRestart("R");
    EXPECT_TRUE(m_Log.Contains("Failed to restart resource R"));
    m_pManager->CommandStart("R");
    EXPECT_TRUE(m_Log.Contains("Started resource R"));
    m_pManager->CommandStart("r");
    EXPECT_TRUE(m_Log.Contains("Failed to start resource r"));
    m_pManager->CommandRestart("r");
    EXPECT_TRUE(m_Log.Contains("Restarted resource r"));
    m_pManager->CommandStopAll();
    EXPECT_TRUE(m_Log.Contains("Stopped 1 resources"));
    m_pManager->CommandStopAll();
    EXPECT_TRUE(m_Log.Contains("Stopped 0 resources"));
}

// The script's environment must not be destroyed while the script is still running in it.
TEST_F(ResourceManagerTest, ResourceStoppingItselfIsStoppedAfterTheCall) {
    AddLuaResource("resources/r",
                   "addEventHandler('OnResourceStart', function(event, resource)\n"
                   "  local ok = thisResource:stop()\n"
                   "  saveTextFile('after.txt', tostring(ok) .. ' ' .. tostring(thisResource.isStarted))\n"
                   "end)\n");
    m_pManager->RefreshResources(false);
    ASSERT_TRUE(Find("r")->Start());
    EXPECT_EQ(Read("resources/r/after.txt"), "\xEF\xBB\xBFtrue true");
    EXPECT_TRUE(Find("r")->IsStarted());
    m_pManager->ProcessDeferredStops();
    EXPECT_FALSE(Find("r")->IsStarted());
}

TEST_F(ResourceManagerTest, ExportsAndLookupsFromScripts) {
    AddLuaResource("resources/lib", "exportFunction('twice', function(x) return x * 2 end)");
    AddLuaResource("resources/user",
                   "local lib = findResourceByName('LIB')\n"
                   "local r = lib:getExport('twice')(21)\n"
                   "saveTextFile('out.txt', tostring(r) .. ' ' .. tostring(lib:getExport('none') == nil) .. ' ' ..\n"
                   "  tostring(findResourceByName('nothing') == nil) .. ' ' .. #getResources() .. ' ' .. platform)\n");
    m_pManager->RefreshResources(false);
    ASSERT_TRUE(Find("lib")->Start());
    ASSERT_TRUE(Find("user")->Start()) << ::testing::PrintToString(m_Log.Lines());
    EXPECT_EQ(Read("resources/user/out.txt"), "\xEF\xBB\xBF" "42 true true 2 Linux");
}

}  // namespace
