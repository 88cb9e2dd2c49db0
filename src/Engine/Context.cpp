// The context as the process's log sink, and its user agent.
#include "Engine/Context.h"
#include <cstdarg>
#include <cstdlib>
#include <ctime>
#include "Engine/Clock.h"
#include "Engine/FileSystem.h"

namespace Ferrox3D {

Context* g_pContext = nullptr;

Context::Context() {
    InitialiseClock();
    srand(static_cast<unsigned>(time(nullptr)));
    g_pContext = this;
    SetLogSink(this);
}

Context::~Context() {
    SetLogSink(nullptr);
    {
        std::lock_guard<std::mutex> lock(m_LogLock);
        m_FileLog.Close();
    }
    if (g_pContext == this)
        g_pContext = nullptr;
}

#define F_CONTEXT_LOG_AT(name, level)             \
    void Context::name(const char* format, ...) { \
        va_list args;                             \
        va_start(args, format);                   \
        LogMessageV(level, format, args);         \
        va_end(args);                             \
    }
F_CONTEXT_LOG_AT(Log, LOGTYPE_INFO)
F_CONTEXT_LOG_AT(LogWarn, LOGTYPE_WARN)
F_CONTEXT_LOG_AT(LogError, LOGTYPE_ERROR)
#undef F_CONTEXT_LOG_AT

void Context::LogMessage(eLogType level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogMessageV(level, format, args);
    va_end(args);
}

void Context::WriteLine(eLogType level, const char* text) {
    std::lock_guard<std::mutex> lock(m_LogLock);
    m_FileLog.WriteToLog(level, text);
    PrintToConsole(level, text);
}

void Context::AddUserAgent(const char* piece) {
    if (!m_UserAgent.empty())
        m_UserAgent += ' ';
    m_UserAgent += piece;
}

void Context::SetLogTimestampFormat(const char* format) {
    std::lock_guard<std::mutex> lock(m_LogLock);
    m_FileLog.SetTimestampFormat(format);
}

bool Context::IsLogFileOpen() {
    std::lock_guard<std::mutex> lock(m_LogLock);
    return m_FileLog.IsOpen();
}

void Context::SetFileSystem(std::unique_ptr<CFileSystem> pFileSystem) { m_pFileSystem = std::move(pFileSystem); }

bool Context::OpenLogFile(const char* folder) {
    if (!folder || !*folder)
        return true;
    if (!m_pFileSystem)
        return false;
    std::string path = std::string(folder) + "/" + LOG_FILE_NAME;
    Strong<Stream> pStream = m_pFileSystem->Open(path.c_str(), true);
    if (!pStream)
        pStream = m_pFileSystem->Create(path.c_str());
    if (!pStream)
        return false;
    std::lock_guard<std::mutex> lock(m_LogLock);
    m_FileLog.Open(pStream);
    return true;
}

}  // namespace Ferrox3D
