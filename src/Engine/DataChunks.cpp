// Payloads of the byte-carrying chunk types.
#include "Engine/DataChunks.h"
#include "Engine/BinaryIO.h"

namespace Ferrox3D {

namespace {
// The window given to ReadData holds exactly the payload, so its length bounds the buffer.
bool ReadAll(Stream* pStream, std::string& out) {
    uint64_t length = pStream->Remaining();
    out.assign(length, '\0');
    return length == 0 || pStream->Read(out.data(), length) == length;
}
}  // namespace

bool CDataChunk::ReadData(Stream* pStream) {
    std::string bytes;
    if (!ReadAll(pStream, bytes))
        return false;
    m_Data.assign(bytes.begin(), bytes.end());
    return true;
}

bool CDataChunk::WriteData(Stream* pStream) const {
    return m_Data.empty() || pStream->Write(m_Data.data(), m_Data.size()) == m_Data.size();
}

bool CHistoryChunk::ReadData(Stream* pStream) { return ReadAll(pStream, m_Text); }

bool CHistoryChunk::WriteData(Stream* pStream) const {
    return m_Text.empty() || pStream->Write(m_Text.data(), m_Text.size()) == m_Text.size();
}

bool CTextureChunk::ReadData(Stream* pStream) {
    if (pStream->Remaining() == 0) {
        m_Format = m_Field2 = 0;
        m_Width = m_Height = m_Field5 = 0;
        return true;
    }
    CBinaryReader reader(pStream);
    return reader.ReadUInt16(m_Format) && reader.ReadUInt16(m_Field2) && reader.ReadUInt32(m_Width) &&
           reader.ReadUInt32(m_Height) && reader.ReadUInt32(m_Field5);
}

bool CTextureChunk::WriteData(Stream* pStream) const {
    CBinaryWriter writer(pStream);
    return writer.WriteUInt16(m_Format) && writer.WriteUInt16(m_Field2) && writer.WriteUInt32(m_Width) &&
           writer.WriteUInt32(m_Height) && writer.WriteUInt32(m_Field5);
}

}  // namespace Ferrox3D
