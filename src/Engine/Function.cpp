// Calls of script functions made by engine code.
#include "Engine/Function.h"
#include "Engine/LastError.h"

namespace Ferrox3D {

bool CFunction::Invoke(CArgumentArray* pArguments, CReturnValue* pResult) {
    Strong<CFunction> keepAlive(this);  // the script may drop the last other reference
    CLastErrorScope keepError;
    return Call(pArguments, pResult);
}

}  // namespace Ferrox3D
