// Deferred death of engine objects with a JavaScript wrapper; nothing engine-side dies during a collection.
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSScripting.h"
#include "JSScripting/JSScriptingClass.h"
#include <js/Conversions.h>
#include <js/Object.h>

const JSClassOps CJSReferenceable::s_WrapperOps = {
    &CJSReferenceable::AddProperty,  // addProperty
    nullptr,                         // delProperty
    nullptr,                         // enumerate
    nullptr,                         // newEnumerate
    nullptr,                         // resolve
    nullptr,                         // mayResolve
    &CJSReferenceable::Finalize,     // finalize
    nullptr,                         // call
    nullptr,                         // construct
    nullptr,                         // trace
};

CJSReferenceable::CJSReferenceable(CJSScripting& scripting, Ferrox3D::CBaseObject* pObject, JSObject* pWrapper,
                                   bool bExtensible)
    : m_Scripting(scripting), m_pObject(pObject), m_Wrapper(pWrapper), m_bExtensible(bExtensible) {}

CJSReferenceable* CJSReferenceable::Attach(CJSScripting& scripting, Ferrox3D::CBaseObject* pObject,
                                           JS::HandleObject wrapper, bool bExtensible) {
    if (!pObject || pObject->GetJSScriptReference() || !IsWrapper(wrapper))
        return nullptr;
    auto* pRecord = new CJSReferenceable(scripting, pObject, wrapper, bExtensible);
    JS::SetReservedSlot(wrapper, SLOT_RECORD, JS::PrivateValue(pRecord));
    pObject->AddJSScriptReference(pRecord);
    scripting.AddRecord(pRecord);
    pRecord->RootIfReferenced();
    return pRecord;
}

JSObject* CJSReferenceable::Get(CJSScripting& scripting, Ferrox3D::CBaseObject* pObject) {
    if (auto* pRecord = static_cast<CJSReferenceable*>(pObject->GetJSScriptReference())) {
        if (!pRecord->m_bCollected && pRecord->GetWrapper()) {
            pRecord->RootIfReferenced();
            return pRecord->GetWrapper();
        }
        pObject->ClearJSScriptReference();  // its wrapper was collected; the object is taken back
    }
    CJSScriptingClass* pScriptClass = scripting.GetClass(pObject->GetReflectedClass());
    if (!F_ASSERT(pScriptClass))
        return nullptr;
    JSContext* cx = scripting.GetContext();
    JSAutoRealm realm(cx, scripting.GetHostGlobal());
    JS::RootedObject prototype(cx, pScriptClass->GetPrototype());
    JS::RootedObject wrapper(cx, JS_NewObjectWithGivenProto(cx, pScriptClass->GetJSClass(), prototype));
    if (!wrapper)
        return nullptr;
    Attach(scripting, pObject, wrapper, false);
    return wrapper;
}

CJSReferenceable::~CJSReferenceable() {
    m_Scripting.RemoveRecord(this);
    if (m_Root.initialized())
        m_Root.reset();
    // A wrapper that outlives its object must not lead its finaliser to this record.
    if (JSObject* pWrapper = m_bCollected ? nullptr : m_Wrapper.get())
        JS::SetReservedSlot(pWrapper, SLOT_RECORD, JS::UndefinedValue());
}

bool CJSReferenceable::IsWrapper(JSObject* pObject) {
    return pObject && JS::GetClass(pObject)->cOps == &s_WrapperOps;
}

CJSReferenceable* CJSReferenceable::FromWrapper(JSObject* pObject) {
    if (!IsWrapper(pObject))
        return nullptr;
    const JS::Value& slot = JS::GetReservedSlot(pObject, SLOT_RECORD);
    return slot.isUndefined() ? nullptr : static_cast<CJSReferenceable*>(slot.toPrivate());
}

bool CJSReferenceable::Destruct() {
    if (m_Root.initialized())
        m_Root.reset();
    return true;
}

void CJSReferenceable::RootIfReferenced() {
    JSObject* pWrapper = m_Wrapper.get();
    if (pWrapper && !m_Root.initialized() && m_pObject->GetRefCount() > 0)
        m_Root.init(m_Scripting.GetContext(), pWrapper);
}

void CJSReferenceable::ReleaseAfterCollection() {
    Ferrox3D::CBaseObject* pObject = m_pObject;
    if (pObject->GetRefCount() == 0)
        pObject->Obliterate();  // deletes this record with the object
    else
        pObject->ClearJSScriptReference();
}

void CJSReferenceable::Finalize(JS::GCContext*, JSObject* obj) {
    if (CJSReferenceable* pRecord = FromWrapper(obj)) {
        pRecord->m_bCollected = true;
        pRecord->m_Scripting.QueueFinalised(pRecord);
    }
}

bool CJSReferenceable::AddProperty(JSContext* cx, JS::HandleObject obj, JS::HandleId id, JS::HandleValue) {
    CJSReferenceable* pRecord = FromWrapper(obj);
    if (!pRecord || pRecord->m_bExtensible)
        return true;
    JS::RootedValue name(cx);
    if (!JS_IdToValue(cx, id, &name))
        return false;
    JS::RootedString text(cx, name.isSymbol() ? JS_ValueToSource(cx, name) : JS::ToString(cx, name));
    JS::UniqueChars utf8 = text ? JS_EncodeStringToUTF8(cx, text) : nullptr;
    if (!utf8)
        return false;
    // Thrown in sloppy code too: a typo on an element must not silently vanish.
    JS_ReportErrorUTF8(cx, "can't define property \"%s\": Object is not extensible", utf8.get());
    return false;
}
