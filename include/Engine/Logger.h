// A small logger handed to components that log on behalf of others (command handlers).
#pragma once
#include "Engine/Log.h"
#include "Engine/LogTypes.h"

namespace Ferrox3D {

class Logger {
public:
    virtual ~Logger() = default;
    // The text is logged as it is, never read as a format.
    virtual void Log(eLogType level, const char* text) { LogMessage(level, "%s", text); }
    void LogFormatted(eLogType level, const char* format, ...) F_PRINTF(3, 4);
};

}  // namespace Ferrox3D
