// What a resource's scripts can open: only files of its own folder or archive, whatever the spelling.
#include "ResourceFixture.h"

using namespace Ferrox3D;

namespace {

class ResourceFileAccessTest : public ResourceFixture {
protected:
    void SetUp() override {
        ResourceFixture::SetUp();
        Write("server.xml", "<secret/>");
        Write("outside/secret.txt", "secret");
        Write("resources/r/meta.xml", "<meta/>");
        Write("resources/r/own.txt", "own");
        Write("resources/r/sub/deep.txt", "deep");
        Write("resources/other/meta.xml", "<meta/>");
        Run("ln -s ../../outside/secret.txt resources/r/link.txt");
        Run("ln -s ../../outside resources/r/linkdir");
        Run("ln -s sub/deep.txt resources/r/inner.txt");
        Write("packed/meta.xml", "<meta/>");
        Write("packed/in.txt", "archived");
        Run("tar -cf resources/arc.tar -C packed meta.xml in.txt");
        m_pManager->RefreshResources(false);
    }
    bool CanRead(const char* resource, const char* path) { return Find(resource)->OpenFile(path, false) != nullptr; }
};

TEST_F(ResourceFileAccessTest, EscapesAreNeverOpened) {
    const char* const escapes[] = {
        "/server.xml", "../../server.xml", "../other/meta.xml", "sub/../../other/meta.xml", "..\\other\\meta.xml",
        "link.txt", "linkdir/secret.txt", "",
    };
    for (const char* path : escapes) {
        EXPECT_FALSE(CanRead("r", path)) << path;
        EXPECT_FALSE(Find("r")->OpenFile(path, true)) << path;
        EXPECT_FALSE(Find("r")->CreateFile(path)) << path;
        EXPECT_FALSE(Find("r")->FileExists(path, true, true)) << path;
    }
    EXPECT_EQ(Read("outside/secret.txt"), "secret");
    // Nothing decodes percent escapes: such names are plain names inside the resource.
    for (const char* encoded : {"%2e%2e/other/meta.xml", "..%2fother%2fmeta.xml"}) {
        EXPECT_FALSE(CanRead("r", encoded)) << encoded;
        EXPECT_TRUE(Find("r")->CreateFile(encoded)) << encoded;
        EXPECT_TRUE(Exists(std::string("resources/r/") + encoded)) << encoded;
    }
    EXPECT_EQ(Read("resources/other/meta.xml"), "<meta/>");
    EXPECT_TRUE(CanRead("r", "own.txt"));
    EXPECT_TRUE(CanRead("r", "sub/deep.txt"));
    EXPECT_TRUE(CanRead("r", "inner.txt"));  // a link that stays inside is fine
    EXPECT_TRUE(Find("r")->FileExists("sub", false, true));
    EXPECT_FALSE(Find("r")->FileExists("sub", true, false));
}

TEST_F(ResourceFileAccessTest, ClientFilesThroughLinksOutAreRefused) {
    Write("resources/r/meta.xml", "<meta><file src='link.txt' type='client'/></meta>");
    EXPECT_FALSE(Find("r")->LoadMeta(true));
    EXPECT_TRUE(m_Log.Contains("unable to load file link.txt in resource r!"));
    EXPECT_FALSE(Exists("htdocs"));
}

TEST_F(ResourceFileAccessTest, ArchiveResourcesAreReadOnlyAndNeverFallThrough) {
    CResource* pArchive = Find("arc");
    ASSERT_TRUE(pArchive);
    Strong<Stream> pStream = pArchive->OpenFile("in.txt", false);
    ASSERT_TRUE(pStream);
    char text[16] = {};
    EXPECT_EQ(pStream->Read(text, sizeof(text)), 8u);
    EXPECT_STREQ(text, "archived");
    // "server.xml" exists in the server folder; an archive resource must not reach it.
    EXPECT_FALSE(pArchive->OpenFile("server.xml", false));
    EXPECT_FALSE(pArchive->OpenFile("in.txt", true));
    EXPECT_FALSE(pArchive->OpenFile("server.xml", true));
    EXPECT_FALSE(pArchive->CreateFile("new.txt"));
    EXPECT_FALSE(pArchive->FileExists("server.xml", true, true));
    EXPECT_TRUE(pArchive->FileExists("in.txt", true, false));
    EXPECT_FALSE(Exists("new.txt"));
}

TEST_F(ResourceFileAccessTest, WritingStaysInTheResourceFolder) {
    Strong<Stream> pCreated = Find("r")->CreateFile("made/new.txt");
    ASSERT_TRUE(pCreated);
    EXPECT_EQ(pCreated->Write("x", 1), 1u);
    pCreated.Reset();
    EXPECT_EQ(Read("resources/r/made/new.txt"), "x");
    EXPECT_TRUE(Find("r")->OpenFile("own.txt", true));
}

}  // namespace
