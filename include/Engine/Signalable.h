// A flag one thread raises and another polls; safe to raise from a signal handler.
#pragma once
#include <atomic>

namespace Ferrox3D {

// A lock-free atomic rather than a flag under a mutex: the SIGINT handler raises the quit
// signal, and a signal handler must not take a lock the interrupted thread may hold.
class Signalable {
public:
    void Signal() { m_bSignalled.store(true); }
    void Reset() { m_bSignalled.store(false); }
    bool IsSignalled() const { return m_bSignalled.load(); }
    std::atomic<bool>* GetFlag() { return &m_bSignalled; }

private:
    static_assert(std::atomic<bool>::is_always_lock_free, "the quit flag is raised from a signal handler");
    std::atomic<bool> m_bSignalled{false};
};

}  // namespace Ferrox3D
