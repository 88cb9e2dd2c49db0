// The handshake's password check against bcrypt records.
#include <gtest/gtest.h>
#include <crypt.h>
#include "Server/ServerPassword.h"

TEST(ServerPassword, VerifiesBcryptRecords) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    ASSERT_NE(crypt_gensalt_rn("$2a$", 4, nullptr, 0, salt, sizeof(salt)), nullptr);
    crypt_data data{};
    const char* hashed = crypt_rn("letmein", salt, &data, sizeof(data));
    ASSERT_NE(hashed, nullptr);
    std::string record = std::string("b") + hashed;
    EXPECT_TRUE(VerifyServerPassword("letmein", record));
    EXPECT_FALSE(VerifyServerPassword("letmeout", record));
    EXPECT_FALSE(VerifyServerPassword("", record));
    EXPECT_FALSE(VerifyServerPassword("letmein", hashed));  // without the record's "b"
    EXPECT_FALSE(VerifyServerPassword("letmein", "b"));
}
