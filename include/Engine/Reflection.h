// The language-neutral script API tree: namespaces, classes, functions and properties.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "Engine/ScriptFunction.h"

namespace Ferrox3D {

class CNativeState;

// A function of a namespace (static) or of a class (called with a "this" object).
struct ReflectedFunction {
    bool m_bObsolete = false;
    ScriptFunction m_Function;
    void* m_pUser = nullptr;

    const char* GetName() const { return m_Function.GetName(); }
    bool Call(CNativeState& state) const { return m_Function.Call(state, m_pUser); }
};

// Getter and optional setter. Class property accessors get "this" and, for the setter, the new
// value as argument 1; namespace ones get no "this".
struct ReflectedProperty {
    bool m_bObsolete = false;
    ScriptFunction m_Getter;
    ScriptFunction m_Setter;  // empty for read-only properties
    std::string m_Name;
    uint8_t m_Type = 0;  // a script value tag, for documentation only
    void* m_pUser = nullptr;

    const char* GetName() const { return m_Name.c_str(); }
    bool IsReadOnly() const { return m_Setter.IsEmpty(); }
    bool Get(CNativeState& state) const { return m_Getter.Call(state, m_pUser); }
    bool Set(CNativeState& state) const { return m_Setter.Call(state, m_pUser); }
};

// Per-language data of a class (its class object, metatable or prototype), keyed by the
// language id; the release callbacks run when the class is cleared.
class ReflectedUserData {
public:
    using DestructorProc = void (*)(void* pData);
    static constexpr int MAX_ENTRIES = 16;

    ~ReflectedUserData() { Clear(); }
    // The address of the new entry's data pointer (null after the 16th entry).
    void** AddUserData(uint32_t languageId, DestructorProc destructor);
    // The address of the entry's data pointer, or null when that language has none.
    void** GetUserData(uint32_t languageId);
    void Clear();

private:
    struct tEntry {
        uint32_t id;
        void* pData;
        DestructorProc destructor;
    };
    tEntry m_rgUserData[MAX_ENTRIES];
    int m_UserDataCount = 0;
};

class ReflectedClass {
public:
    ReflectedClass(const char* name, ReflectedClass* pBase) : m_Name(name ? name : ""), m_pBase(pBase) {}
    ~ReflectedClass() { Clear(); }
    ReflectedClass(const ReflectedClass&) = delete;
    ReflectedClass& operator=(const ReflectedClass&) = delete;

    const char* GetName() const { return m_Name.c_str(); }
    ReflectedClass* GetBase() const { return m_pBase; }
    // This class is pClass or derives from it.
    bool IsA(const ReflectedClass* pClass) const;

    // The constructor is called without "this" and returns the new object (ReturnObject).
    void RegisterConstructor(const char* mask, NativeProc native, void* pUser = nullptr);
    ReflectedFunction* RegisterFunction(const char* name, const char* mask, NativeProc native,
                                        void* pUser = nullptr, bool obsolete = false);
    ReflectedFunction* RegisterFunction(const ScriptFunction& function, void* pUser, bool obsolete = false);
    ReflectedProperty* AddProperty(void* pUser, const char* name, uint8_t type, NativeProc getter,
                                   NativeProc setter = nullptr);
    // clone: "this" only, returns the copy; move: "this" and the source as argument 1;
    // to-string: "this" only, returns a string.
    void RegisterClone(NativeProc native, void* pUser = nullptr);
    void RegisterMove(NativeProc native, void* pUser = nullptr);
    void RegisterToString(NativeProc native, void* pUser = nullptr);

    // Null when the class has no such member.
    const ReflectedFunction* GetConstructor() const { return Hook(m_Constructor); }
    const ReflectedFunction* GetCloneHook() const { return Hook(m_Clone); }
    const ReflectedFunction* GetMoveHook() const { return Hook(m_Move); }
    const ReflectedFunction* GetToStringHook() const { return Hook(m_ToString); }

    // The class's own members, in registration order (bases not included).
    const std::vector<std::unique_ptr<ReflectedFunction>>& GetFunctions() const { return m_Functions; }
    const std::vector<std::unique_ptr<ReflectedProperty>>& GetProperties() const { return m_Properties; }
    // Searches this class, then its bases; sets the last error "Property %s not found." when absent.
    ReflectedProperty* GetProperty(const char* name) const;
    // Searches this class, then its bases; null when absent (no error).
    const ReflectedFunction* GetFunction(const char* name) const;

    ReflectedUserData& GetUserData() { return m_UserData; }
    void Clear();

private:
    static const ReflectedFunction* Hook(const ReflectedFunction& hook) {
        return hook.m_Function.IsEmpty() ? nullptr : &hook;
    }

    std::string m_Name;
    ReflectedClass* m_pBase;
    ReflectedUserData m_UserData;
    ReflectedFunction m_Constructor;
    ReflectedFunction m_Clone;
    ReflectedFunction m_Move;
    ReflectedFunction m_ToString;
    std::vector<std::unique_ptr<ReflectedFunction>> m_Functions;
    std::vector<std::unique_ptr<ReflectedProperty>> m_Properties;
};

class ReflectedNamespace {
public:
    explicit ReflectedNamespace(const char* name) : m_Name(name ? name : "") {}
    ~ReflectedNamespace() { Clear(); }
    ReflectedNamespace(const ReflectedNamespace&) = delete;
    ReflectedNamespace& operator=(const ReflectedNamespace&) = delete;

    const char* GetName() const { return m_Name.c_str(); }
    // A second name the bindings publish the namespace under; null when there is none.
    const char* GetAlias() const { return m_Alias.empty() ? nullptr : m_Alias.c_str(); }
    void SetAlias(const char* alias) { m_Alias = alias ? alias : ""; }

    // The child of exactly that name; null after the last error "Namespace %s not found.".
    ReflectedNamespace* GetNamespace(const char* name);
    // The child of that name, made when absent (the last error stays clear).
    ReflectedNamespace* AddNamespace(const char* name);
    ReflectedClass* NewClass(const char* name, ReflectedClass* pBase = nullptr);
    // A class of this namespace by exact name; null when absent.
    ReflectedClass* GetClass(const char* name) const;

    ReflectedFunction* RegisterFunction(const char* name, const char* mask, NativeProc native,
                                        void* pUser = nullptr, bool obsolete = false);
    ReflectedFunction* RegisterFunction(const ScriptFunction& function, void* pUser, bool obsolete = false);
    ReflectedProperty* AddProperty(void* pUser, const char* name, uint8_t type, NativeProc getter,
                                   NativeProc setter = nullptr);
    // A property of this namespace by exact name; null when absent (no error).
    ReflectedProperty* GetProperty(const char* name) const;
    const ReflectedFunction* GetFunction(const char* name) const;

    const std::vector<std::unique_ptr<ReflectedFunction>>& GetFunctions() const { return m_Functions; }
    const std::vector<std::unique_ptr<ReflectedProperty>>& GetProperties() const { return m_Properties; }
    const std::vector<std::unique_ptr<ReflectedClass>>& GetClasses() const { return m_Classes; }
    const std::vector<std::unique_ptr<ReflectedNamespace>>& GetNamespaces() const { return m_Namespaces; }

    // The well-known classes, set when a class of exactly that name is made here.
    ReflectedClass* GetStreamClass() const { return m_pStreamClass; }
    ReflectedClass* GetMatrix4x4Class() const { return m_pMatrix4x4Class; }
    ReflectedClass* GetVec2Class() const { return m_pVec2Class; }
    ReflectedClass* GetVec3Class() const { return m_pVec3Class; }

    void Clear();

private:
    void RegisterClassPtr(ReflectedClass* pClass);

    std::string m_Name;
    std::string m_Alias;
    std::vector<std::unique_ptr<ReflectedFunction>> m_Functions;
    std::vector<std::unique_ptr<ReflectedProperty>> m_Properties;
    std::vector<std::unique_ptr<ReflectedClass>> m_Classes;
    std::vector<std::unique_ptr<ReflectedNamespace>> m_Namespaces;
    ReflectedClass* m_pStreamClass = nullptr;
    ReflectedClass* m_pMatrix4x4Class = nullptr;
    ReflectedClass* m_pVec2Class = nullptr;
    ReflectedClass* m_pVec3Class = nullptr;
};

}  // namespace Ferrox3D
