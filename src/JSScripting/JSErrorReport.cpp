// The message is logged as an error; when the report names a file, a second line gives the place.
#include "JSScripting/JSErrorReport.h"
#include "Engine/Log.h"
#include <js/ErrorReport.h>
#include <js/Exception.h>

namespace {
void LogReport(JSContext* cx, const JS::ExceptionStack& exception) {
    JS::ErrorReportBuilder builder(cx);
    if (!builder.init(cx, exception, JS::ErrorReportBuilder::WithSideEffects)) {
        JS_ClearPendingException(cx);
        Ferrox3D::LogError("%s", "uncaught exception (no report available)");
        return;
    }
    const JSErrorReport* report = builder.report();
    const char* message = builder.toStringResult() ? builder.toStringResult().c_str() : report->message().c_str();
    Ferrox3D::eLogType level = report->isWarning() ? Ferrox3D::LOGTYPE_WARN : Ferrox3D::LOGTYPE_ERROR;
    Ferrox3D::LogMessage(level, "%s", message ? message : "uncaught exception");
    if (report->filename)
        Ferrox3D::LogMessage(level, "File: %s Line: %u Column: %u", report->filename, report->lineno,
                             report->column);
}
}  // namespace

void ReportPendingException(JSContext* cx) {
    if (!JS_IsExceptionPending(cx)) {
        Ferrox3D::LogError("%s", "Script terminated by an uncatchable error");
        return;
    }
    JS::ExceptionStack exception(cx);
    if (!JS::StealPendingExceptionStack(cx, &exception)) {
        JS_ClearPendingException(cx);
        Ferrox3D::LogError("%s", "uncaught exception (lost while reporting)");
        return;
    }
    LogReport(cx, exception);
}

void ReportExceptionValue(JSContext* cx, JS::HandleValue value) {
    JS::ExceptionStack exception(cx, value, nullptr);
    LogReport(cx, exception);
}
