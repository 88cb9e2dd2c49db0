// bcrypt through libxcrypt, salts from OpenSSL, and the constant-time password check.
#include "Engine/Password.h"
#include <crypt.h>
#include <openssl/crypto.h>
#include <openssl/rand.h>
#include <cstring>
#include <memory>
#include <string_view>

namespace Ferrox3D {

namespace {
constexpr size_t BCRYPT_SALT_CHARS = 22;
constexpr unsigned BCRYPT_COST_MIN = 4;
constexpr unsigned BCRYPT_COST_MAX = 30;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The form rules of a bcrypt salt or string: "$2$" or "$2a$", two cost digits within the
// accepted range, "$", then at least 22 characters.
bool IsBcryptForm(std::string_view s) {
    if (s.size() < 3 || s[0] != '$' || s[1] != '2')
        return false;
    size_t costAt = s[2] == '$' ? 3 : (s[2] == 'a' && s.size() > 3 && s[3] == '$') ? 4 : 0;
    if (costAt == 0 || s.size() < costAt + 3 || !IsDigit(s[costAt]) || !IsDigit(s[costAt + 1]) ||
        s[costAt + 2] != '$')
        return false;
    unsigned cost = static_cast<unsigned>((s[costAt] - '0') * 10 + (s[costAt + 1] - '0'));
    return cost >= BCRYPT_COST_MIN && cost <= BCRYPT_COST_MAX && s.size() - (costAt + 3) >= BCRYPT_SALT_CHARS;
}

// Compares over the longer length without stopping at the first difference.
bool ConstantTimeEquals(std::string_view a, std::string_view b) {
    size_t length = a.size() > b.size() ? a.size() : b.size();
    unsigned char diff = a.size() != b.size();
    for (size_t i = 0; i < length; ++i) {
        unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= x ^ y;
    }
    return diff == 0;
}

void WriteFailure(char* output, size_t outputSize) {
    if (outputSize >= 2)
        memcpy(output, ":", 2);
    else if (outputSize == 1)
        output[0] = '\0';
}
}  // namespace

namespace BCrypt {

void bcrypt(const char* key, const char* salt, char* output, size_t outputSize) {
    if (!output || outputSize == 0)
        return;
    if (!key || !salt || !IsBcryptForm(salt))
        return WriteFailure(output, outputSize);
    auto data = std::make_unique<crypt_data>();  // large; zeroed as crypt_r requires
    memset(data.get(), 0, sizeof(crypt_data));
    const char* result = crypt_r(key, salt, data.get());
    size_t length = result ? strlen(result) : 0;
    if (!result || result[0] != '$' || length + 1 > outputSize)
        WriteFailure(output, outputSize);  // libxcrypt's failure tokens start with "*"
    else
        memcpy(output, result, length + 1);
    OPENSSL_cleanse(data.get(), sizeof(crypt_data));
}

bool MakeSalt(char* output, size_t outputSize, unsigned cost) {
    unsigned char random[BCRYPT_SALT_BYTES];
    if (RAND_bytes(random, sizeof(random)) != 1)
        return false;
    bool ok = crypt_gensalt_rn("$2a$", cost, reinterpret_cast<const char*>(random), sizeof(random), output,
                               static_cast<int>(outputSize)) != nullptr;
    OPENSSL_cleanse(random, sizeof(random));
    return ok && IsBcryptForm(output);
}

}  // namespace BCrypt

bool CPasswordRecord::Set(const char* clearText) {
    if (!clearText || !*clearText) {
        Clear();
        return true;
    }
    char salt[BCRYPT_OUTPUT_SIZE];
    char hash[BCRYPT_OUTPUT_SIZE];
    if (!BCrypt::MakeSalt(salt, sizeof(salt)))
        return false;
    BCrypt::bcrypt(clearText, salt, hash, sizeof(hash));
    size_t length = strlen(hash);
    if (!IsBcryptForm(hash) || length + 2 > sizeof(m_Text))
        return false;
    m_Text[0] = PASSWORD_TAG_BCRYPT;
    memcpy(m_Text + 1, hash, length + 1);
    m_Length = length + 1;
    OPENSSL_cleanse(hash, sizeof(hash));
    return true;
}

void CPasswordRecord::Clear() {
    OPENSSL_cleanse(m_Text, sizeof(m_Text));
    m_Length = 0;
}

bool CPasswordRecord::Verify(const char* clearText) const { return IsSet() && VerifyPassword(clearText, m_Text); }

bool MakePasswordRecord(const char* clearText, std::string& record) {
    CPasswordRecord made;
    if (!made.Set(clearText))
        return false;
    record.assign(made.GetText(), made.GetLength());
    return true;
}

bool VerifyPassword(const char* clearText, const char* storedText) {
    if (!clearText || !storedText || storedText[0] != PASSWORD_TAG_BCRYPT)
        return false;
    std::string_view stored(storedText + 1);
    if (!IsBcryptForm(stored))
        return false;
    char computed[BCRYPT_OUTPUT_SIZE];
    BCrypt::bcrypt(clearText, stored.data(), computed, sizeof(computed));
    bool match = ConstantTimeEquals(computed, stored);
    OPENSSL_cleanse(computed, sizeof(computed));
    return match;
}

}  // namespace Ferrox3D
