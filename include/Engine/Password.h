// Password records: bcrypt hashes of the server and remote console passwords, and their check.
#pragma once
#include <cstddef>
#include <string>

namespace Ferrox3D {

constexpr size_t PASSWORD_RECORD_BUFFER = 256;  // "b", the bcrypt string and a NUL
constexpr unsigned BCRYPT_COST = 10;
constexpr size_t BCRYPT_SALT_BYTES = 16;
constexpr size_t BCRYPT_OUTPUT_SIZE = 128;      // room for any bcrypt string and a NUL
constexpr char PASSWORD_TAG_BCRYPT = 'b';

// A clear text is never kept: only "b" followed by its bcrypt string (revision 2a, cost 10).
class CPasswordRecord {
public:
    // An empty or null text clears the record. False, with the record unchanged, when no
    // salt could be drawn from the cryptographic source or hashing failed.
    bool Set(const char* clearText);
    void Clear();
    bool IsSet() const { return m_Length != 0; }
    // True when the clear text matches; false for a record that is not set.
    bool Verify(const char* clearText) const;

    const char* GetText() const { return m_Text; }
    size_t GetLength() const { return m_Length; }

private:
    size_t m_Length = 0;
    char m_Text[PASSWORD_RECORD_BUFFER] = {};
};

// The record text ("b" + bcrypt string) of a clear text; an empty or null text gives "" (no
// password). False, with the record unchanged, when the cryptographic random source fails.
bool MakePasswordRecord(const char* clearText, std::string& record);

// True when storedText is a well-formed record ("b$2a$NN$...", cost 4 to 30) and the clear
// text hashes to it. The comparison takes the same time wherever the strings differ.
bool VerifyPassword(const char* clearText, const char* storedText);

namespace BCrypt {
// The bcrypt string of key under salt (a bcrypt string or its part up to the 22 salt
// characters) into output; ":" when the salt is not of that form.
void bcrypt(const char* key, const char* salt, char* output, size_t outputSize);
// "$2a$" + cost + "$" + 22 characters from 16 bytes of OpenSSL's RAND_bytes. False when the
// random source fails; there is no weaker fallback.
bool MakeSalt(char* output, size_t outputSize, unsigned cost = BCRYPT_COST);
}  // namespace BCrypt

}  // namespace Ferrox3D
