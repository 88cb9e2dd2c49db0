// Logger: formats, then logs the result through Log.
#include "Engine/Logger.h"
#include <cstdarg>
#include <cstdio>
#include "Engine/Limits.h"

namespace Ferrox3D {

void Logger::LogFormatted(eLogType level, const char* format, ...) {
    char buffer[LOG_MESSAGE_BUFFER];
    va_list args;
    va_start(args, format);
    int written = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written >= 0)
        Log(level, buffer);
}

}  // namespace Ferrox3D
