// The assertion report, logged as one error line.
#include "Engine/Assert.h"
#include "Engine/Log.h"

namespace Ferrox3D {

void ReportAssertion(const char* file, const char* function, int line, const char* expression) {
    LogError("Assertion failed!\n\nFile: %s\nFunction: %s\nLine: %d\n\nExpression: %s", file, function, line,
             expression);
}

}  // namespace Ferrox3D
