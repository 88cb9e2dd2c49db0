// The script root: fixed namespaces, the language table and calls across all languages.
#include "Engine/Scripting.h"
#include "Engine/Assert.h"
#include "Engine/CRC32.h"

namespace Ferrox3D {

#define ARRAY_COUNT(a) static_cast<int>(sizeof(a) / sizeof((a)[0]))

uint32_t GetLanguageId(const char* name) { return NameKey(name, false); }

CScriptEnvironment* CScriptingVM::CreateEnvironment(CResource* pResource, const char* resourceName) {
    CScriptEnvironment* pEnvironment = CreateEnvironment(resourceName);
    if (pEnvironment)
        pEnvironment->SetResource(pResource);
    return pEnvironment;
}

CScripting::CScripting() {
    m_pReflection = m_Global.AddNamespace("reflection");
    m_pModule = m_Global.AddNamespace("module");
    m_pFunctionClass = m_pReflection->NewClass("Function");
}

CScripting::~CScripting() { m_Global.Clear(); }

bool CScripting::AddVM(uint32_t id, CScriptingVM* pVM) {
    if (!F_ASSERT(m_VMCount < ARRAY_COUNT(m_rgVMs)))
        return false;
    m_rgVMs[m_VMCount++] = {id, pVM};
    return true;
}

bool CScripting::AddVM(const char* name, CScriptingVM* pVM) { return AddVM(GetLanguageId(name), pVM); }

CScriptingVM* CScripting::GetVM(const char* name) const { return GetVM(GetLanguageId(name)); }

CScriptingVM* CScripting::GetVM(uint32_t id) const {
    for (int i = 0; i < m_VMCount; ++i)
        if (m_rgVMs[i].id == id)
            return m_rgVMs[i].pVM;
    return nullptr;
}

bool CScripting::DefineAllClasses() {
    for (int i = 0; i < m_VMCount; ++i)
        if (!m_rgVMs[i].pVM->DefineClasses())
            return false;
    return true;
}

void CScripting::CollectGarbage() {
    for (int i = 0; i < m_VMCount; ++i)
        m_rgVMs[i].pVM->CollectGarbage();
}

}  // namespace Ferrox3D
