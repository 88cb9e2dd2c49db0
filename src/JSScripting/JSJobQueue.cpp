// Jobs run in the order queued; jobs queued while draining run in the same drain.
#include "JSScripting/JSJobQueue.h"
#include <utility>

// Holds the jobs of an interrupted queue while the debugger runs its own, then puts them back.
class CJSJobQueue::CSavedQueue final : public JS::JobQueue::SavedJobQueue {
public:
    CSavedQueue(JSContext* cx, CJSJobQueue& owner) : m_Owner(owner), m_Saved(cx), m_bWasDraining(owner.m_bDraining) {
        std::swap(m_Saved.get(), owner.m_Jobs.get());
        owner.m_bDraining = false;
    }
    ~CSavedQueue() override {
        std::swap(m_Saved.get(), m_Owner.m_Jobs.get());
        m_Owner.m_bDraining = m_bWasDraining;
    }

private:
    CJSJobQueue& m_Owner;
    JS::PersistentRooted<JS::GCVector<JSObject*, 0, js::SystemAllocPolicy>> m_Saved;
    bool m_bWasDraining;
};

CJSJobQueue::CJSJobQueue(JSContext* cx, tRunner runner) : m_Jobs(cx), m_Runner(std::move(runner)) {}

JSObject* CJSJobQueue::getIncumbentGlobal(JSContext* cx) { return JS::CurrentGlobalOrNull(cx); }

bool CJSJobQueue::enqueuePromiseJob(JSContext* cx, JS::HandleObject, JS::HandleObject job, JS::HandleObject,
                                    JS::HandleObject) {
    if (!m_Jobs.append(job)) {
        JS_ReportOutOfMemory(cx);
        return false;
    }
    return true;
}

void CJSJobQueue::runJobs(JSContext* cx) {
    if (m_bDraining)
        return;  // the outer drain picks up the jobs queued meanwhile
    m_bDraining = true;
    JS::RootedObject job(cx);
    for (size_t i = 0; i < m_Jobs.length(); ++i) {
        job = m_Jobs[i];
        m_Runner(job);
    }
    m_Jobs.clear();
    m_bDraining = false;
}

bool CJSJobQueue::empty() const { return m_Jobs.empty(); }

js::UniquePtr<JS::JobQueue::SavedJobQueue> CJSJobQueue::saveJobQueue(JSContext* cx) {
    auto saved = js::MakeUnique<CSavedQueue>(cx, *this);
    if (!saved)
        JS_ReportOutOfMemory(cx);
    return saved;
}
