// Log file lines and banners.
#include "Engine/FileLog.h"
#include <sys/utsname.h>
#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace Ferrox3D {

namespace {
const char* const DASH_LINE = "------------------------------------------------------------";
const unsigned char UTF8_BOM[] = {0xEF, 0xBB, 0xBF};
}  // namespace

const char* LogFilePrefix(eLogType level) {
    switch (level) {
    case LOGTYPE_VERBOSE: return "[VERBOSE] ";
    case LOGTYPE_DEBUG: return "[DEBUG]   ";
    case LOGTYPE_INFO: return "[INFO]    ";
    case LOGTYPE_WARN: return "[WARN]    ";
    case LOGTYPE_ERROR: return "[ERROR]   ";
    case LOGTYPE_CRITICAL: return "[CRITICAL]";
    default: return "";
    }
}

CFileLog::~CFileLog() { Close(); }

void CFileLog::SetTimestampFormat(const char* format) {
    m_TimestampFormat.assign(format ? format : "");
    if (m_TimestampFormat.size() > LOG_TIMESTAMP_FORMAT_MAX)
        m_TimestampFormat.resize(LOG_TIMESTAMP_FORMAT_MAX);
}

void CFileLog::Open(Stream* pStream) {
    Close();
    if (!pStream)
        return;
    m_pStream = pStream;
    m_pStream->Seek(0, SEEK_ORIGIN_END);
    utsname system{};
    uname(&system);
    Print("%s", DASH_LINE);
    Print("--------------------- Logging Started ----------------------");
    Print("%s", DASH_LINE);
    Print("Ferrox %d.%d.%d", 1, 2, 0);
    Print("Platform: %s", "Linux");
    Print("%s %s", system.sysname, system.machine);
    Print("%s", DASH_LINE);
}

void CFileLog::Close() {
    if (!IsOpen())
        return;
    Print("%s", DASH_LINE);
    Print("---------------------- Logging Ended -----------------------");
    Print("%s", DASH_LINE);
    m_pStream.Reset();
}

std::string CFileLog::FormatTimestamp() const {
    if (m_TimestampFormat.empty())
        return std::string();
    time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    char buffer[LOG_TIMESTAMP_BUFFER];
    size_t length = strftime(buffer, sizeof(buffer), m_TimestampFormat.c_str(), &local);
    return "<" + std::string(buffer, length) + "> ";
}

void CFileLog::WriteToLog(eLogType level, const char* text) {
    if (!IsOpen())
        return;
    std::string line = FormatTimestamp();
    if (level > LOGTYPE_NONE)
        line += LogFilePrefix(level);
    line += text;
    line += "\r\n";
    WriteBytes(line);
}

void CFileLog::Print(const char* format, ...) {
    char buffer[LOG_MESSAGE_BUFFER];
    va_list args;
    va_start(args, format);
    int written = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written >= 0)
        WriteToLog(LOGTYPE_NONE, buffer);
}

void CFileLog::WriteBytes(const std::string& bytes) {
    if (m_pStream->Tell() == 0 && m_pStream->GetLength() == 0)
        m_pStream->Write(UTF8_BOM, sizeof(UTF8_BOM));
    m_pStream->Write(bytes.data(), bytes.size());
    // Flushed per line so a crash keeps everything logged before it.
    if (auto* pFile = dynamic_cast<CStandardStream*>(m_pStream.Get()))
        pFile->Flush();
}

}  // namespace Ferrox3D
