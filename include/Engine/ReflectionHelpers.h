// Engine-side helpers over the reflection tree: constructing objects and turning them into values.
#pragma once
#include "Engine/ArgumentArray.h"
#include "Engine/Scripting.h"

namespace Ferrox3D {
namespace Reflection {

// Calls the class's constructor without arguments or "this"; the new object with one reference
// for the caller, or null after setting the last error.
CBaseObject* Construct(CScripting* pScripting, ReflectedClass* pClass);

// The plain value of an object where one exists: Matrix4x4, Vec3 and Vec2 objects (or objects
// of derived classes) become matrix and vector values; any other object its CreateArgument().
// A new value with one reference for the caller.
CArgument* ToArgument(CBaseObject* pObject, CScripting* pScripting);

// Calls a class hook (clone, move, to-string) with pThis and the given arguments; the hook's
// first result is appended to pResult. Errors go to the last error.
bool CallHook(CScripting* pScripting, CResource* pResource, const ReflectedFunction& hook, CBaseObject* pThis,
              CArgumentArray* pArguments, CReturnValue& result);

}  // namespace Reflection
}  // namespace Ferrox3D
