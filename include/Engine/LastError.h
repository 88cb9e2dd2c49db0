// The engine's last error: one text that a failing native leaves for its language binding.
#pragma once
#include <cstddef>
#include "Engine/Limits.h"
#include "Engine/Log.h"

namespace Ferrox3D {

// Formats into the last error (cut to LAST_ERROR_BUFFER - 1 characters) and returns false.
bool SetError(const char* format, ...) F_PRINTF(1, 2);
void ClearError();
const char* GetLastError();

// Keeps the last error across a stretch of code that may run other natives (a call back into
// script): whatever they leave behind, the text reads as before once the scope ends.
class CLastErrorScope {
public:
    CLastErrorScope();
    ~CLastErrorScope();
    CLastErrorScope(const CLastErrorScope&) = delete;
    CLastErrorScope& operator=(const CLastErrorScope&) = delete;

private:
    char m_Saved[LAST_ERROR_BUFFER];
};

}  // namespace Ferrox3D
