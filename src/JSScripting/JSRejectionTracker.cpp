// A rejection handled later in the same turn (a catch after the throw) is dropped before it is reported.
#include "JSScripting/JSRejectionTracker.h"
#include "JSScripting/JSErrorReport.h"
#include <algorithm>

CJSRejectionTracker::CJSRejectionTracker(JSContext* cx) : m_cx(cx), m_Unhandled(cx) {
    JS::SetPromiseRejectionTrackerCallback(cx, &CJSRejectionTracker::OnRejection, this);
}

CJSRejectionTracker::~CJSRejectionTracker() { JS::SetPromiseRejectionTrackerCallback(m_cx, nullptr, nullptr); }

void CJSRejectionTracker::OnRejection(JSContext* cx, bool, JS::HandleObject promise,
                                      JS::PromiseRejectionHandlingState state, void* data) {
    auto* self = static_cast<CJSRejectionTracker*>(data);
    if (state == JS::PromiseRejectionHandlingState::Unhandled)
        self->Track(cx, promise);
    else
        self->Untrack(promise);
}

void CJSRejectionTracker::Track(JSContext* cx, JSObject* promise) {
    if (!m_Unhandled.append(promise))
        JS_ReportOutOfMemory(cx);
}

void CJSRejectionTracker::Untrack(JSObject* promise) {
    auto& list = m_Unhandled.get();
    for (size_t i = 0; i < list.length(); ++i) {
        if (list[i] == promise) {
            list.erase(list.begin() + i);
            return;
        }
    }
}

void CJSRejectionTracker::ReportUnhandled(JSContext* cx) {
    if (m_Unhandled.empty())
        return;
    JS::RootedVector<JSObject*> promises(cx);
    if (!promises.appendAll(m_Unhandled.get()))
        return;
    m_Unhandled.clear();
    JS::RootedObject promise(cx);
    JS::RootedValue result(cx);
    for (JSObject* each : promises) {
        promise = each;
        JSAutoRealm realm(cx, promise);
        result = JS::GetPromiseResult(promise);
        ReportExceptionValue(cx, result);
    }
}
