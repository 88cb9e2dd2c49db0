// Password records: bcrypt strings agree with libxcrypt's published vectors and records made
// by Python's crypt module; form rules; fresh salts.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "Engine/Password.h"

using namespace Ferrox3D;

namespace {
struct tVector {
    const char* clear;
    const char* hash;
};
// Published crypt_blowfish vectors (cost 5) and records made offline with Python's crypt (cost 10).
const tVector KNOWN[] = {
    {"U*U", "$2a$05$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW"},
    {"U*U*", "$2a$05$CCCCCCCCCCCCCCCCCCCCC.VGOzA784oUp/Z0DY336zx7pLYAy0lwK"},
    {"U*U*U", "$2a$05$XXXXXXXXXXXXXXXXXXXXXOAcXxm9kjPGEMsLznoKqmqw7tc8WCx4a"},
    {"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789chars after 72 are ignored",
     "$2a$05$abcdefghijklmnopqrstuu5s2v8.iXieOjg/.AySBTTZIIVFJeBui"},
    {"hunter2", "$2a$10$nDRZ90phY1vuja0OkDuro.xv2VHS28Lg/PmS7eNkXGFYWEvk7TI5O"},
    {"p\xC3\xA4ssw\xC3\xB6rd", "$2a$10$8fZdeZEKFFm2WhrO4m0WfecWyFhZaUdoG0.hU0cBEDC6X6R2CiibK"},
};

std::string Record(const char* hash) { return std::string("b") + hash; }
}  // namespace

TEST(Password, KnownHashesVerify) {
    for (const tVector& v : KNOWN) {
        char out[BCRYPT_OUTPUT_SIZE];
        BCrypt::bcrypt(v.clear, v.hash, out, sizeof(out));
        EXPECT_STREQ(out, v.hash) << v.clear;
        EXPECT_TRUE(VerifyPassword(v.clear, Record(v.hash).c_str())) << v.clear;
        EXPECT_FALSE(VerifyPassword("wrong", Record(v.hash).c_str())) << v.clear;
    }
}

TEST(Password, MalformedRecordsNeverVerify) {
    const std::string good = "$2a$05$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW";
    const struct {
        const char* name;
        std::string stored;
    } cases[] = {
        {"no tag", good},
        {"other tag", "x" + good},
        {"revision b", "b$2b$05$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW"},
        {"revision 3", "b$3a$05$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW"},
        {"cost 3", "b$2a$03$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW"},
        {"cost 31", "b$2a$31$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW"},
        {"one cost digit", "b$2a$5$CCCCCCCCCCCCCCCCCCCCC.E5YPO9kmyuRGyh0XouQYb4YMJKvyOeW"},
        {"short salt", "b$2a$05$CCCCCCCCCCCC"},
        {"truncated hash", "b" + good.substr(0, good.size() - 1)},
        {"empty", ""},
        {"tag only", "b"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(VerifyPassword("U*U", c.stored.c_str())) << c.name;
    EXPECT_FALSE(VerifyPassword(nullptr, ("b" + good).c_str()));
    EXPECT_FALSE(VerifyPassword("U*U", nullptr));
}

TEST(Password, BadSaltGivesColon) {
    char out[BCRYPT_OUTPUT_SIZE];
    BCrypt::bcrypt("x", "$2a$10$short", out, sizeof(out));
    EXPECT_STREQ(out, ":");
    BCrypt::bcrypt("x", "$1$abcdefgh$", out, sizeof(out));
    EXPECT_STREQ(out, ":");
}

TEST(Password, RecordsUseFreshSaltsAndVerify) {
    CPasswordRecord first, second;
    ASSERT_TRUE(first.Set("changeme"));
    ASSERT_TRUE(second.Set("changeme"));
    EXPECT_EQ(first.GetLength(), 61u);
    EXPECT_EQ(std::string(first.GetText()).substr(0, 8), "b$2a$10$");
    EXPECT_STRNE(first.GetText(), second.GetText());
    EXPECT_TRUE(first.Verify("changeme"));
    EXPECT_TRUE(second.Verify("changeme"));
    EXPECT_FALSE(first.Verify("changeme "));
    EXPECT_FALSE(first.Verify(""));
}

TEST(Password, RecordTextForTheConfiguration) {
    std::string record = "old";
    ASSERT_TRUE(MakePasswordRecord("pw", record));
    EXPECT_EQ(record.size(), 61u);
    EXPECT_TRUE(VerifyPassword("pw", record.c_str()));
    ASSERT_TRUE(MakePasswordRecord("", record));
    EXPECT_EQ(record, "");
}

TEST(Password, EmptyTextClearsTheRecord) {
    CPasswordRecord record;
    ASSERT_TRUE(record.Set("secret"));
    ASSERT_TRUE(record.Set(""));
    EXPECT_FALSE(record.IsSet());
    EXPECT_EQ(record.GetLength(), 0u);
    EXPECT_EQ(record.GetText()[0], '\0');
    EXPECT_FALSE(record.Verify(""));
}

// Python's crypt module (libxcrypt) accepts what we make.
TEST(Password, PythonVerifiesOurRecords) {
    if (system("python3 -W ignore -c 'import crypt' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 crypt module not available";
    CPasswordRecord record;
    ASSERT_TRUE(record.Set("open sesame"));
    std::string hash = record.GetText() + 1;
    std::string command =
        "python3 -W ignore -c 'import crypt,sys; sys.exit(crypt.crypt(\"open sesame\", sys.argv[1]) != sys.argv[1])' '" +
        hash + "'";
    EXPECT_EQ(system(command.c_str()), 0);
}
