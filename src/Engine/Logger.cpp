// The default logger: every message ends in the process log as one "%s" line.
#include "Engine/Logger.h"
#include <cstdio>
#include "Engine/Limits.h"

namespace Ferrox3D {

void Logger::Log(eLogType level, const char* text) { LogMessage(level, "%s", text); }

void Logger::LogFormatted(eLogType level, const char* format, ...) {
    char text[LOG_MESSAGE_BUFFER];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    Log(level, text);
}

}  // namespace Ferrox3D
