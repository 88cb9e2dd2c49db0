// Meta files: the schema, every refusal with its exact message, order of maps and scripts, client files.
#include "ResourceFixture.h"
#include <fcntl.h>
#include "Engine/ChunkFile.h"
#include "Engine/ElementChunk.h"
#include "Engine/Hashes.h"
#include "Scripting/ResourcePaths.h"

using namespace Ferrox3D;

namespace {

struct tMetaCase {
    const char* name;
    const char* meta;
    bool loads;
    const char* message;  // a line the load must log, or null
};

const tMetaCase META_CASES[] = {
    {"AnyRootName", "<anything><Script src='a.lua' type='server' language='lua'/></anything>", true, nullptr},
    {"AttributeCaseCounts", "<meta><script SRC='a.lua' type='server' language='lua'/></meta>", false,
     "src attribute missing on script element in resource r!"},
    {"ScriptWithoutType", "<meta><script src='a.lua' language='lua'/></meta>", false,
     "type attribute missing on script element in resource r!"},
    {"ScriptWithoutLanguage", "<meta><script src='a.lua' type='server'/></meta>", false,
     "language attribute missing on script element in resource r!"},
    {"ScriptOfNoSide", "<meta><script src='a.lua' type='both' language='lua'/></meta>", false,
     "invalid type in resource r!"},
    {"ScriptMissing", "<meta><script src='none.lua' type='server' language='lua'/></meta>", false,
     "unable to load script none.lua in resource r!"},
    {"MapWithoutSrc", "<meta><map type='server'/></meta>", false, "src attribute missing on map element in resource r!"},
    {"MapWithoutType", "<meta><map src='m.xml'/></meta>", false, "type attribute missing on map element in resource r!"},
    {"MapOfNoSide", "<meta><map src='m.xml' type='x'/></meta>", false, "invalid type in resource r!"},
    {"MapMissing", "<meta><map src='none.xml' type='server'/></meta>", false,
     "unable to load map none.xml in resource r!"},
    {"FileWithoutType", "<meta><file src='f.txt'/></meta>", false,
     "src or type attribute missing on file element in resource r!"},
    {"FileMissing", "<meta><file src='none.txt' type='client'/></meta>", false,
     "unable to load file none.txt in resource r!"},
    {"FileOnServer", "<meta><file src='f.txt' type='server'/></meta>", false, "invalid type in resource r!"},
    {"MissingDependency", "<meta><dependency src='nope'/></meta>", false, "Unable to find dependency nope for resource r!"},
    {"MalformedXml", "<meta><script", false, nullptr},
    {"UnknownLanguageLoads", "<meta><script src='a.lua' type='server' language='cobol'/></meta>", true, nullptr},
    // Nothing outside the resource is ever read or published.
    {"AbsoluteScript", "<meta><script src='/server.xml' type='client' language='lua'/></meta>", false,
     "unable to load script /server.xml in resource r: the path leaves the resource!"},
    {"ClimbingScript", "<meta><script src='../other/a.lua' type='server' language='lua'/></meta>", false,
     "unable to load script ../other/a.lua in resource r: the path leaves the resource!"},
    {"ClimbingInside", "<meta><map src='sub/../../server.xml' type='client'/></meta>", false,
     "unable to load map sub/../../server.xml in resource r: the path leaves the resource!"},
    {"BackslashClimb", "<meta><file src='..\\server.xml' type='client'/></meta>", false,
     "unable to load file ..\\server.xml in resource r: the path leaves the resource!"},
    {"AbsoluteFile", "<meta><file src='/etc/passwd' type='client'/></meta>", false,
     "unable to load file /etc/passwd in resource r: the path leaves the resource!"},
    {"EncodedClimbIsJustAName", "<meta><file src='%2e%2e/server.xml' type='client'/></meta>", false,
     "unable to load file %2e%2e/server.xml in resource r!"},
    {"CaseTwins", "<meta><file src='f.txt' type='client'/><file src='F.txt' type='client'/></meta>", false,
     "file F.txt in resource r differs from f.txt only in letter case!"},
};

class MetaCaseTest : public ResourceFixture, public ::testing::WithParamInterface<tMetaCase> {};

TEST_P(MetaCaseTest, LoadsOrRefusesWithItsMessage) {
    const tMetaCase& c = GetParam();
    Write("server.xml", "<server/>");
    Write("resources/r/meta.xml", c.meta);
    Write("resources/r/a.lua", "x = 1");
    Write("resources/r/m.xml", "<map/>");
    Write("resources/r/f.txt", "file");
    Write("resources/r/F.txt", "FILE");
    CResource resource(m_pManager.get(), "r");
    resource.SetPaths("/resources/r", "");
    EXPECT_EQ(resource.LoadMeta(true), c.loads);
    if (c.message)
        EXPECT_TRUE(m_Log.Contains(c.message)) << "missing: " << c.message;
    for (const auto& script : resource.GetClientScripts())
        EXPECT_EQ(script.m_Path.find(".."), std::string::npos);
    EXPECT_FALSE(Exists("htdocs/resources/r/" + ClientFileHashName("/etc/passwd")));
}

INSTANTIATE_TEST_SUITE_P(Meta, MetaCaseTest, ::testing::ValuesIn(META_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

using ResourceMetaTest = ResourceFixture;

TEST_F(ResourceMetaTest, MissingMetaFileIsReported) {
    Write("resources/r/a.lua", "");
    CResource resource(m_pManager.get(), "r");
    resource.SetPaths("/resources/r", "");
    EXPECT_FALSE(resource.LoadMeta(true));
    EXPECT_TRUE(m_Log.Contains("unable to load meta.xml in resource r!"));
}

TEST_F(ResourceMetaTest, MapsComeBeforeScriptsAndEntriesHoldTheWholeFile) {
    Write("resources/r/meta.xml",
          "<meta><script src='s.lua' type='server' language='lua'/><script src='c.js' type='client' language='JavaScript'/>"
          "<map src='m.xml' type='SERVER'/><script src='q.nut' type='server' language='squirrel'/></meta>");
    Write("resources/r/s.lua", "print('s')");
    Write("resources/r/c.js", "let c = 1;");
    Write("resources/r/m.xml", "<map/>");
    Write("resources/r/q.nut", "");
    CResource resource(m_pManager.get(), "r");
    resource.SetPaths("/resources/r/", "");
    ASSERT_TRUE(resource.LoadMeta(true));
    const auto& server = resource.GetServerScripts();
    ASSERT_EQ(server.size(), 3u);
    EXPECT_EQ(server[0].m_Kind, RESOURCE_SCRIPT_MAP);
    EXPECT_EQ(server[0].m_Path, "/resources/r/m.xml");  // no second "/" after a folder ending in one
    EXPECT_EQ(server[1].m_Kind, RESOURCE_SCRIPT_LUA);
    EXPECT_EQ(std::string(server[1].m_Bytes.begin(), server[1].m_Bytes.end()), "print('s')");
    EXPECT_EQ(server[1].m_Size, 10u);
    EXPECT_EQ(server[2].m_Kind, RESOURCE_SCRIPT_SQUIRREL);
    ASSERT_EQ(resource.GetClientScripts().size(), 1u);
    EXPECT_EQ(resource.GetClientScripts()[0].m_Kind, RESOURCE_SCRIPT_JAVASCRIPT);
}

TEST_F(ResourceMetaTest, BinaryChunkMetaFileLoadsLikeXml) {
    Write("resources/r/a.lua", "");
    Write("resources/r/meta.xml", "<meta><script src='a.lua' type='server' language='lua'/></meta>");
    // Round trip the document through the chunk form.
    auto pRoot = CElementChunk::LoadFromText(Read("resources/r/meta.xml").data(), Read("resources/r/meta.xml").size());
    ASSERT_TRUE(pRoot);
    CUnlimitedStream chunk;
    ASSERT_TRUE(WriteChunkFile(&chunk, *pRoot, true));
    Write("resources/r/meta.xml", std::string(reinterpret_cast<const char*>(chunk.GetData()), chunk.GetLength()));
    CResource resource(m_pManager.get(), "r");
    resource.SetPaths("/resources/r", "");
    ASSERT_TRUE(resource.LoadMeta(true));
    EXPECT_EQ(resource.GetServerScripts().size(), 1u);
}

TEST_F(ResourceMetaTest, ClientFilesCarryHashNameSizeChecksumAndCopy) {
    std::string longName = std::string(150, 'a') + "/" + std::string(149, 'B') + ".txt";
    Write("resources/r/meta.xml",
          "<meta><file src='Pics/Logo.PNG' type='client'/><file src='" + longName + "' type='Client'/></meta>");
    Write("resources/r/Pics/Logo.PNG", "123456789");
    Write("resources/r/" + longName, "");
    CResource resource(m_pManager.get(), "r");
    resource.SetPaths("/resources/r", "");
    ASSERT_TRUE(resource.LoadMeta(true));
    const tClientFile& file = resource.GetClientFiles().at(0);
    EXPECT_EQ(file.m_HashName, ClientFileHashName("pics/logo.png"));
    EXPECT_EQ(file.m_Size, 9u);
    EXPECT_EQ(file.m_Checksum, 0xCBF43926u);  // CRC-32 of "123456789"
    EXPECT_EQ(Read("htdocs/resources/r/" + file.m_HashName), "123456789");
    const tClientFile& cut = resource.GetClientFiles().at(1);
    EXPECT_EQ(cut.m_Name, longName.substr(0, 255));
    EXPECT_EQ(cut.m_HashName, ClientFileHashName(longName.substr(0, 255).c_str()));
}

// A download in progress must never see a truncated file: unchanged copies stay as they are, changed
// ones are replaced whole by a rename.
TEST_F(ResourceMetaTest, HtDocsCopiesAreReplacedWholeAndOnlyWhenChanged) {
    Write("resources/r/meta.xml", "<meta><file src='f.txt' type='client'/></meta>");
    Write("resources/r/f.txt", "first");
    CResource resource(m_pManager.get(), "r");
    resource.SetPaths("/resources/r", "");
    ASSERT_TRUE(resource.LoadMeta(true));
    std::string copy = m_Root + "/htdocs/resources/r/" + ClientFileHashName("f.txt");
    struct stat before, after;
    ASSERT_EQ(stat(copy.c_str(), &before), 0);
    ASSERT_TRUE(resource.LoadMeta(true));
    ASSERT_EQ(stat(copy.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    int reader = open(copy.c_str(), O_RDONLY);  // a download holding the old file keeps reading it
    Write("resources/r/f.txt", "second version");
    ASSERT_TRUE(resource.LoadMeta(true));
    EXPECT_EQ(Read("htdocs/resources/r/" + ClientFileHashName("f.txt")), "second version");
    char old[16] = {};
    EXPECT_EQ(read(reader, old, sizeof(old)), 5);
    EXPECT_STREQ(old, "first");
    close(reader);
    EXPECT_FALSE(Exists("htdocs/resources/r/" + ClientFileHashName("f.txt") + ".tmp"));
}

TEST(ResourcePathsTest, HashNameIsUpperHexSha256OfLowerCasedName) {
    EXPECT_EQ(ClientFileHashName("ABC"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(ClientFileHashName("abc"), ClientFileHashName("AbC"));
}

TEST(ResourcePathsTest, OnlyPathsInsideTheResourcePass) {
    struct {
        const char* path;
        bool inside;
    } cases[] = {
        {"a.lua", true}, {"sub/a.lua", true}, {"a..b/c", true}, {"..a", true}, {"./a", true},
        {"", false}, {"/a", false}, {"\\a", false}, {"..", false}, {"../a", false}, {"a/..", false},
        {"a/../b", false}, {"a\\..\\b", false}, {"a/..\\b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsResourceRelativePath(c.path), c.inside) << c.path;
}

}  // namespace
