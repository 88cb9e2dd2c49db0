// One callable entry of the reflection tree: name, signature mask and native entry points.
#pragma once
#include <cstdint>
#include <string>

namespace Ferrox3D {

class CNativeState;

// A native: the call's state, the number of script arguments (without "this") and the user
// pointer registered with it. True on success; false after CNativeState::Error.
using NativeProc = bool (*)(CNativeState* pState, int32_t argumentCount, void* pUser);
// The same shape for natives of native modules, which see the state through their own interface.
using PluginNativeProc = bool (*)(void* pPluginState, int32_t argumentCount, void* pUser);
// Installed by the native module layer: runs a plug-in native against an engine state.
using PluginCallAdapter = bool (*)(PluginNativeProc proc, CNativeState* pState, int32_t argumentCount, void* pUser);
void SetPluginCallAdapter(PluginCallAdapter adapter);

// Number of required arguments of a mask: the letters before the first '|' or '*', not counting
// 't' ("sx|i" -> 2, "tvf" -> 2, "ci*" -> 2, "" -> 0).
int GetRequiredArgumentCount(const char* mask);

class ScriptFunction {
public:
    ScriptFunction() = default;
    ScriptFunction(const char* name, const char* mask, NativeProc native) : m_Name(name ? name : ""),
        m_Signature(mask ? mask : ""), m_pNative(native) {}

    const char* GetName() const { return m_Name.c_str(); }
    const char* GetSignature() const { return m_Signature.c_str(); }
    int GetRequiredArgumentCount() const { return Ferrox3D::GetRequiredArgumentCount(m_Signature.c_str()); }
    NativeProc GetNative() const { return m_pNative; }
    PluginNativeProc GetPluginNative() const { return m_pPluginNative; }
    void SetPluginNative(PluginNativeProc proc) { m_pPluginNative = proc; }
    bool IsEmpty() const { return !m_pNative && !m_pPluginNative; }

    // Runs one call on a prepared state: clears the last error, calls the native (or the
    // plug-in entry), checks the result contract, and leaves the native's own error text as the
    // last error when it failed. The state's m_RVal then holds the result.
    bool Call(CNativeState& state, void* pUser) const;

private:
    std::string m_Name;
    std::string m_Signature;
    NativeProc m_pNative = nullptr;
    PluginNativeProc m_pPluginNative = nullptr;
};

}  // namespace Ferrox3D
