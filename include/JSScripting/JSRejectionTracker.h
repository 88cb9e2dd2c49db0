// Promises rejected without a handler; only those still unhandled at a checkpoint are reported.
#pragma once
#include <jsapi.h>
#include <js/GCVector.h>
#include <js/Promise.h>

class CJSRejectionTracker {
public:
    explicit CJSRejectionTracker(JSContext* cx);
    ~CJSRejectionTracker();

    // Logs the result of every promise still unhandled and forgets them.
    void ReportUnhandled(JSContext* cx);
    size_t GetPendingCount() const { return m_Unhandled.length(); }
    void Clear() { m_Unhandled.clear(); }

private:
    static void OnRejection(JSContext* cx, bool mutedErrors, JS::HandleObject promise,
                            JS::PromiseRejectionHandlingState state, void* data);
    void Track(JSContext* cx, JSObject* promise);
    void Untrack(JSObject* promise);

    JSContext* m_cx;
    JS::PersistentRooted<JS::GCVector<JSObject*, 0, js::SystemAllocPolicy>> m_Unhandled;
};
