// The resource script API: platform, thisResource, lookups, exports, file functions and the class Resource.
#include <cstring>
#include "Engine/NativeState.h"
#include "Engine/TextReader.h"
#include "Scripting/ResourceMgr.h"

namespace Ferrox3D {

namespace {

CResourceMgr* Manager(void* pUser) { return static_cast<CResourceMgr*>(pUser); }

// The resource whose script called; file functions need one.
CResource* CallingResource(CNativeState* pState) {
    CResource* pResource = pState->GetResource();
    if (!pResource)
        pState->Error("This function can only be called from a resource");
    return pResource;
}

bool Platform(CNativeState* pState, int32_t, void*) {
    pState->ReturnString("Linux");
    return true;
}

bool ThisResource(CNativeState* pState, int32_t, void*) {
    if (pState->GetResource())
        pState->ReturnObject(pState->GetResource());
    else
        pState->ReturnNull();
    return true;
}

bool FindResourceByNameNative(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    if (CResource* pResource = Manager(pUser)->FindResourceByName(name))
        pState->ReturnObject(pResource);
    else
        pState->ReturnNull();
    return true;
}

bool GetResourcesNative(CNativeState* pState, int32_t, void* pUser) {
    auto* pArray = new CArgumentArray;
    for (CResource* pResource : Manager(pUser)->GetResources())
        pArray->AddObject(pResource);
    pState->ReturnAndOwn(pArray);
    return true;
}

bool ExportFunction(CNativeState* pState, int32_t, void*) {
    const char* name = pState->CheckString(0);
    CFunction* pFunction = name ? pState->CheckFunction(1) : nullptr;
    CResource* pResource = pFunction ? CallingResource(pState) : nullptr;
    if (!pResource)
        return false;
    pResource->GetExports().Set(name, new CArgumentFunction(pFunction));
    pState->ReturnBoolean(true);
    return true;
}

bool OpenFile(CNativeState* pState, int32_t argumentCount, void*) {
    const char* path = pState->CheckString(0);
    bool write = false;
    if (!path || (argumentCount > 1 && !pState->CheckBoolean(1, write)))
        return false;
    CResource* pResource = CallingResource(pState);
    if (!pResource)
        return false;
    if (Strong<Stream> pStream = pResource->OpenFile(path, write))
        pState->ReturnStream(pStream);
    else
        pState->ReturnNull();
    return true;
}

bool CreateFile(CNativeState* pState, int32_t, void*) {
    const char* path = pState->CheckString(0);
    CResource* pResource = path ? CallingResource(pState) : nullptr;
    if (!pResource)
        return false;
    if (Strong<Stream> pStream = pResource->CreateFile(path))
        pState->ReturnStream(pStream);
    else
        pState->ReturnNull();
    return true;
}

bool FileExists(CNativeState* pState, int32_t argumentCount, void*) {
    const char* path = pState->CheckString(0);
    bool acceptFile = true, acceptDirectory = true;
    if (!path || (argumentCount > 1 && !pState->CheckBoolean(1, acceptFile)) ||
        (argumentCount > 2 && !pState->CheckBoolean(2, acceptDirectory)))
        return false;
    CResource* pResource = CallingResource(pState);
    if (!pResource)
        return false;
    pState->ReturnBoolean(pResource->FileExists(path, acceptFile, acceptDirectory));
    return true;
}

bool LoadTextFile(CNativeState* pState, int32_t, void*) {
    const char* path = pState->CheckString(0);
    CResource* pResource = path ? CallingResource(pState) : nullptr;
    if (!pResource)
        return false;
    Strong<Stream> pStream = pResource->OpenFile(path, false);
    if (!pStream) {
        pState->ReturnNull();
        return true;
    }
    CTextReader reader(pStream);
    const std::string& text = reader.GetText();
    if (reader.HasFailed())
        pState->ReturnNull();
    else
        pState->ReturnString(text.data(), text.size());
    return true;
}

// Null when the file cannot be created, false when the bytes could not all be written.
bool SaveTextFile(CNativeState* pState, int32_t, void*) {
    size_t length = 0;
    const char* path = pState->CheckString(0);
    const char* text = path ? pState->CheckString(1, &length) : nullptr;
    CResource* pResource = text ? CallingResource(pState) : nullptr;
    if (!pResource)
        return false;
    Strong<Stream> pStream = pResource->CreateFile(path);
    if (!pStream) {
        pState->ReturnNull();
        return true;
    }
    static const uint8_t MARK[3] = {0xEF, 0xBB, 0xBF};
    bool written = pStream->Write(MARK, sizeof(MARK)) == sizeof(MARK) && pStream->Write(text, length) == length;
    if (auto* pFile = dynamic_cast<CStandardStream*>(pStream.Get()))
        written = pFile->Flush() && written;
    pState->ReturnBoolean(written);
    return true;
}

// Class Resource.
bool ThisOf(CNativeState* pState, void* pUser, CResource*& pResource) {
    return pState->GetThis(Manager(pUser)->GetResourceClass(), pResource);
}

bool GetName(CNativeState* pState, int32_t, void* pUser) {
    CResource* pResource;
    if (!ThisOf(pState, pUser, pResource))
        return false;
    pState->ReturnString(pResource->GetName().c_str(), pResource->GetName().size());
    return true;
}

bool GetIsStarted(CNativeState* pState, int32_t, void* pUser) {
    CResource* pResource;
    if (!ThisOf(pState, pUser, pResource))
        return false;
    pState->ReturnBoolean(pResource->IsStarted());
    return true;
}

bool GetIsStarting(CNativeState* pState, int32_t, void* pUser) {
    CResource* pResource;
    if (!ThisOf(pState, pUser, pResource))
        return false;
    pState->ReturnBoolean(pResource->IsStarting());
    return true;
}

bool GetExports(CNativeState* pState, int32_t, void* pUser) {
    CResource* pResource;
    if (!ThisOf(pState, pUser, pResource))
        return false;
    pState->Return(&pResource->GetExports());
    return true;
}

// A resource that stops or restarts itself from its own script is handled once that call has
// returned: its environments must not be destroyed under the running script.
bool StartStop(CNativeState* pState, void* pUser, int action) {
    CResource* pResource;
    if (!ThisOf(pState, pUser, pResource))
        return false;
    Strong<CResource> pHeld(pResource);
    bool own = pState->GetResource() == pResource;
    bool ok;
    if (action == 0)
        ok = pResource->Start();
    else if (own && pResource->IsStarted()) {
        Manager(pUser)->DeferStop(pResource, action == 2);
        ok = true;
    } else
        ok = action == 1 ? pResource->Stop(false) : pResource->Restart();
    pState->ReturnBoolean(ok);
    return true;
}

bool Start(CNativeState* pState, int32_t, void* pUser) { return StartStop(pState, pUser, 0); }
bool Stop(CNativeState* pState, int32_t, void* pUser) { return StartStop(pState, pUser, 1); }
bool Restart(CNativeState* pState, int32_t, void* pUser) { return StartStop(pState, pUser, 2); }

bool GetExport(CNativeState* pState, int32_t, void* pUser) {
    CResource* pResource;
    if (!ThisOf(pState, pUser, pResource))
        return false;
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    if (CArgument* pValue = pResource->GetExports().Get(name))
        pState->Return(pValue);
    else
        pState->ReturnUndefined();
    return true;
}

}  // namespace

void CResourceMgr::RegisterFunctions(CScripting* pScripting) {
    ReflectedNamespace* pGlobal = pScripting->GetGlobal();
    pGlobal->AddProperty(this, "platform", ARGUMENT_STRING, Platform);
    pGlobal->AddProperty(this, "thisResource", ARGUMENT_OBJECT, ThisResource);
    pGlobal->RegisterFunction("findResourceByName", "s", FindResourceByNameNative, this);
    pGlobal->RegisterFunction("getResources", "", GetResourcesNative, this);
    pGlobal->RegisterFunction("exportFunction", "sc", ExportFunction, this);
    pGlobal->RegisterFunction("openFile", "s|b", OpenFile, this);
    pGlobal->RegisterFunction("createFile", "s", CreateFile, this);
    pGlobal->RegisterFunction("fileExists", "s|bb", FileExists, this);
    pGlobal->RegisterFunction("loadTextFile", "s", LoadTextFile, this);
    pGlobal->RegisterFunction("saveTextFile", "ss", SaveTextFile, this);

    m_pResourceClass = pGlobal->NewClass("Resource");
    m_pResourceClass->AddProperty(this, "name", ARGUMENT_STRING, GetName);
    m_pResourceClass->AddProperty(this, "isStarted", ARGUMENT_BOOLEAN, GetIsStarted);
    m_pResourceClass->AddProperty(this, "isStarting", ARGUMENT_BOOLEAN, GetIsStarting);
    m_pResourceClass->AddProperty(this, "exports", ARGUMENT_MAP, GetExports);
    m_pResourceClass->RegisterFunction("start", "t", Start, this);
    m_pResourceClass->RegisterFunction("stop", "t", Stop, this);
    m_pResourceClass->RegisterFunction("restart", "t", Restart, this);
    m_pResourceClass->RegisterFunction("getExport", "ts", GetExport, this);
}

}  // namespace Ferrox3D
