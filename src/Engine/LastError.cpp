// The engine-wide last error text (main thread only).
#include "Engine/LastError.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace Ferrox3D {

namespace {
char g_LastError[LAST_ERROR_BUFFER];
}

bool SetError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(g_LastError, sizeof(g_LastError), format, args);
    va_end(args);
    return false;
}

void ClearError() { g_LastError[0] = '\0'; }

const char* GetLastError() { return g_LastError; }

CLastErrorScope::CLastErrorScope() { memcpy(m_Saved, g_LastError, sizeof(m_Saved)); }

CLastErrorScope::~CLastErrorScope() { memcpy(g_LastError, m_Saved, sizeof(m_Saved)); }

}  // namespace Ferrox3D
