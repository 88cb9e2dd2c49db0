// MD5 (game file digests) and SHA-256 (published names of client files), through OpenSSL.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Ferrox3D {

class Stream;

// One running digest of a fixed algorithm; Finish may be called once.
class CDigest {
public:
    ~CDigest();
    CDigest(const CDigest&) = delete;
    CDigest& operator=(const CDigest&) = delete;
    void Add(const void* data, size_t length);
    // Feeds the stream from its position to its end.
    bool AddStream(Stream* pStream);

protected:
    explicit CDigest(const void* algorithm);
    bool FinishInto(uint8_t* digest, size_t size);

private:
    struct tContext;
    std::unique_ptr<tContext> m_pContext;
};

class CMD5Hash : public CDigest {
public:
    static constexpr size_t DIGEST_SIZE = 16;
    CMD5Hash();
    bool Finish(uint8_t (&digest)[DIGEST_SIZE]) { return FinishInto(digest, DIGEST_SIZE); }
};

class CSHA256 : public CDigest {
public:
    static constexpr size_t DIGEST_SIZE = 32;
    CSHA256();
    bool Finish(uint8_t (&digest)[DIGEST_SIZE]) { return FinishInto(digest, DIGEST_SIZE); }
};

// Upper-case hexadecimal digits of bytes, in order.
std::string ToHex(const uint8_t* bytes, size_t count);

// The name a client file is published under over HTTP: SHA-256 of the name with ASCII
// letters lower-cased, as 64 upper-case hexadecimal digits.
std::string ClientFileHashName(const char* fileName);

// MD5 of a stream from its position to its end (game file checks); false on a read failure.
bool MD5OfStream(Stream* pStream, uint8_t (&digest)[CMD5Hash::DIGEST_SIZE]);

}  // namespace Ferrox3D
