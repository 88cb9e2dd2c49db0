// The engine library may be initialised once per process and never again after shutdown.
#include "JSScripting/JSEngine.h"
#include "Engine/Log.h"
#include <js/Initialization.h>

namespace {
class CJSEngineLifetime {
public:
    CJSEngineLifetime() {
        const char* failure = JS_InitWithFailureDiagnostic();
        m_bReady = failure == nullptr;
        if (!m_bReady)
            Ferrox3D::LogError("%s", failure);
    }
    // Runs at process exit, after every context is gone.
    ~CJSEngineLifetime() {
        if (m_bReady)
            JS_ShutDown();
    }
    bool IsReady() const { return m_bReady; }

private:
    bool m_bReady = false;
};
}  // namespace

bool EnsureJSEngine() {
    static CJSEngineLifetime s_Engine;
    return s_Engine.IsReady();
}
