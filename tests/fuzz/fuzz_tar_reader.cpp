// Fuzzes the TAR reader: headers, extension records and the tree, then opens every member.
#include <cstddef>
#include <cstdint>
#include "Engine/TarArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace Ferrox3D;
    CMemoryStream stream(data, size);
    CTARArchive archive;
    if (!archive.Read(&stream))
        return 0;
    for (const auto& record : archive.GetRecords()) {
        Strong<Stream> member = archive.Open(record.m_Name.c_str(), false);
        uint8_t buffer[64];
        if (member)
            member->Read(buffer, sizeof(buffer));
        archive.Exists(record.m_Name.c_str(), true, true);
    }
    archive.Enumerate("", [](const CFileMgr::tDirectoryEntry&) { return true; });
    return 0;
}
