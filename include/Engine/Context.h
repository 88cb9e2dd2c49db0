// The engine context: log sink for console and log file, user agent, file system and clock.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include "Engine/FileLog.h"
#include "Engine/Log.h"

namespace Ferrox3D {

class CFileSystem;

// One per process, made by the entry point and reachable through g_pContext. While it lives it is
// the log sink: a message goes to the log file and then the console under one lock, so lines from
// different threads never interleave. Lock order: the context's log lock, then the console lock.
class Context : public ILogSink {
public:
    Context();
    ~Context() override;  // the log file gets its end banner; the console-only sink comes back
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    void Log(const char* format, ...) F_PRINTF(2, 3);
    void LogWarn(const char* format, ...) F_PRINTF(2, 3);
    void LogError(const char* format, ...) F_PRINTF(2, 3);
    void LogMessage(eLogType level, const char* format, ...) F_PRINTF(3, 4);

    void WriteLine(eLogType level, const char* text) override;

    // Pieces joined by one blank (none before the first piece).
    void AddUserAgent(const char* piece);
    const std::string& GetUserAgent() const { return m_UserAgent; }

    void SetLogTimestampFormat(const char* format);
    // Opens "<folder>/ServerLog.log" through the file system for appending (created when missing)
    // and writes the start banner. An empty folder opens nothing and succeeds.
    bool OpenLogFile(const char* folder);
    bool IsLogFileOpen();

    // The process's file system; null until the entry point has made it.
    void SetFileSystem(std::unique_ptr<CFileSystem> pFileSystem);
    CFileSystem* GetFileSystem() const { return m_pFileSystem.get(); }

private:
    std::mutex m_LogLock;  // taken before the console lock, never the other way round
    std::unique_ptr<CFileSystem> m_pFileSystem;  // declared first: the log file's stream may come from it
    CFileLog m_FileLog;
    std::string m_UserAgent;
};

extern Context* g_pContext;

}  // namespace Ferrox3D
