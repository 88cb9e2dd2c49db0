// Function objects that call reflected natives: static functions, methods and property accessors.
#pragma once
#include <memory>
#include <vector>
#include <jsapi.h>
#include "Engine/Reflection.h"

class CJSScripting;

// What one function object calls; owned by the language, shared by every global that shows it.
struct tJSNativeBinding {
    const Ferrox3D::ScriptFunction* pFunction;
    void* pUser;
    const Ferrox3D::ReflectedClass* pThisClass;  // null for static calls
};

// A function object with the given name and declared length that calls the binding.
JSObject* NewNativeFunction(JSContext* cx, const tJSNativeBinding* pBinding, const char* pszName, unsigned nargs);

// Functions are read-only and not enumerable; a null class makes static functions, else methods.
bool DefineReflectedFunctions(CJSScripting& scripting, JS::HandleObject target,
                              const std::vector<std::unique_ptr<Ferrox3D::ReflectedFunction>>& functions,
                              const Ferrox3D::ReflectedClass* pThisClass);
// Accessor properties ("get x" and "set x" functions), not enumerable.
bool DefineReflectedProperty(CJSScripting& scripting, JS::HandleObject target, const Ferrox3D::ReflectedProperty& property,
                             const char* pszName, const Ferrox3D::ReflectedClass* pThisClass);
bool DefineReflectedProperties(CJSScripting& scripting, JS::HandleObject target,
                               const std::vector<std::unique_ptr<Ferrox3D::ReflectedProperty>>& properties,
                               const Ferrox3D::ReflectedClass* pThisClass);
