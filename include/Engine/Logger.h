// A small log target handed to components that log on behalf of others; the remote console swaps in its own.
#pragma once
#include <cstdarg>
#include "Engine/Log.h"

namespace Ferrox3D {

class Logger {
public:
    virtual ~Logger() = default;
    // The default writes through the process log.
    virtual void Log(eLogType level, const char* text);
    void LogFormatted(eLogType level, const char* format, ...) F_PRINTF(3, 4);
};

}  // namespace Ferrox3D
