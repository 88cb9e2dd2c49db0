// Script functions made from C++ lambdas, and calls of registered natives the way a binding makes them.
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "Engine/ArgumentArray.h"
#include "Engine/Function.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"

namespace SessionTest {

using namespace Ferrox3D;

class CLambdaFunction : public CFunction {
public:
    explicit CLambdaFunction(std::function<void(CArgumentArray*)> body) : m_Body(std::move(body)) {}
    bool Call(CArgumentArray* pArguments, CReturnValue*) override {
        ++m_Calls;
        m_Body(pArguments);
        return true;
    }
    int m_Calls = 0;

private:
    std::function<void(CArgumentArray*)> m_Body;
};

inline Strong<CLambdaFunction> MakeFunction(std::function<void(CArgumentArray*)> body = [](CArgumentArray*) {}) {
    return Strong<CLambdaFunction>::Adopt(new CLambdaFunction(std::move(body)));
}

// The result of one call: whether it succeeded, the returned value (null when none), the error text.
struct tCall {
    bool m_bOk = false;
    Strong<CArgument> m_pResult;
    std::string m_Error;
};

inline tCall CallGlobal(CScripting& scripting, CResource* pResource, const char* name, CArgumentArray& arguments) {
    tCall call;
    const ReflectedFunction* pFunction = scripting.GetGlobal()->GetFunction(name);
    EXPECT_NE(pFunction, nullptr) << name;
    if (!pFunction)
        return call;
    CNativeState state(&scripting, pResource, &arguments);
    call.m_bOk = pFunction->Call(state);
    if (call.m_bOk) {
        if (CArgument* pResult = state.GetReturnValue())
            call.m_pResult = Strong<CArgument>::Adopt(pResult->Clone());
    } else {
        call.m_Error = GetLastError();
    }
    return call;
}

inline bool ResultIsTrue(const tCall& call) {
    return call.m_bOk && call.m_pResult && call.m_pResult->IsBoolean() && call.m_pResult->ToBoolean();
}

// Fake owners: only their addresses are used.
inline CResource* FakeResource(int n) { return reinterpret_cast<CResource*>(static_cast<uintptr_t>(0x1000 * n)); }

}  // namespace SessionTest
