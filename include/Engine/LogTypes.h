// Log levels shared by the context, the log file and the script constants.
#pragma once

namespace Ferrox3D {

enum eLogType {
    LOGTYPE_NONE = 0,
    LOGTYPE_VERBOSE = 1,
    LOGTYPE_DEBUG = 2,
    LOGTYPE_INFO = 3,
    LOGTYPE_WARN = 4,
    LOGTYPE_ERROR = 5,
    LOGTYPE_CRITICAL = 6,
};

}  // namespace Ferrox3D
