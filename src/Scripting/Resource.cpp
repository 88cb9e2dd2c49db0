// CResource: start, stop and restart, the script environments and what a stop removes.
#include "Scripting/Resource.h"
#include "Engine/ElementChunk.h"
#include "Engine/FileSystem.h"
#include "Engine/Log.h"
#include "Engine/Scripting.h"
#include "Engine/TarArchive.h"
#include "Scripting/EventHandlers.h"
#include "Scripting/ResourceMgr.h"

namespace Ferrox3D {

namespace {

const char* const VM_NAMES[CResource::ENV_COUNT] = {"Lua", "SpiderMonkey", "Squirrel"};

int EnvironmentOfKind(int32_t kind) {
    switch (kind) {
    case RESOURCE_SCRIPT_LUA:
        return CResource::ENV_LUA;
    case RESOURCE_SCRIPT_JAVASCRIPT:
        return CResource::ENV_JAVASCRIPT;
    case RESOURCE_SCRIPT_SQUIRREL:
        return CResource::ENV_SQUIRREL;
    default:
        return -1;
    }
}

}  // namespace

CResource::CResource(CResourceMgr* pManager, const char* name)
    : m_pManager(pManager), m_Name(name ? name : ""), m_pExports(Strong<CArgumentMap>::Adopt(new CArgumentMap)) {
    if (m_pManager)
        m_pManager->Attach(this);
}

CResource::~CResource() {
    if (m_pManager) {
        if (auto* pEvents = m_pManager->GetEvents()) {
            pEvents->RemoveHandlers(this);
            pEvents->RemoveHandlersWithSource(this, nullptr);
        }
        m_pManager->RemoveThingsAssociatedWithResource(this);
        m_pManager->RemoveScriptRegistrations(this);
        m_pManager->Detach(this);
    }
    DestroyEnvironments();
}

ReflectedClass* CResource::GetReflectedClass() {
    return m_pManager ? m_pManager->GetResourceClass() : CBaseObject::GetReflectedClass();
}

void CResource::SetPaths(const std::string& folder, const std::string& archive) {
    m_FolderPath = folder;
    m_ArchivePath = archive;
}

// Started means every language that exists has its environment (Squirrel aside, which is optional).
bool CResource::IsStarted() const {
    bool any = false;
    for (int i : {ENV_LUA, ENV_JAVASCRIPT}) {
        bool hasVM = m_pManager && m_pManager->GetScripting() && m_pManager->GetScripting()->GetVM(VM_NAMES[i]);
        if (hasVM && !m_rgEnvironments[i])
            return false;
        any = any || m_rgEnvironments[i];
    }
    return any;
}

bool CResource::Start() {
    Log("START: Starting resource %s...", m_Name.c_str());
    if (m_bStarting) {
        LogWarn("START: Resource %s already starting!", m_Name.c_str());
        return false;
    }
    if (IsStarted()) {
        LogWarn("START: Resource %s already running!", m_Name.c_str());
        return false;
    }
    m_bStarting = true;
    Strong<CResource> self(this);  // a script of this resource may drop the last other reference
    if (!StartDependencies()) {
        LogError("START: Failed to start dependant resources for %s!", m_Name.c_str());
        m_bStarting = false;
        return false;
    }
    CreateEnvironments();
    bool ok = LoadFileSystem() && RunServerScripts();
    if (ok && m_pManager->GetStartEvent()) {
        CArgumentArray arguments;
        arguments.AddObject(this);
        bool prevented = false;
        m_pManager->GetStartEvent()->Trigger(&arguments, prevented);
        ok = !prevented;
    }
    if (!ok) {
        LogError("START: Resource %s failed to load!", m_Name.c_str());
        // Environments made before the failure go too, even when not every language got one.
        if (!IsStarted() || !Stop(false))
            DestroyEnvironments();
        m_bStarting = false;
        return false;
    }
    Log("START: Resource %s started.", m_Name.c_str());
    m_bStarting = false;
    return true;
}

bool CResource::StartDependencies() {
    // A copy: a dependency's scripts may make this resource reload its meta file.
    std::vector<Strong<CResource>> dependencies = m_Dependencies;
    for (const auto& pDependency : dependencies)
        if (!pDependency->IsStarting() && !pDependency->IsStarted() && !pDependency->Start())
            return false;
    return true;
}

void CResource::CreateEnvironments() {
    CScripting* pScripting = m_pManager->GetScripting();
    if (!pScripting)
        return;
    for (int i = 0; i < ENV_COUNT; ++i)
        if (CScriptingVM* pVM = pScripting->GetVM(VM_NAMES[i]))
            m_rgEnvironments[i] = pVM->CreateEnvironment(this, m_Name.c_str());
}

bool CResource::RunServerScripts() {
    if (!m_pManager->IsServer())
        return true;
    // A copy: a script may reload the meta file (and so the lists) while it runs.
    std::vector<tResourceScript> scripts = m_ServerScripts;
    for (const tResourceScript& script : scripts)
        if (!RunScript(script))
            return false;
    return true;
}

bool CResource::RunScript(const tResourceScript& script) {
    Strong<Stream> pStream = Strong<Stream>::Adopt(new CMemoryStream(script.m_Bytes.data(), script.m_Bytes.size()));
    if (script.m_Kind == RESOURCE_SCRIPT_MAP) {
        std::unique_ptr<CElementChunk> pRoot = CElementChunk::Load(pStream);
        return pRoot && m_pManager->LoadMap(pRoot.get(), this);
    }
    int environment = EnvironmentOfKind(script.m_Kind);
    if (environment < 0)
        return false;
    if (environment == ENV_SQUIRREL && !m_rgEnvironments[environment]) {
        LogError("Unable to run %s in resource %s: this server has no Squirrel engine!", script.m_Path.c_str(),
                 m_Name.c_str());
        return true;
    }
    CScriptEnvironment* pEnvironment = m_rgEnvironments[environment];
    return pEnvironment && pEnvironment->DoFile(pStream, script.m_Path.c_str());
}

bool CResource::Stop(bool restarting) {
    Log("STOP: Stopping resource %s...", m_Name.c_str());
    if (!IsStarted()) {
        LogWarn("STOP: Resource %s already stopped!", m_Name.c_str());
        return false;
    }
    Strong<CResource> self(this);
    if (m_pManager->GetStopEvent()) {
        CArgumentArray arguments;
        arguments.AddObject(this);
        arguments.AddBoolean(restarting);
        bool prevented = false;
        m_pManager->GetStopEvent()->Trigger(&arguments, prevented);
        if (prevented) {
            LogError("STOP: Resource %s failed to stop!", m_Name.c_str());
            return false;
        }
    }
    m_pManager->RemoveThingsAssociatedWithResource(this);
    RemoveRegistrations();
    DestroyEnvironments();
    CloseArchive();
    Log("STOP: Resource %s stopped.", m_Name.c_str());
    return true;
}

void CResource::RemoveRegistrations() {
    if (auto* pEvents = m_pManager->GetEvents())
        pEvents->RemoveHandlers(this);
    m_pManager->RemoveScriptRegistrations(this);
}

void CResource::DestroyEnvironments() {
    for (CScriptEnvironment*& pEnvironment : m_rgEnvironments) {
        CScriptEnvironment* pGoing = pEnvironment;
        pEnvironment = nullptr;  // cleared first: Destroy may run script finalisers that ask IsStarted
        if (pGoing)
            pGoing->Destroy();
    }
}

bool CResource::Restart() {
    Log("RESTART: Restarting resource %s...", m_Name.c_str());
    Strong<CResource> self(this);
    if (!IsStarted() || !Stop(true))
        return false;
    return Start();
}

bool CResource::LoadFileSystem() {
    if (m_pArchive)
        return true;
    if (m_ArchivePath.empty() || !m_FolderPath.empty())
        return !m_FolderPath.empty();
    CFileSystem* pFileSystem = m_pManager->GetFileSystem();
    Strong<Stream> pStream = pFileSystem ? pFileSystem->Open(m_ArchivePath.c_str(), false) : nullptr;
    if (!pStream)
        return false;
    auto pArchive = std::make_unique<CTARArchive>();
    if (!pArchive->Read(pStream))
        return false;
    m_pArchive = std::move(pArchive);
    return true;
}

void CResource::CloseArchive() { m_pArchive.reset(); }

}  // namespace Ferrox3D
