// The virtual file system: a folder root over an archive root, folder mounts, the built-in archive.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "Engine/BuiltinArchive.h"
#include "Engine/FileSystem.h"
#include "Engine/MountedPath.h"
#include "Engine/TarArchive.h"
#include "StreamText.h"
#include "TempFolder.h"

using namespace Ferrox3D;

namespace {
std::string Content(CVirtualFileMgr& fs, const char* path) {
    Strong<Stream> s = fs.Open(path, false);
    return s ? ReadAll(s) : "<missing>";
}

std::set<std::string> List(CVirtualFileMgr& fs, const char* path, bool* pResult = nullptr) {
    std::set<std::string> names;
    bool result = fs.Enumerate(path, [&](const CFileMgr::tDirectoryEntry& e) {
        names.insert(std::string(e.m_pDirectory) + "|" + e.m_pName + (e.m_bDirectory ? "/" : ""));
        return true;
    });
    if (pResult)
        *pResult = result;
    return names;
}

// A folder root with an archive root behind it.
struct tLayered {
    TempFolder folder;
    CFileSystem fs;
    tLayered() {
        folder.Write("shared.txt", "from folder");
        folder.Write("only/folder.txt", "f");
        TempFolder src;
        src.Write("shared.txt", "from archive");
        src.Write("only/archive.txt", "a");
        src.Write("packed/inner.txt", "i");
        std::string command = "tar --format=ustar -cf '" + src.Path("a.tar") + "' -C '" + src.Root() +
                              "' shared.txt only packed";
        EXPECT_EQ(system(command.c_str()), 0);
        auto archive = std::make_unique<CTARArchive>();
        Strong<Stream> file = Strong<Stream>::Adopt(CStandardStream::Open(src.Path("a.tar").c_str(), "rb"));
        EXPECT_TRUE(archive->Read(file));
        fs.Mount(std::make_unique<CMountedPath>(folder.Root()));
        fs.Mount(std::move(archive));
    }
};
}  // namespace

TEST(FileSystem, FolderHidesArchiveAndPathsMayOmitTheSlash) {
    tLayered l;
    EXPECT_EQ(Content(l.fs, "shared.txt"), "from folder");
    EXPECT_EQ(Content(l.fs, "/shared.txt"), "from folder");
    EXPECT_EQ(Content(l.fs, "packed/inner.txt"), "i");
    EXPECT_EQ(Content(l.fs, "missing.txt"), "<missing>");
    EXPECT_TRUE(l.fs.Exists("packed", false, true));
    EXPECT_FALSE(l.fs.Exists("packed", true, false));
    EXPECT_FALSE(l.fs.Exists("only", true, false));
}

TEST(FileSystem, EnumerationMergesRootsOnce) {
    tLayered l;
    EXPECT_EQ(List(l.fs, "only"), (std::set<std::string>{"/only|folder.txt", "/only|archive.txt"}));
    EXPECT_EQ(List(l.fs, "/packed"), (std::set<std::string>{"/packed|inner.txt"}));  // folder root lacks it
    std::set<std::string> top = List(l.fs, "");
    EXPECT_EQ(top.count("/|shared.txt"), 1u);
    EXPECT_EQ(top.size(), 3u);
    bool result = false;
    EXPECT_TRUE(List(l.fs, "nowhere", &result).empty());
    EXPECT_TRUE(result);
    // The caller stopping the walk makes it fail.
    EXPECT_FALSE(l.fs.Enumerate("only", [](const CFileMgr::tDirectoryEntry&) { return false; }));
}

TEST(FileSystem, CreateAndOpenForWriting) {
    tLayered l;
    EXPECT_FALSE(l.fs.Open("new/deep/file.txt", true));  // opening to write needs an existing file
    Strong<Stream> created = l.fs.Create("new/deep/file.txt");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->Write("xyz", 3), 3u);
    created.Reset();
    EXPECT_EQ(l.folder.Read("new/deep/file.txt"), "xyz");
    Strong<Stream> rewrite = l.fs.Open("new/deep/file.txt", true);
    ASSERT_TRUE(rewrite);
    EXPECT_EQ(rewrite->Write("Q", 1), 1u);
    rewrite.Reset();
    EXPECT_EQ(l.folder.Read("new/deep/file.txt"), "Qyz");
    EXPECT_FALSE(l.fs.Open("packed/inner.txt", true));  // only in the archive
    std::string real;
    ASSERT_TRUE(l.fs.ResolvePath(real));
    EXPECT_EQ(real, l.folder.Root() + "/");
}

TEST(FileSystem, NoFolderRootMeansNoRealPath) {
    CFileSystem fs;
    std::string real = "untouched";
    EXPECT_FALSE(fs.ResolvePath(real));
    fs.Mount(std::make_unique<CMountedPath>("/no/such/folder/anywhere"));
    EXPECT_FALSE(fs.ResolvePath(real));
    bool result = false;
    EXPECT_TRUE(List(fs, "x", &result).empty());
    EXPECT_TRUE(result);
}

TEST(FileSystem, BuiltinArchiveCarriesEveryGamesColourTable) {
    tBuiltinArchive builtin = GetBuiltinArchive();
    CTARArchive archive;
    ASSERT_TRUE(archive.Read(Strong<Stream>::Adopt(new CMemoryStream(builtin.m_pData, builtin.m_Size))));
    for (const char* path : {"/vehiclecolours.conf", "/vehiclecolours_b.conf", "/vehiclecolours_c.conf",
                             "/vehiclecolours_d.conf"})
        EXPECT_TRUE(archive.Exists(path, true, false)) << path;
    CFileSystem fs;
    EXPECT_TRUE(fs.MountDefaultRoots());
    EXPECT_EQ(fs.GetRootCount(), 2u);
    EXPECT_NE(Content(fs, "vehiclecolours_d.conf"), "<missing>");
}

TEST(FileSystem, ExecutableFolder) {
    std::string folder = GetExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
}
