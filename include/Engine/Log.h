// Process-wide logging entry points; they reach the context's console and log file.
#pragma once
#include <cstdarg>
#include "Engine/LogTypes.h"

#if defined(__GNUC__)
#define F_PRINTF(a, b) __attribute__((format(printf, a, b)))
#else
#define F_PRINTF(a, b)
#endif

namespace Ferrox3D {

// Formats and writes one message. Safe to call before a context exists (console only)
// and from any thread: a line is never interleaved with another.
void LogMessage(eLogType level, const char* format, ...) F_PRINTF(2, 3);
void LogMessageV(eLogType level, const char* format, va_list args);
void Log(const char* format, ...) F_PRINTF(1, 2);
void LogWarn(const char* format, ...) F_PRINTF(1, 2);
void LogError(const char* format, ...) F_PRINTF(1, 2);

// The sink behind the functions above; the context installs itself as one.
class ILogSink {
public:
    virtual ~ILogSink() = default;
    virtual void WriteLine(eLogType level, const char* text) = 0;
};
void SetLogSink(ILogSink* sink);  // null restores the console-only sink

// Writes an already formatted message to the console only (colour, reset, line feed).
void PrintToConsole(eLogType level, const char* text);

}  // namespace Ferrox3D
