// The log file writer: time stamp, level prefix, CR LF line ends, byte-order mark and banners.
#pragma once
#include <string>
#include "Engine/LogTypes.h"
#include "Engine/Log.h"
#include "Engine/Limits.h"
#include "Engine/Stream.h"

namespace Ferrox3D {

constexpr const char* LOG_DEFAULT_TIMESTAMP_FORMAT = "%d/%m/%Y - %X";
constexpr const char* LOG_FILE_NAME = "ServerLog.log";

// Not thread-safe on its own: the context writes through it under its log lock.
class CFileLog {
public:
    CFileLog() { SetTimestampFormat(LOG_DEFAULT_TIMESTAMP_FORMAT); }
    ~CFileLog();

    // Kept to LOG_TIMESTAMP_FORMAT_MAX characters; empty writes no time stamp.
    void SetTimestampFormat(const char* format);
    const std::string& GetTimestampFormat() const { return m_TimestampFormat; }

    // Takes the stream, moves to its end so runs append, and writes the start banner.
    void Open(Stream* pStream);
    // Writes the end banner and drops the stream.
    void Close();
    bool IsOpen() const { return m_pStream.Get() != nullptr; }

    // One line: "<time> " when a format is set, the 10-character prefix for levels above 0, text, CR LF.
    void WriteToLog(eLogType level, const char* text);
    void Print(const char* format, ...) F_PRINTF(2, 3);

    // "<time> " with the current local time, or empty without a format.
    std::string FormatTimestamp() const;

private:
    void WriteBytes(const std::string& bytes);

    std::string m_TimestampFormat;
    Strong<Stream> m_pStream;
};

// The 10-character log-file prefix of a level; empty for LOGTYPE_NONE.
const char* LogFilePrefix(eLogType level);

}  // namespace Ferrox3D
