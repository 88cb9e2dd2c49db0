// CResource::UpdateHtDocs: the client files copied into the HTTP document tree under their hash names.
#include <cstdio>
#include <vector>
#include "Engine/CRC32.h"
#include "Engine/FileSystem.h"
#include "Engine/Log.h"
#include "Scripting/Resource.h"
#include "Scripting/ResourceMgr.h"

namespace Ferrox3D {

namespace {

constexpr size_t COPY_BLOCK = 1024 * 1024;

// Whether the file on disk already holds exactly these bytes (by size and CRC-32).
bool HasSameContent(const std::string& realPath, const tClientFile& file) {
    Strong<Stream> pExisting = Strong<Stream>::Adopt(CStandardStream::Open(realPath.c_str(), "rb"));
    if (!pExisting || pExisting->GetLength() != file.m_Size)
        return false;
    return CRC32Hash::GetHash(pExisting) == file.m_Checksum;
}

// Copies everything; false when a read or write came up short.
bool CopyStream(Stream* pFrom, Stream* pTo, uint64_t expected) {
    std::vector<uint8_t> buffer(COPY_BLOCK);
    uint64_t total = 0;
    while (size_t got = pFrom->Read(buffer.data(), buffer.size())) {
        if (pTo->Write(buffer.data(), got) != got)
            return false;
        total += got;
    }
    return total == expected;
}

}  // namespace

// A download in progress never sees a half-written file: a changed file is written under a
// temporary name and renamed over the old one; an unchanged one is left alone.
void CResource::UpdateHtDocs() {
    CFileSystem* pFileSystem = m_pManager ? m_pManager->GetFileSystem() : nullptr;
    std::string base;
    if (!pFileSystem || !pFileSystem->ResolvePath(base))
        return;
    std::string folder = base + "htdocs/resources/" + m_Name + "/";
    for (const tClientFile& file : m_ClientFiles) {
        std::string target = folder + file.m_HashName;
        if (HasSameContent(target, file))
            continue;
        Strong<Stream> pSource = OpenFile(file.m_Name.c_str(), false);
        if (!pSource)
            continue;
        std::string temporary = target + ".tmp";
        Strong<Stream> pCopy = CFileMgr::Create(temporary);
        if (!pCopy)
            continue;
        auto* pFile = dynamic_cast<CStandardStream*>(pCopy.Get());
        bool copied = CopyStream(pSource, pCopy, file.m_Size) && (!pFile || pFile->Flush());
        pCopy.Reset();
        if (!copied || rename(temporary.c_str(), target.c_str()) != 0) {
            LogError("unable to publish file %s of resource %s!", file.m_Name.c_str(), m_Name.c_str());
            remove(temporary.c_str());
        }
    }
}

}  // namespace Ferrox3D
