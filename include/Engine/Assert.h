// Debug assertions: report through the log as an error and let execution continue.
#pragma once

namespace Ferrox3D {
void ReportAssertion(const char* file, const char* function, int line, const char* expression);
}

// Evaluates to the condition, so callers can skip the guarded operation: if (!F_ASSERT(x)) return;
#define F_ASSERT(expr) \
    ((expr) ? true : (::Ferrox3D::ReportAssertion(__FILE__, __PRETTY_FUNCTION__, __LINE__, #expr), false))
