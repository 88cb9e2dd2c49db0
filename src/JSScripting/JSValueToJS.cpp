// Engine values become JavaScript values: vectors and matrices as fresh objects, objects as their one wrapper.
#include "Engine/ArgumentKinds.h"
#include "Engine/ArgumentMap.h"
#include "Engine/Limits.h"
#include "Engine/ReflectionHelpers.h"
#include "JSScripting/JSFunction.h"
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSScripting.h"
#include "JSScripting/JSValue.h"
#include <js/Array.h>
#include <js/ArrayBuffer.h>
#include <js/PropertyAndElement.h>
#include <js/String.h>
#include <cstring>
#include <js/CharacterEncoding.h>
#include <utility>

using namespace Ferrox3D;

namespace {
bool ToJS(JSContext* cx, const CArgument* pValue, JS::MutableHandleValue out, bool bReturn, int depth);

// Malformed UTF-8 (a client's nickname, say) becomes U+FFFD instead of an exception.
bool NewString(JSContext* cx, const char* pText, size_t length, JS::MutableHandleValue out) {
    size_t units = 0;
    JS::UniqueTwoByteChars chars(
        JS::LossyUTF8CharsToNewTwoByteCharsZ(cx, JS::UTF8Chars(pText, length), &units, js::MallocArena).get());
    if (!chars)
        return false;
    JSString* pString = JS_NewUCString(cx, std::move(chars), units);
    if (!pString)
        return false;
    out.setString(pString);
    return true;
}

bool WrapObject(JSContext* cx, CBaseObject* pObject, JS::MutableHandleValue out, bool bReturn) {
    JSObject* pWrapper = pObject ? CJSReferenceable::Get(*CJSScripting::FromContext(cx), pObject) : nullptr;
    if (JS_IsExceptionPending(cx))
        return false;
    if (pWrapper)
        out.setObject(*pWrapper);
    else if (bReturn)
        out.setNull();
    else
        out.setUndefined();
    return true;
}

// A new object of a global value class (Vec2, Vec3, Matrix4x4) holding the value; undefined when
// the class is missing or its constructor fails.
template <typename T>
bool NewValueObject(JSContext* cx, ReflectedClass* pClass, const T& value, JS::MutableHandleValue out) {
    CJSScripting* pScripting = CJSScripting::FromContext(cx);
    out.setUndefined();
    Strong<CBaseObject> pObject = Strong<CBaseObject>::Adopt(Reflection::Construct(pScripting->GetScripting(), pClass));
    auto* pHolder = dynamic_cast<CObjectValue<T>*>(pObject.Get());
    if (!pHolder)
        return true;
    pHolder->m_Value = value;
    return WrapObject(cx, pObject, out, false);
}

bool NewArray(JSContext* cx, const CArgumentArray& array, JS::MutableHandleValue out, int depth) {
    JS::RootedObject result(cx, JS::NewArrayObject(cx, array.GetArrayCount()));
    JS::RootedValue element(cx);
    if (!result)
        return false;
    for (size_t i = 0; i < array.GetArrayCount(); ++i) {
        if (!ToJS(cx, array.GetAt(i), &element, false, depth + 1) ||
            !JS_SetElement(cx, result, static_cast<uint32_t>(i), element))
            return false;
    }
    out.setObject(*result);
    return true;
}

bool NewMap(JSContext* cx, const CArgumentMap& map, JS::MutableHandleValue out, int depth) {
    JS::RootedObject result(cx, JS_NewPlainObject(cx));
    JS::RootedValue key(cx), element(cx);
    JS::RootedId id(cx);
    if (!result)
        return false;
    for (const auto& entry : map) {
        if (!NewString(cx, entry.first.data(), entry.first.size(), &key) || !JS_ValueToId(cx, key, &id) ||
            !ToJS(cx, entry.second, &element, false, depth + 1) ||
            !JS_DefinePropertyById(cx, result, id, element, JSPROP_ENUMERATE))
            return false;
    }
    out.setObject(*result);
    return true;
}

bool NewArrayBuffer(JSContext* cx, const uint8_t* pData, size_t length, JS::MutableHandleValue out) {
    JS::RootedObject buffer(cx, JS::NewArrayBuffer(cx, length));
    if (!buffer)
        return false;
    if (length) {
        JS::AutoCheckCannotGC nogc;
        bool bShared;
        memcpy(JS::GetArrayBufferData(buffer, &bShared, nogc), pData, length);
    }
    out.setObject(*buffer);
    return true;
}

bool ToJS(JSContext* cx, const CArgument* pValue, JS::MutableHandleValue out, bool bReturn, int depth) {
    if (depth > JS_MAX_VALUE_DEPTH) {
        JS_ReportErrorASCII(cx, "value nested too deeply");
        return false;
    }
    ReflectedNamespace* pGlobal = CJSScripting::FromContext(cx)->GetScripting()->GetGlobal();
    switch (pValue ? pValue->GetType() : ARGUMENT_UNDEFINED) {
    case ARGUMENT_NIL: out.setNull(); return true;
    case ARGUMENT_UNDEFINED: out.setUndefined(); return true;
    case ARGUMENT_BOOLEAN: out.setBoolean(pValue->ToBoolean()); return true;
    case ARGUMENT_STRING: {
        size_t length = 0;
        const char* pText = pValue->ToString(&length);
        return NewString(cx, pText, length, out);
    }
    case ARGUMENT_INTEGER: {
        int32_t number = 0;
        pValue->ToNumber(number);
        out.setInt32(number);
        return true;
    }
    case ARGUMENT_FLOAT:
    case ARGUMENT_LONGINTEGER:
    case ARGUMENT_DOUBLE: {
        double number = 0;
        pValue->ToNumber(number);
        out.setNumber(number);
        return true;
    }
    case ARGUMENT_OBJECT:
    case ARGUMENT_NETOBJECT: return WrapObject(cx, pValue->ToObject(), out, bReturn);
    case ARGUMENT_VECTOR2D: {
        CVector2D vector;
        pValue->ToVector2D(vector);
        return NewValueObject(cx, pGlobal->GetVec2Class(), vector, out);
    }
    case ARGUMENT_VECTOR3D: {
        CVector3D vector;
        pValue->ToVector3D(vector);
        return NewValueObject(cx, pGlobal->GetVec3Class(), vector, out);
    }
    case ARGUMENT_MATRIX4X4: {
        CMatrix4x4 matrix;
        pValue->ToMatrix4x4(matrix);
        return NewValueObject(cx, pGlobal->GetMatrix4x4Class(), matrix, out);
    }
    case ARGUMENT_ARRAY: return NewArray(cx, static_cast<const CArgumentArray&>(*pValue), out, depth);
    case ARGUMENT_MAP: return NewMap(cx, static_cast<const CArgumentMap&>(*pValue), out, depth);
    case ARGUMENT_FUNCTION: return NewJSFunctionValue(cx, pValue->ToFunction(), out, bReturn);
    case ARGUMENT_JSVALUE: {
        auto* pJSValue = static_cast<const CArgumentJSValue*>(pValue);
        if (pJSValue->GetScripting() == CJSScripting::FromContext(cx))
            out.set(pJSValue->GetValue());
        else
            out.setUndefined();
        return true;
    }
    case ARGUMENT_BYTES: {
        size_t length = 0;
        const uint8_t* pData = pValue->ToBytes(length);
        return NewArrayBuffer(cx, pData, length, out);
    }
    default:
        if (bReturn)
            out.setNull();
        else
            out.setUndefined();
        return true;
    }
}
}  // namespace

bool GetJSValue(JSContext* cx, const CArgument* pValue, JS::MutableHandleValue out) {
    return ToJS(cx, pValue, out, false, 0);
}

bool SetJSReturnValue(JSContext* cx, const CArgument* pValue, JS::MutableHandleValue out) {
    if (!pValue) {
        out.setUndefined();
        return true;
    }
    return ToJS(cx, pValue, out, true, 0);
}
