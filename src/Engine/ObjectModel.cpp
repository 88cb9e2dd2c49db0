// Counting, deferred JavaScript death, weak slots and attachment slots of CBaseObject.
#include "Engine/ObjectModel.h"

namespace Ferrox3D {

CBaseObject::~CBaseObject() {
    m_bDestroying = true;
    ResolveReferences();
    PruneReferences();
    DestroyAttachments();
}

void CBaseObject::DestroyAttachments() {
    // Order matters: the plug-in destructor callback runs first, then the script records.
    IUserData* attachments[] = {m_pUser, m_pScriptReference, m_pJSScriptReference, m_pSqScriptReference};
    m_pUser = m_pScriptReference = m_pJSScriptReference = m_pSqScriptReference = nullptr;
    for (IUserData* data : attachments)
        delete data;
}

void CBaseObject::Release() {
    if (m_RefCount.fetch_sub(1) != 1 || m_bDestroying)
        return;
    if (m_pJSScriptReference && m_pJSScriptReference->Destruct())
        return;  // the JavaScript finaliser decides from here on
    Obliterate();
}

void CBaseObject::Obliterate() {
    m_bDestroying = true;
    delete this;
}

void CBaseObject::CreateReference(CBaseObject** ppSlot) { m_WeakSlots.insert(ppSlot); }

void CBaseObject::RemoveReference(CBaseObject** ppSlot) { m_WeakSlots.erase(ppSlot); }

void CBaseObject::ResolveReferences() {
    for (CBaseObject** slot : m_WeakSlots)
        *slot = nullptr;
}

void CBaseObject::PruneReferences() { m_WeakSlots.clear(); }

#define F_ADD_ATTACHMENT(adder, slot)           \
    void CBaseObject::adder(IUserData* pData) { \
        if (!F_ASSERT(!slot))                   \
            return;                             \
        slot = pData;                           \
    }
F_ADD_ATTACHMENT(AddUserData, m_pUser)
F_ADD_ATTACHMENT(AddScriptReference, m_pScriptReference)
F_ADD_ATTACHMENT(AddJSScriptReference, m_pJSScriptReference)
F_ADD_ATTACHMENT(AddSqScriptReference, m_pSqScriptReference)
#undef F_ADD_ATTACHMENT

void CBaseObject::ClearJSScriptReference() {
    delete m_pJSScriptReference;
    m_pJSScriptReference = nullptr;
}

}  // namespace Ferrox3D
