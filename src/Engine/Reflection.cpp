// Building and searching the reflection tree.
#include "Engine/Reflection.h"
#include <cstring>
#include "Engine/Assert.h"
#include "Engine/LastError.h"

namespace Ferrox3D {

namespace {
#define ARRAY_COUNT(a) static_cast<int>(sizeof(a) / sizeof((a)[0]))

template <typename Member>
Member* FindByName(const std::vector<std::unique_ptr<Member>>& members, const char* name) {
    for (const auto& pMember : members)
        if (strcmp(pMember->GetName(), name) == 0)
            return pMember.get();
    return nullptr;
}

ReflectedFunction* AppendFunction(std::vector<std::unique_ptr<ReflectedFunction>>& functions,
                                  const ScriptFunction& function, void* pUser, bool obsolete) {
    auto pFunction = std::make_unique<ReflectedFunction>();
    pFunction->m_bObsolete = obsolete;
    pFunction->m_Function = function;
    pFunction->m_pUser = pUser;
    functions.push_back(std::move(pFunction));
    return functions.back().get();
}

ReflectedProperty* AppendProperty(std::vector<std::unique_ptr<ReflectedProperty>>& properties, void* pUser,
                                  const char* name, uint8_t type, NativeProc getter, NativeProc setter,
                                  const char* accessorMask) {
    auto pProperty = std::make_unique<ReflectedProperty>();
    pProperty->m_Getter = ScriptFunction(name, accessorMask, getter);
    if (setter)
        pProperty->m_Setter = ScriptFunction(name, accessorMask, setter);
    pProperty->m_Name = name ? name : "";
    pProperty->m_Type = type;
    pProperty->m_pUser = pUser;
    properties.push_back(std::move(pProperty));
    return properties.back().get();
}

void SetHook(ReflectedFunction& hook, const char* name, const char* mask, NativeProc native, void* pUser) {
    hook.m_Function = ScriptFunction(name, mask, native);
    hook.m_pUser = pUser;
}
}  // namespace

void** ReflectedUserData::AddUserData(uint32_t languageId, DestructorProc destructor) {
    if (!F_ASSERT(m_UserDataCount < ARRAY_COUNT(m_rgUserData)))
        return nullptr;
    tEntry& entry = m_rgUserData[m_UserDataCount++];
    entry = {languageId, nullptr, destructor};
    return &entry.pData;
}

void** ReflectedUserData::GetUserData(uint32_t languageId) {
    for (int i = 0; i < m_UserDataCount; ++i)
        if (m_rgUserData[i].id == languageId)
            return &m_rgUserData[i].pData;
    return nullptr;
}

void ReflectedUserData::Clear() {
    int count = m_UserDataCount;
    m_UserDataCount = 0;
    for (int i = 0; i < count; ++i)
        if (m_rgUserData[i].destructor)
            m_rgUserData[i].destructor(m_rgUserData[i].pData);
}

bool ReflectedClass::IsA(const ReflectedClass* pClass) const {
    for (const ReflectedClass* p = this; p; p = p->m_pBase)
        if (p == pClass)
            return true;
    return false;
}

void ReflectedClass::RegisterConstructor(const char* mask, NativeProc native, void* pUser) {
    SetHook(m_Constructor, GetName(), mask, native, pUser);
}

ReflectedFunction* ReflectedClass::RegisterFunction(const char* name, const char* mask, NativeProc native,
                                                    void* pUser, bool obsolete) {
    return RegisterFunction(ScriptFunction(name, mask, native), pUser, obsolete);
}

ReflectedFunction* ReflectedClass::RegisterFunction(const ScriptFunction& function, void* pUser, bool obsolete) {
    return AppendFunction(m_Functions, function, pUser, obsolete);
}

ReflectedProperty* ReflectedClass::AddProperty(void* pUser, const char* name, uint8_t type, NativeProc getter,
                                               NativeProc setter) {
    return AppendProperty(m_Properties, pUser, name, type, getter, setter, "t");
}

void ReflectedClass::RegisterClone(NativeProc native, void* pUser) { SetHook(m_Clone, "clone", "t", native, pUser); }
void ReflectedClass::RegisterMove(NativeProc native, void* pUser) { SetHook(m_Move, "move", "tx", native, pUser); }
void ReflectedClass::RegisterToString(NativeProc native, void* pUser) {
    SetHook(m_ToString, "toString", "t", native, pUser);
}

ReflectedProperty* ReflectedClass::GetProperty(const char* name) const {
    for (const ReflectedClass* p = this; p; p = p->m_pBase)
        if (ReflectedProperty* pProperty = FindByName(p->m_Properties, name))
            return pProperty;
    SetError("Property %s not found.", name);
    return nullptr;
}

const ReflectedFunction* ReflectedClass::GetFunction(const char* name) const {
    for (const ReflectedClass* p = this; p; p = p->m_pBase)
        if (const ReflectedFunction* pFunction = FindByName(p->m_Functions, name))
            return pFunction;
    return nullptr;
}

void ReflectedClass::Clear() {
    m_UserData.Clear();
    m_Functions.clear();
    m_Properties.clear();
    m_Constructor = m_Clone = m_Move = m_ToString = ReflectedFunction();
}

ReflectedNamespace* ReflectedNamespace::GetNamespace(const char* name) {
    if (ReflectedNamespace* pChild = FindByName(m_Namespaces, name))
        return pChild;
    SetError("Namespace %s not found.", name);
    return nullptr;
}

ReflectedNamespace* ReflectedNamespace::AddNamespace(const char* name) {
    if (ReflectedNamespace* pChild = FindByName(m_Namespaces, name))
        return pChild;
    m_Namespaces.push_back(std::make_unique<ReflectedNamespace>(name));
    return m_Namespaces.back().get();
}

ReflectedClass* ReflectedNamespace::NewClass(const char* name, ReflectedClass* pBase) {
    m_Classes.push_back(std::make_unique<ReflectedClass>(name, pBase));
    RegisterClassPtr(m_Classes.back().get());
    return m_Classes.back().get();
}

void ReflectedNamespace::RegisterClassPtr(ReflectedClass* pClass) {
    const char* name = pClass->GetName();
    if (strcmp(name, "Stream") == 0)
        m_pStreamClass = pClass;
    else if (strcmp(name, "Matrix4x4") == 0)
        m_pMatrix4x4Class = pClass;
    else if (strcmp(name, "Vec2") == 0)
        m_pVec2Class = pClass;
    else if (strcmp(name, "Vec3") == 0)
        m_pVec3Class = pClass;
}

ReflectedClass* ReflectedNamespace::GetClass(const char* name) const { return FindByName(m_Classes, name); }

ReflectedFunction* ReflectedNamespace::RegisterFunction(const char* name, const char* mask, NativeProc native,
                                                        void* pUser, bool obsolete) {
    return RegisterFunction(ScriptFunction(name, mask, native), pUser, obsolete);
}

ReflectedFunction* ReflectedNamespace::RegisterFunction(const ScriptFunction& function, void* pUser,
                                                        bool obsolete) {
    return AppendFunction(m_Functions, function, pUser, obsolete);
}

ReflectedProperty* ReflectedNamespace::AddProperty(void* pUser, const char* name, uint8_t type, NativeProc getter,
                                                   NativeProc setter) {
    return AppendProperty(m_Properties, pUser, name, type, getter, setter, "");
}

ReflectedProperty* ReflectedNamespace::GetProperty(const char* name) const { return FindByName(m_Properties, name); }

const ReflectedFunction* ReflectedNamespace::GetFunction(const char* name) const {
    return FindByName(m_Functions, name);
}

void ReflectedNamespace::Clear() {
    m_Functions.clear();
    m_Properties.clear();
    m_Namespaces.clear();
    // Derived classes go before their bases, so no release callback sees a freed base.
    while (!m_Classes.empty())
        m_Classes.pop_back();
    m_pStreamClass = m_pMatrix4x4Class = m_pVec2Class = m_pVec3Class = nullptr;
}

}  // namespace Ferrox3D
