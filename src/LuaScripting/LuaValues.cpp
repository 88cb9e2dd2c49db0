// Engine values to Lua values and back, as the language tables of the binding define them.
#include "LuaScripting/LuaValues.h"
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "Engine/ArgumentArray.h"
#include "Engine/ArgumentMap.h"
#include "Engine/Limits.h"
#include "Engine/Reflection.h"
#include "Engine/ReflectionHelpers.h"
#include "Engine/Scripting.h"
#include "LuaScripting/LuaArgumentRef.h"
#include "LuaScripting/LuaClasses.h"
#include "LuaScripting/LuaFunction.h"
#include "LuaScripting/LuaObjects.h"
#include "LuaScripting/LuaScripting.h"

using namespace Ferrox3D;

namespace {

void PushValue(lua_State* L, const CArgument* pValue, int depth);

void PushArray(lua_State* L, const CArgumentArray* pArray, int depth) {
    lua_createtable(L, static_cast<int>(pArray->GetArrayCount()), 0);
    lua_Integer key = 1;
    for (const CArgument* element : *pArray) {
        PushValue(L, element, depth + 1);
        lua_rawseti(L, -2, key++);
    }
}

void PushMap(lua_State* L, const CArgumentMap* pMap, int depth) {
    lua_createtable(L, 0, static_cast<int>(pMap->GetCount()));
    for (const auto& entry : *pMap) {
        lua_pushlstring(L, entry.first.data(), entry.first.size());
        PushValue(L, entry.second, depth + 1);
        lua_rawset(L, -3);
    }
}

// Vectors and matrices go to Lua as new objects of the global Vec2, Vec3 and Matrix4x4 classes.
template <typename T>
void PushValueObject(lua_State* L, ReflectedClass* pClass, const T& value) {
    CLuaScripting* pLua = CLuaScripting::Get(L);
    CBaseObject* pObject = pClass ? Reflection::Construct(pLua->GetScripting(), pClass) : nullptr;
    auto* pHolder = dynamic_cast<CObjectValue<T>*>(pObject);
    if (pHolder) {
        pHolder->m_Value = value;
        pLua->PushObject(L, pObject);
    } else {
        lua_pushnil(L);
    }
    if (pObject)
        pObject->Release();
}

void PushValue(lua_State* L, const CArgument* pValue, int depth) {
    if (!pValue || depth > MAX_VALUE_DEPTH || !lua_checkstack(L, 4)) {
        lua_pushnil(L);
        return;
    }
    ReflectedNamespace* pGlobal = CLuaScripting::Get(L)->GetScripting()->GetGlobal();
    switch (pValue->GetType()) {
    case ARGUMENT_BOOLEAN:
        lua_pushboolean(L, pValue->ToBoolean());
        return;
    case ARGUMENT_STRING: {
        size_t length;
        const char* text = pValue->ToString(&length);
        lua_pushlstring(L, text, length);
        return;
    }
    case ARGUMENT_BYTES: {
        size_t length;
        const uint8_t* data = pValue->ToBytes(length);
        lua_pushlstring(L, reinterpret_cast<const char*>(data), length);
        return;
    }
    case ARGUMENT_INTEGER:
    case ARGUMENT_LONGINTEGER: {
        int64_t number = 0;
        pValue->ToNumber(number);
        lua_pushinteger(L, number);
        return;
    }
    case ARGUMENT_FLOAT:
    case ARGUMENT_DOUBLE: {
        double number = 0;
        pValue->ToNumber(number);
        lua_pushnumber(L, number);
        return;
    }
    case ARGUMENT_OBJECT:
    case ARGUMENT_NETOBJECT:
        CLuaScripting::Get(L)->PushObject(L, pValue->ToObject());
        return;
    case ARGUMENT_VECTOR2D: {
        CVector2D vector;
        pValue->ToVector2D(vector);
        PushValueObject(L, pGlobal->GetVec2Class(), vector);
        return;
    }
    case ARGUMENT_VECTOR3D: {
        CVector3D vector;
        pValue->ToVector3D(vector);
        PushValueObject(L, pGlobal->GetVec3Class(), vector);
        return;
    }
    case ARGUMENT_MATRIX4X4: {
        CMatrix4x4 matrix;
        pValue->ToMatrix4x4(matrix);
        PushValueObject(L, pGlobal->GetMatrix4x4Class(), matrix);
        return;
    }
    case ARGUMENT_ARRAY:
        PushArray(L, static_cast<const CArgumentArray*>(pValue), depth);
        return;
    case ARGUMENT_MAP:
        PushMap(L, static_cast<const CArgumentMap*>(pValue), depth);
        return;
    case ARGUMENT_FUNCTION:
        LuaFunctions::PushEngineFunction(L, pValue->ToFunction());
        return;
    case ARGUMENT_LUAREF:
        static_cast<const CArgumentLuaRef*>(pValue)->Push(L);
        return;
    default:  // nil, undefined, other languages' values
        lua_pushnil(L);
        return;
    }
}

CArgument* ToValue(lua_State* L, int index, int depth);

CArgument* ToNumberValue(lua_State* L, int index) {
    if (!lua_isinteger(L, index))
        return new CArgumentDouble(lua_tonumber(L, index));
    lua_Integer number = lua_tointeger(L, index);
    if (number >= INT32_MIN && number < INT32_MAX)
        return new CArgumentInteger(static_cast<int32_t>(number));
    return new CArgumentLongInteger(number);
}

CArgument* ToArrayValue(lua_State* L, int index, lua_Unsigned border, int depth) {
    auto* pArray = new CArgumentArray(border);
    for (lua_Unsigned i = 1; i <= border; ++i) {
        lua_rawgeti(L, index, static_cast<lua_Integer>(i));
        CArgument* element = lua_isnil(L, -1) ? new CArgument(ARGUMENT_UNDEFINED) : ToValue(L, -1, depth + 1);
        lua_pop(L, 1);
        if (!element) {
            pArray->Release();
            return nullptr;
        }
        pArray->AddAndOwn(element);
    }
    return pArray;
}

// The text a number key gets as a map key: the same as tostring gives.
std::string NumberKey(lua_State* L, int index) {
    char text[64];
    if (lua_isinteger(L, index)) {
        snprintf(text, sizeof(text), "%" PRId64, static_cast<int64_t>(lua_tointeger(L, index)));
    } else {
        snprintf(text, sizeof(text), LUA_NUMBER_FMT, lua_tonumber(L, index));
        if (text[strspn(text, "-0123456789")] == '\0')
            strcat(text, ".0");
    }
    return text;
}

CArgument* ToMapValue(lua_State* L, int index, int depth) {
    auto* pMap = new CArgumentMap();
    lua_pushnil(L);
    while (lua_next(L, index)) {
        int keyType = lua_type(L, -2);
        if (keyType == LUA_TSTRING || keyType == LUA_TNUMBER) {
            std::string key;
            if (keyType == LUA_TSTRING) {
                size_t length;
                const char* text = lua_tolstring(L, -2, &length);  // a string key: no conversion in place
                key.assign(text, length);
            } else {
                key = NumberKey(L, -2);
            }
            CArgument* value = ToValue(L, -1, depth + 1);
            if (!value) {
                lua_pop(L, 2);
                pMap->Release();
                return nullptr;
            }
            pMap->Set(key, value);
        }
        lua_pop(L, 1);
    }
    return pMap;
}

CArgument* ToValue(lua_State* L, int index, int depth) {
    if (depth > MAX_VALUE_DEPTH || !lua_checkstack(L, 4))
        return nullptr;
    index = lua_absindex(L, index);
    switch (lua_type(L, index)) {
    case LUA_TNIL:
    case LUA_TNONE:
        return new CArgument(ARGUMENT_NIL);
    case LUA_TBOOLEAN:
        return new CArgumentBoolean(lua_toboolean(L, index) != 0);
    case LUA_TLIGHTUSERDATA:
        return new CArgument(ARGUMENT_UNDEFINED);
    case LUA_TNUMBER:
        return ToNumberValue(L, index);
    case LUA_TSTRING: {
        size_t length;
        const char* text = lua_tolstring(L, index, &length);
        return new CArgumentString(text, length);
    }
    case LUA_TTABLE: {
        lua_Unsigned border = lua_rawlen(L, index);
        return border > 0 ? ToArrayValue(L, index, border, depth) : ToMapValue(L, index, depth);
    }
    case LUA_TFUNCTION: {
        CLuaFunction* pFunction = LuaFunctions::MakeFunction(L, index);
        auto* value = new CArgumentFunction(pFunction);
        pFunction->Release();
        return value;
    }
    case LUA_TUSERDATA: {
        bool isBinding;
        CBaseObject* pObject = LuaObjects::Get(L, index, &isBinding);
        if (isBinding) {
            if (!pObject)
                return new CArgument(ARGUMENT_NIL);
            CArgument* value = Reflection::ToArgument(pObject, CLuaScripting::Get(L)->GetScripting());
            return value ? value : new CArgument(ARGUMENT_NIL);
        }
        return new CArgumentLuaRef(L, index);
    }
    default:  // threads
        return new CArgumentLuaRef(L, index);
    }
}

}  // namespace

namespace LuaValues {

void Push(lua_State* L, const CArgument* pValue) { PushValue(L, pValue, 0); }

CArgument* ToArgument(lua_State* L, int index) { return ToValue(L, index, 0); }

bool AddArguments(lua_State* L, int first, int last, CArgumentArray* pTarget, char* pError, size_t errorSize) {
    for (int i = first; i <= last; ++i) {
        CArgument* value = ToValue(L, i, 0);
        if (!value) {
            snprintf(pError, errorSize, "Argument %d nests tables deeper than %d levels", i - first + 1,
                     MAX_VALUE_DEPTH);
            return false;
        }
        pTarget->AddAndOwn(value);
    }
    return true;
}

}  // namespace LuaValues
