// A callable script function (of any language, or of a native module) held as an engine object.
#pragma once
#include "Engine/ObjectModel.h"

namespace Ferrox3D {

class CArgumentArray;
class CReturnValue;

class CFunction : public CBaseObject {
public:
    // Calls the function with the arguments; pResult, when not null, receives what it returned.
    // False when the call failed (the language has already reported why).
    virtual bool Call(CArgumentArray* pArguments, CReturnValue* pResult) = 0;

    // Call for engine code that runs script functions from inside a native or a dispatch:
    // whatever the script does, the engine's last error reads the same afterwards.
    bool Invoke(CArgumentArray* pArguments, CReturnValue* pResult);
};

}  // namespace Ferrox3D
