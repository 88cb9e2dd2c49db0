// Digests through OpenSSL's EVP interface, fed from memory or streams.
#include "Engine/Hashes.h"
#include <openssl/evp.h>
#include "Engine/Stream.h"

namespace Ferrox3D {

namespace {
constexpr size_t STREAM_PIECE = 1024;
}

struct CDigest::tContext {
    EVP_MD_CTX* m_pCtx = EVP_MD_CTX_new();
    bool m_bGood = false;
    ~tContext() { EVP_MD_CTX_free(m_pCtx); }
};

CDigest::CDigest(const void* algorithm) : m_pContext(std::make_unique<tContext>()) {
    m_pContext->m_bGood =
        m_pContext->m_pCtx && EVP_DigestInit_ex(m_pContext->m_pCtx, static_cast<const EVP_MD*>(algorithm), nullptr) == 1;
}

CDigest::~CDigest() = default;

void CDigest::Add(const void* data, size_t length) {
    if (m_pContext->m_bGood && length)
        m_pContext->m_bGood = EVP_DigestUpdate(m_pContext->m_pCtx, data, length) == 1;
}

bool CDigest::AddStream(Stream* pStream) {
    uint8_t piece[STREAM_PIECE];
    while (size_t got = pStream->Read(piece, sizeof(piece)))
        Add(piece, got);
    return m_pContext->m_bGood;
}

bool CDigest::FinishInto(uint8_t* digest, size_t size) {
    unsigned int written = 0;
    bool ok = m_pContext->m_bGood && EVP_DigestFinal_ex(m_pContext->m_pCtx, digest, &written) == 1 && written == size;
    m_pContext->m_bGood = false;
    return ok;
}

CMD5Hash::CMD5Hash() : CDigest(EVP_md5()) {}
CSHA256::CSHA256() : CDigest(EVP_sha256()) {}

std::string ToHex(const uint8_t* bytes, size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 0x0F];
    }
    return hex;
}

std::string ClientFileHashName(const char* fileName) {
    std::string folded = fileName ? fileName : "";
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    CSHA256 sha;
    sha.Add(folded.data(), folded.size());
    uint8_t digest[CSHA256::DIGEST_SIZE];
    return sha.Finish(digest) ? ToHex(digest, sizeof(digest)) : std::string();
}

bool MD5OfStream(Stream* pStream, uint8_t (&digest)[CMD5Hash::DIGEST_SIZE]) {
    CMD5Hash md5;
    return pStream && md5.AddStream(pStream) && md5.Finish(digest);
}

}  // namespace Ferrox3D
