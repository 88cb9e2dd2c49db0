// The record tying one engine object to its one JavaScript wrapper, and the wrapper's class hooks.
#pragma once
#include <jsapi.h>
#include "Engine/ObjectModel.h"

class CJSScripting;

// Stored in the object's JavaScript attachment slot. While the object is referenced natively the
// record roots the wrapper; once the count reaches 0 the collector decides when the object dies.
class CJSReferenceable final : public Ferrox3D::IUserData {
public:
    static constexpr uint32_t SLOT_RECORD = 0;  // reserved slot of every wrapper: the record
    static constexpr uint32_t SLOT_COUNT = 1;
    // Finaliser and add-property hook shared by the JavaScript classes of all engine classes.
    static const JSClassOps s_WrapperOps;

    // The one wrapper of an engine object, made on first request in the class-hosting realm.
    // Null when the object's class has no JavaScript class (an assertion) or with a pending exception.
    static JSObject* Get(CJSScripting& scripting, Ferrox3D::CBaseObject* pObject);
    // Makes `wrapper` (an object of a class using s_WrapperOps) the one wrapper of `pObject`.
    // Null when the object already has a JavaScript record.
    static CJSReferenceable* Attach(CJSScripting& scripting, Ferrox3D::CBaseObject* pObject, JS::HandleObject wrapper,
                                    bool bExtensible);
    static bool IsWrapper(JSObject* pObject);
    // The record of a wrapper; null for other objects and for wrappers whose object is gone.
    static CJSReferenceable* FromWrapper(JSObject* pObject);

    ~CJSReferenceable() override;
    bool Destruct() override;

    Ferrox3D::CBaseObject* GetObject() const { return m_pObject; }
    // Null once the collector found the wrapper dead.
    JSObject* GetWrapper() const { return m_Wrapper.get(); }
    bool IsExtensible() const { return m_bExtensible; }
    bool IsCollected() const { return m_bCollected; }
    bool IsRooted() const { return m_Root.initialized(); }
    // Roots the wrapper again when the object is referenced natively.
    void RootIfReferenced();

    void UpdateWeakPointer(JSTracer* trc) { JS_UpdateWeakPointerAfterGC(trc, &m_Wrapper); }
    // After the collection that finalised the wrapper: obliterate the object if its count is still 0,
    // else drop only this record so that the next hand-over makes a fresh wrapper.
    void ReleaseAfterCollection();

private:
    CJSReferenceable(CJSScripting& scripting, Ferrox3D::CBaseObject* pObject, JSObject* pWrapper, bool bExtensible);
    static void Finalize(JS::GCContext* gcx, JSObject* obj);
    static bool AddProperty(JSContext* cx, JS::HandleObject obj, JS::HandleId id, JS::HandleValue value);

    CJSScripting& m_Scripting;
    Ferrox3D::CBaseObject* m_pObject;
    JS::Heap<JSObject*> m_Wrapper;  // weak; updated after every collection
    JS::PersistentRootedObject m_Root;
    bool m_bExtensible;
    bool m_bCollected = false;  // the wrapper was finalised; queued for release
};
