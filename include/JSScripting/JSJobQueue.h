// Promise reaction jobs, queued by the engine and run at the binding's checkpoints.
#pragma once
#include <functional>
#include <jsapi.h>
#include <js/GCVector.h>
#include <js/Promise.h>

class CJSJobQueue final : public JS::JobQueue {
public:
    // Runs one job; the binding enters the job's realm and environment around it.
    using tRunner = std::function<void(JS::HandleObject job)>;

    CJSJobQueue(JSContext* cx, tRunner runner);

    JSObject* getIncumbentGlobal(JSContext* cx) override;
    bool enqueuePromiseJob(JSContext* cx, JS::HandleObject promise, JS::HandleObject job,
                           JS::HandleObject allocationSite, JS::HandleObject incumbentGlobal) override;
    void runJobs(JSContext* cx) override;
    bool empty() const override;

    // Drops every queued job without running it (shutdown).
    void Clear() { m_Jobs.clear(); }
    // Unroots the queue; must happen before the context is destroyed.
    void Shutdown() { m_Jobs.reset(); }

private:
    js::UniquePtr<SavedJobQueue> saveJobQueue(JSContext* cx) override;

    class CSavedQueue;
    JS::PersistentRooted<JS::GCVector<JSObject*, 0, js::SystemAllocPolicy>> m_Jobs;
    tRunner m_Runner;
    bool m_bDraining = false;
};
