// TAR archives made by GNU tar (ustar, gnu, pax) and by hand: names, truncation, tree rules.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include "Engine/TarArchive.h"
#include "Engine/TarHeader.h"
#include "StreamText.h"
#include "TempFolder.h"

using namespace Ferrox3D;

namespace {
void Put(std::string& block, size_t at, const std::string& text) { block.replace(at, text.size(), text); }

// One ustar header block with a valid checksum, then the data padded to whole blocks.
std::string Member(const std::string& name, const std::string& data, char type = '0', const std::string& prefix = "") {
    std::string block(TAR_BLOCK_SIZE, '\0');
    Put(block, 0, name.substr(0, 100));
    Put(block, 100, "0000644");
    char field[16];
    snprintf(field, sizeof(field), "%011llo", static_cast<unsigned long long>(data.size()));
    Put(block, 124, field);
    Put(block, 136, "00000000000");
    block[156] = type;
    Put(block, 257, std::string("ustar\0" "00", 8));
    Put(block, 345, prefix);
    Put(block, 148, "        ");
    unsigned sum = 0;
    for (unsigned char c : block)
        sum += c;
    snprintf(field, sizeof(field), "%06o", sum);
    Put(block, 148, std::string(field, 6) + '\0');
    std::string padded = data;
    padded.resize((data.size() + TAR_BLOCK_SIZE - 1) / TAR_BLOCK_SIZE * TAR_BLOCK_SIZE, '\0');
    return block + padded;
}
const std::string END(2 * TAR_BLOCK_SIZE, '\0');

struct tArchive {
    std::string bytes;
    Strong<Stream> stream;
    CTARArchive archive;
    bool ok;
    explicit tArchive(std::string b) : bytes(std::move(b)) {
        stream = Strong<Stream>::Adopt(new CMemoryStream(bytes.data(), bytes.size()));
        ok = archive.Read(stream);
    }
    std::string Content(const char* path) {
        Strong<Stream> s = archive.Open(path, false);
        return s ? ReadAll(s) : "<missing>";
    }
    std::set<std::string> List(const char* path) {
        std::set<std::string> names;
        archive.Enumerate(path, [&](const CFileMgr::tDirectoryEntry& e) {
            names.insert(std::string(e.m_pName) + (e.m_bDirectory ? "/" : ""));
            return true;
        });
        return names;
    }
};

std::string LongPath(size_t length) {
    std::string path;
    while (path.size() + 20 < length)
        path += "segment_of_sixteen/";
    path += std::string(length - path.size(), 'f');
    return path;
}
}  // namespace

class GnuTarFormats : public ::testing::TestWithParam<const char*> {};

TEST_P(GnuTarFormats, MembersNamesAndContents) {
    const std::string format = GetParam();
    TempFolder tmp;
    // ustar holds paths up to 256 bytes (prefix + name); gnu and pax go beyond.
    const std::string longPath = LongPath(format == "ustar" ? 200 : 300);
    tmp.Write("src/a.txt", "alpha");
    tmp.Write("src/dir/b.txt", "beta");
    tmp.Write("src/dir/empty.txt", "");
    tmp.Write("src/" + longPath, "long");
    std::string command = "tar --format=" + format + " -cf '" + tmp.Path("out.tar") + "' -C '" + tmp.Path("src") +
                          "' . 2>/dev/null";
    ASSERT_EQ(system(command.c_str()), 0) << command;
    tArchive t(tmp.Read("out.tar"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.Content("a.txt"), "alpha");  // stored as "./a.txt"
    EXPECT_EQ(t.Content("/dir/b.txt"), "beta");
    EXPECT_EQ(t.Content("dir/empty.txt"), "");
    EXPECT_EQ(t.Content(longPath.c_str()), "long") << longPath.size();
    EXPECT_EQ(t.List(""), (std::set<std::string>{"a.txt", "dir/", "segment_of_sixteen/"}));
    EXPECT_EQ(t.List("/dir"), (std::set<std::string>{"b.txt", "empty.txt"}));
    EXPECT_TRUE(t.archive.Exists("dir", false, true));
    EXPECT_FALSE(t.archive.Exists("dir", true, false));
    EXPECT_FALSE(t.archive.Exists("a.txt/x", true, true));
}

INSTANTIATE_TEST_SUITE_P(Tar, GnuTarFormats, ::testing::Values("ustar", "gnu", "pax"));

TEST(TarArchive, TruncatedArchivesAreRefused) {
    const std::string whole = Member("a.txt", std::string(700, 'x')) + Member("b.txt", "bee") + END;
    ASSERT_TRUE(tArchive(whole).ok);
    // Cut inside a header or inside member data; cutting at a block boundary between members
    // only loses the later members.
    for (size_t cut : {100ul, 600ul, 1024ul + 100, 1536ul + 1, 1536ul + 511}) {
        tArchive t(whole.substr(0, cut));
        EXPECT_FALSE(t.ok) << cut;
        EXPECT_TRUE(t.archive.GetRecords().empty()) << cut;
    }
}

TEST(TarArchive, BadChecksumEmptiesTheArchive) {
    std::string bytes = Member("a.txt", "x") + END;
    bytes[0] = 'b';
    tArchive t(bytes);
    EXPECT_FALSE(t.ok);
    EXPECT_FALSE(t.archive.Exists("a.txt", true, true));
}

TEST(TarArchive, ReadingStopsAtTheFirstZeroBlock) {
    tArchive t(Member("a", "1") + END + "garbage that is no header" + std::string(600, '\x7f'));
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(t.Content("a"), "1");
}

TEST(TarArchive, TreeRules) {
    tArchive t(Member("f", "file") + Member("f/below", "hidden") + Member("twice", "first") +
               Member("twice", "second") + Member("name.txt", "split", '0', "pre/fix") +
               Member("onlydir/", "", '5') + Member("link", "", '2') + END);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.Content("f"), "file");
    EXPECT_EQ(t.Content("f/below"), "<missing>");
    EXPECT_EQ(t.Content("twice"), "first");
    EXPECT_EQ(t.Content("pre/fix/name.txt"), "split");
    EXPECT_FALSE(t.archive.Exists("onlydir", false, true));  // directory records add no nodes
    EXPECT_FALSE(t.archive.Exists("link", true, true));
    EXPECT_EQ(t.Content("pre//fix/name.txt"), "<missing>");
    EXPECT_FALSE(t.archive.Enumerate("missing", [](const CFileMgr::tDirectoryEntry&) { return true; }));
}

TEST(TarArchive, ReadOnly) {
    tArchive t(Member("a", "1") + END);
    EXPECT_FALSE(t.archive.Open("a", true));
    EXPECT_FALSE(t.archive.Create("a"));
    EXPECT_FALSE(t.archive.Create("new"));
}

TEST(TarArchive, ExtensionHeaders) {
    const std::string longName(400, 'n');
    tArchive gnu(Member("././@LongLink", longName + '\0', 'L') + Member("short", "g") + END);
    EXPECT_EQ(gnu.Content(longName.c_str()), "g");

    const std::string record = "path=pax/" + longName + "\n";
    std::string pax = std::to_string(record.size() + 4) + " " + record;
    ASSERT_EQ(pax.size(), record.size() + 4);
    tArchive p(Member("PaxHeaders/x", pax, 'x') + Member("cut", "p") + END);
    EXPECT_EQ(p.Content(("pax/" + longName).c_str()), "p");
    EXPECT_EQ(p.Content("cut"), "<missing>");

    // A long name beyond the limit is not cut to fit: its member is skipped.
    tArchive tooLong(Member("././@LongLink", std::string(TAR_LONG_NAME_MAX + 1, 'z'), 'L') + Member("x", "1") +
                     Member("y", "2") + END);
    EXPECT_TRUE(tooLong.ok);
    EXPECT_EQ(tooLong.Content("x"), "<missing>");
    EXPECT_EQ(tooLong.Content("y"), "2");
}

TEST(TarHeader, PathNormalising) {
    EXPECT_EQ(NormaliseTarPath("./a/b"), "a/b");
    EXPECT_EQ(NormaliseTarPath("././/a"), "a");
    EXPECT_EQ(NormaliseTarPath("."), "");
    EXPECT_EQ(NormaliseTarPath("a/./b"), "a/./b");
}

TEST(TarArchive, HeadersOfNoKeptMemberLeavePendingNamesAlone) {
    const std::string longName(300, 'k');
    const std::string pax = "11 size=3\n";
    tArchive t(Member("././@LongLink", longName + '\0', 'L') + Member("././@LongLink", "target", 'K') +
               Member("short", "abc") + Member("PaxHeaders/g", pax, 'g') + Member("after", "z") + END);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.Content(longName.c_str()), "abc");
    EXPECT_EQ(t.Content("after"), "z");  // a global header's size does not apply
}
