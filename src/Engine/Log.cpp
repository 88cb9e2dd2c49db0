// Log entry points: format, trim one trailing line feed, hand the line to the sink.
#include "Engine/Log.h"
#include "Engine/Limits.h"
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace Ferrox3D {

namespace {
std::mutex g_ConsoleLock;  // taken alone; guards only the write of one line
std::atomic<ILogSink*> g_pSink{nullptr};

const char* ConsoleColour(eLogType level) {
    switch (level) {
    case LOGTYPE_WARN: return "\x1b[33;1m";
    case LOGTYPE_ERROR: return "\x1b[31;1m";
    case LOGTYPE_CRITICAL: return "\x1b[37;41m";
    default: return "\x1b[32;1m";
    }
}
}  // namespace

void PrintToConsole(eLogType level, const char* text) {
    std::lock_guard<std::mutex> lock(g_ConsoleLock);
    fprintf(stdout, "%s%s\x1b[0;0m\n", ConsoleColour(level), text);
    fflush(stdout);
}

void SetLogSink(ILogSink* sink) { g_pSink.store(sink); }

void LogMessageV(eLogType level, const char* format, va_list args) {
    char buffer[LOG_MESSAGE_BUFFER];
    int written = vsnprintf(buffer, sizeof(buffer), format, args);
    if (written < 0)
        return;
    size_t length = strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\n')
        buffer[length - 1] = '\0';
    if (ILogSink* sink = g_pSink.load())
        sink->WriteLine(level, buffer);
    else
        PrintToConsole(level, buffer);
}

void LogMessage(eLogType level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogMessageV(level, format, args);
    va_end(args);
}

#define F_LOG_AT(name, level)                 \
    void name(const char* format, ...) {      \
        va_list args;                         \
        va_start(args, format);               \
        LogMessageV(level, format, args);     \
        va_end(args);                         \
    }
F_LOG_AT(Log, LOGTYPE_INFO)
F_LOG_AT(LogWarn, LOGTYPE_WARN)
F_LOG_AT(LogError, LOGTYPE_ERROR)
#undef F_LOG_AT

}  // namespace Ferrox3D
