// JavaScript functions held by the engine (handlers, callbacks), and engine functions handed to JavaScript.
#pragma once
#include <jsapi.h>
#include "Engine/ArgumentArray.h"
#include "Engine/Function.h"
#include "JSScripting/JSPersistentValue.h"
#include "JSScripting/JSScriptEnvironment.h"

class CJSFunction : public Ferrox3D::CFunction {
public:
    // The environment is that of the function's realm.
    CJSFunction(CJSScripting& scripting, JS::HandleObject function);

    // Calls with no receiver in the function's realm; false after reporting a throw or a failed conversion.
    bool Call(Ferrox3D::CArgumentArray* pArguments, Ferrox3D::CReturnValue* pResult) override;
    JS::Value GetFunction() const { return m_Function.Get(); }
    CJSScriptEnvironment* GetEnvironment() const { return m_pEnvironment; }

private:
    bool CallIn(JSContext* cx, Ferrox3D::CArgumentArray* pArguments, Ferrox3D::CReturnValue* pResult);

    Ferrox3D::Strong<CJSScriptEnvironment> m_pEnvironment;
    CJSPersistentValue m_Function;
};

// Appends a JavaScript function as a function value: the engine function it stands for when it is
// one the binding made, else a new CJSFunction.
bool AddFunction(JSContext* cx, JS::HandleObject function, Ferrox3D::CArgumentArray& out);
// A function value as JavaScript: the original function of a CJSFunction, else a function object
// that calls the engine function (null or undefined for an empty value).
bool NewJSFunctionValue(JSContext* cx, Ferrox3D::CFunction* pFunction, JS::MutableHandleValue out, bool bReturn);
