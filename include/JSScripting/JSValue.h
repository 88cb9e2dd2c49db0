// Script values to JavaScript values and back, and the script value that holds a JavaScript value.
#pragma once
#include <jsapi.h>
#include "Engine/ArgumentArray.h"
#include "JSScripting/JSPersistentValue.h"

// Engine to JavaScript, for arguments of calls into JavaScript: a missing object and an
// unknown kind give undefined. False with a pending exception.
bool GetJSValue(JSContext* cx, const Ferrox3D::CArgument* pValue, JS::MutableHandleValue out);
// The same for results of natives: a missing object and an unknown kind give null; no value gives undefined.
bool SetJSReturnValue(JSContext* cx, const Ferrox3D::CArgument* pValue, JS::MutableHandleValue out);
// JavaScript to engine: appends the converted value. False with a pending exception.
bool AddJSValue(JSContext* cx, JS::HandleValue value, Ferrox3D::CArgumentArray& out);

// A JavaScript value kept as it is (plain objects, for instance). Like functions, it cannot go on the wire.
class CArgumentJSValue : public Ferrox3D::CArgument {
public:
    CArgumentJSValue(CJSScripting& scripting, JS::HandleValue value);
    JS::Value GetValue() const { return m_Value.Get(); }
    CJSScripting* GetScripting() const { return m_Value.GetScripting(); }

    CArgument* Clone() const override;

private:
    CJSPersistentValue m_Value;
};
