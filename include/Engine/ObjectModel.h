// Reference-counted base of every script-visible object, with strong and self-clearing weak references.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include "Engine/Assert.h"

namespace Ferrox3D {

class ReflectedClass;
class CArgument;

class CBase {
public:
    virtual ~CBase() = default;
};

class CRefCounted : public CBase {
public:
    CRefCounted() = default;
    CRefCounted(const CRefCounted&) = delete;
    CRefCounted& operator=(const CRefCounted&) = delete;
    virtual int32_t GetRefCount() const { return m_RefCount.load(); }
    virtual void AddRef() { m_RefCount.fetch_add(1); }
    virtual void Release() {
        if (m_RefCount.fetch_sub(1) == 1)
            delete this;
    }

protected:
    std::atomic<int32_t> m_RefCount{1};  // the creator holds the first reference
};

// Data another layer hangs on an object (plug-in destructor, Lua, JavaScript, Squirrel records).
class IUserData {
public:
    virtual ~IUserData() = default;
    // True when the owner of this record now decides when the object dies (JavaScript wrappers).
    virtual bool Destruct() { return false; }
};

class CBaseObject : public CRefCounted {
public:
    CBaseObject() = default;
    ~CBaseObject() override;

    void Release() override;
    virtual ReflectedClass* GetReflectedClass() { return m_pReflectedClass; }
    virtual CArgument* CreateArgument();

    // Destroys the object whatever its count; strong references left pointing at it are a bug.
    void Obliterate();
    bool IsDestroying() const { return m_bDestroying; }

    void SetReflectedClass(ReflectedClass* pClass) { m_pReflectedClass = pClass; }

    // Weak slots: addresses of pointer variables nulled when the object dies.
    void CreateReference(CBaseObject** ppSlot);
    void RemoveReference(CBaseObject** ppSlot);
    void ResolveReferences();
    void PruneReferences();
    size_t GetWeakReferenceCount() const { return m_WeakSlots.size(); }

    void AddUserData(IUserData* pData);
    void AddScriptReference(IUserData* pData);
    void AddJSScriptReference(IUserData* pData);
    void AddSqScriptReference(IUserData* pData);
    IUserData* GetUser() const { return m_pUser; }
    IUserData* GetScriptReference() const { return m_pScriptReference; }
    IUserData* GetJSScriptReference() const { return m_pJSScriptReference; }
    IUserData* GetSqScriptReference() const { return m_pSqScriptReference; }
    void ClearJSScriptReference();

    void SetPrivate(void* pData) { m_pPrivate = pData; }
    void* GetPrivate() const { return m_pPrivate; }
    void* GetBaseObjectInterface() const { return m_pInterface; }
    void SetBaseObjectInterface(void* pInterface) { m_pInterface = pInterface; }

private:
    void DestroyAttachments();

    bool m_bDestroying = false;
    void* m_pPrivate = nullptr;
    IUserData* m_pUser = nullptr;
    IUserData* m_pScriptReference = nullptr;
    IUserData* m_pJSScriptReference = nullptr;
    IUserData* m_pSqScriptReference = nullptr;
    std::unordered_set<CBaseObject**> m_WeakSlots;
    ReflectedClass* m_pReflectedClass = nullptr;
    void* m_pInterface = nullptr;
};

class Identifiable : public CBaseObject {};

// Owns one reference.
template <typename T>
class Strong {
public:
    Strong() = default;
    Strong(T* p) : m_pRef(p) { if (m_pRef) m_pRef->AddRef(); }
    Strong(const Strong& other) : Strong(other.m_pRef) {}
    Strong(Strong&& other) noexcept : m_pRef(other.m_pRef) { other.m_pRef = nullptr; }
    template <typename U>
    Strong(const Strong<U>& other) : Strong(other.Get()) {}
    ~Strong() { Reset(); }

    // Takes over a reference the caller already owns (a creating call's result).
    static Strong Adopt(T* p) {
        Strong s;
        s.m_pRef = p;
        return s;
    }

    Strong& operator=(T* p) {
        if (p != m_pRef) {
            if (p) p->AddRef();
            T* old = m_pRef;
            m_pRef = p;
            if (old) old->Release();
        }
        return *this;
    }
    Strong& operator=(const Strong& other) { return *this = other.m_pRef; }
    Strong& operator=(Strong&& other) noexcept {
        if (this != &other) {
            T* old = m_pRef;
            m_pRef = other.m_pRef;
            other.m_pRef = nullptr;
            if (old) old->Release();
        }
        return *this;
    }

    void Reset() { *this = nullptr; }
    T* Detach() {
        T* p = m_pRef;
        m_pRef = nullptr;
        return p;
    }
    T* Get() const { return m_pRef; }
    operator T*() const { return m_pRef; }
    T* operator->() const {
        F_ASSERT(m_pRef);
        return m_pRef;
    }
    T& operator*() const { return *operator->(); }
    explicit operator bool() const { return m_pRef != nullptr; }

private:
    T* m_pRef = nullptr;
};

// Observes without counting; reads null once the object is destroyed.
template <typename T>
class Weak {
public:
    Weak() = default;
    Weak(T* p) { Set(p); }
    Weak(const Weak& other) { Set(other.Get()); }
    ~Weak() { Set(nullptr); }
    Weak& operator=(T* p) {
        Set(p);
        return *this;
    }
    Weak& operator=(const Weak& other) {
        Set(other.Get());
        return *this;
    }

    T* Get() const { return static_cast<T*>(m_pRef); }
    operator T*() const { return Get(); }
    T* operator->() const {
        F_ASSERT(m_pRef);
        return Get();
    }
    explicit operator bool() const { return m_pRef != nullptr; }

private:
    void Set(T* p) {
        CBaseObject* next = p;
        if (next == m_pRef)
            return;
        if (m_pRef)
            m_pRef->RemoveReference(&m_pRef);
        m_pRef = next;
        if (m_pRef)
            m_pRef->CreateReference(&m_pRef);
    }
    CBaseObject* m_pRef = nullptr;
};

// A plain value made into a script object (vectors, matrices, stream holders, weak element handles).
template <typename T>
class CObjectValue : public CBaseObject {
public:
    CObjectValue() = default;
    explicit CObjectValue(const T& value) : m_Value(value) {}
    T m_Value;
};

// Owns a pointer and deletes it; used where a script object owns a plain engine object.
template <typename T>
class AutoDelete {
public:
    AutoDelete() = default;
    explicit AutoDelete(T* p) : m_p(p) {}
    AutoDelete(AutoDelete&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    AutoDelete& operator=(AutoDelete&& o) noexcept {
        if (this != &o) { delete m_p; m_p = o.m_p; o.m_p = nullptr; }
        return *this;
    }
    AutoDelete(const AutoDelete&) = delete;
    AutoDelete& operator=(const AutoDelete&) = delete;
    ~AutoDelete() { delete m_p; }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

}  // namespace Ferrox3D
