// JavaScript values become engine values; objects the engine has no kind for stay JavaScript values.
#include "Engine/ArgumentKinds.h"
#include "Engine/Limits.h"
#include "Engine/ReflectionHelpers.h"
#include "JSScripting/JSFunction.h"
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSScriptEnvironment.h"
#include "JSScripting/JSScripting.h"
#include "JSScripting/JSValue.h"
#include <js/Array.h>
#include <js/ArrayBuffer.h>
#include <js/BigInt.h>
#include <js/CallAndConstruct.h>
#include <js/CharacterEncoding.h>
#include <js/PropertyAndElement.h>
#include <string>

using namespace Ferrox3D;

namespace {
bool FromJS(JSContext* cx, JS::HandleValue value, CArgumentArray& out, int depth);

// Length-counted, so strings with embedded NULs survive.
bool AddString(JSContext* cx, JSString* pString, CArgumentArray& out) {
    JSLinearString* pLinear = JS_EnsureLinearString(cx, pString);
    if (!pLinear)
        return false;
    std::string text(JS::GetDeflatedUTF8StringLength(pLinear), '\0');
    size_t written = JS::DeflateStringToUTF8Buffer(pLinear, mozilla::Span<char>(text.data(), text.size()));
    out.AddString(text.data(), written);
    return true;
}

// BigInts that fit 64 bits keep every bit; larger ones become doubles.
void AddBigInt(JS::BigInt* pBigInt, CArgumentArray& out) {
    int64_t number;
    if (JS::BigIntFits(pBigInt, &number))
        out.AddNumber(static_cast<long long>(number));
    else
        out.AddNumber(JS::BigIntToNumber(pBigInt));
}

void AddArrayBuffer(JS::HandleObject buffer, CArgumentArray& out) {
    size_t length = 0;
    bool bShared = false;
    uint8_t* pData = nullptr;
    JS::GetArrayBufferLengthAndData(buffer, &length, &bShared, &pData);
    if (pData || length == 0)
        out.AddBytes(pData, length);
    else
        out.AddUndefined();
}

bool AddArray(JSContext* cx, JS::HandleObject array, CArgumentArray& out, int depth) {
    uint32_t length = 0;
    if (!JS::GetArrayLength(cx, array, &length))
        return false;
    auto* pArray = new CArgumentArray(length);
    out.AddAndOwn(pArray);
    JS::RootedValue element(cx);
    for (uint32_t i = 0; i < length; ++i) {
        if (!JS_GetElement(cx, array, i, &element) || !FromJS(cx, element, *pArray, depth + 1))
            return false;
    }
    return true;
}

bool AddObject(JSContext* cx, JS::HandleValue value, CArgumentArray& out, int depth) {
    CJSScripting* pScripting = CJSScripting::FromContext(cx);
    JS::RootedObject object(cx, &value.toObject());
    if (JS::IsCallable(object))
        return AddFunction(cx, object, out);
    if (JS::IsArrayBufferObject(object)) {
        AddArrayBuffer(object, out);
        return true;
    }
    if (CJSReferenceable::IsWrapper(object)) {
        CJSReferenceable* pRecord = CJSReferenceable::FromWrapper(object);
        if (pRecord)
            out.AddAndOwn(Reflection::ToArgument(pRecord->GetObject(), pScripting->GetScripting()));
        else
            out.AddUndefined();
        return true;
    }
    bool bArray = false;
    if (!JS::IsArrayObject(cx, object, &bArray))
        return false;
    if (bArray)
        return AddArray(cx, object, out, depth);
    out.AddAndOwn(new CArgumentJSValue(*pScripting, value));
    return true;
}

bool FromJS(JSContext* cx, JS::HandleValue value, CArgumentArray& out, int depth) {
    if (depth > JS_MAX_VALUE_DEPTH) {
        JS_ReportErrorASCII(cx, "value nested too deeply");
        return false;
    }
    if (value.isUndefined())
        out.AddUndefined();
    else if (value.isNull())
        out.AddNull();
    else if (value.isBoolean())
        out.AddBoolean(value.toBoolean());
    else if (value.isInt32())
        out.AddNumber(value.toInt32());
    else if (value.isDouble())
        out.AddNumber(value.toDouble());
    else if (value.isString())
        return AddString(cx, value.toString(), out);
    else if (value.isBigInt())
        AddBigInt(value.toBigInt(), out);
    else if (value.isObject())
        return AddObject(cx, value, out, depth);
    else
        out.AddUndefined();  // symbols
    return true;
}
}  // namespace

bool AddJSValue(JSContext* cx, JS::HandleValue value, CArgumentArray& out) { return FromJS(cx, value, out, 0); }

CArgumentJSValue::CArgumentJSValue(CJSScripting& scripting, JS::HandleValue value)
    : CArgument(ARGUMENT_JSVALUE), m_Value(scripting, value) {}

CArgument* CArgumentJSValue::Clone() const {
    CJSScripting* pScripting = m_Value.GetScripting();
    if (!pScripting)
        return new CArgument(ARGUMENT_UNDEFINED);
    JS::RootedValue value(pScripting->GetContext(), m_Value.Get());
    return new CArgumentJSValue(*pScripting, value);
}
