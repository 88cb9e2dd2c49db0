// Turning JavaScript exceptions into log lines with the file, line and column they came from.
#pragma once
#include <jsapi.h>

// Takes and clears the pending exception and logs it; an uncatchable termination is logged too.
void ReportPendingException(JSContext* cx);

// Logs a thrown value that is not pending (a rejected promise's result).
void ReportExceptionValue(JSContext* cx, JS::HandleValue value);
