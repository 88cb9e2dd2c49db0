// CResource::LoadMeta: dependencies, maps, scripts and client files from "meta.xml".
#include <strings.h>
#include <cstring>
#include "Engine/CRC32.h"
#include "Engine/ElementChunk.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Scripting/Resource.h"
#include "Scripting/ResourceMgr.h"
#include "Engine/Hashes.h"
#include "Scripting/ResourcePaths.h"

namespace Ferrox3D {

namespace {

bool IsSide(const char* type) { return strcasecmp(type, "server") == 0 || strcasecmp(type, "client") == 0; }

int32_t KindOfLanguage(const char* language) {
    if (strcasecmp(language, "lua") == 0)
        return RESOURCE_SCRIPT_LUA;
    if (strcasecmp(language, "squirrel") == 0)
        return RESOURCE_SCRIPT_SQUIRREL;
    if (strcasecmp(language, "javascript") == 0)
        return RESOURCE_SCRIPT_JAVASCRIPT;
    return RESOURCE_SCRIPT_UNKNOWN;
}

// Visits the root's direct children of one name (any case), in document order.
template <typename Visit>
bool ForEachElement(const CElementChunk& root, const char* name, Visit visit) {
    for (CElementChunk* pElement = root.FindElement(name); pElement;
         pElement = root.FindElement(name, pElement->GetIndex() + 1))
        if (!visit(*pElement))
            return false;
    return true;
}

}  // namespace

bool CResource::LoadMeta(bool server) {
    Strong<Stream> pStream = OpenFile("meta.xml", false);
    if (!pStream) {
        LogError("unable to load meta.xml in resource %s!", m_Name.c_str());
        return false;
    }
    std::unique_ptr<CElementChunk> pRoot = CElementChunk::Load(pStream);
    pStream.Reset();
    if (!pRoot)
        return false;
    if (!LoadDependencies(*pRoot))
        return false;
    ClearScripts();
    m_ClientFiles.clear();
    if (!LoadScripts(*pRoot, "map", true) || !LoadScripts(*pRoot, "script", false) || !LoadClientFiles(*pRoot))
        return false;
    if (server)
        UpdateHtDocs();
    return true;
}

void CResource::ClearScripts() {
    m_ServerScripts.clear();
    m_ClientScripts.clear();
}

bool CResource::LoadDependencies(const CElementChunk& root) {
    m_Dependencies.clear();
    return ForEachElement(root, "dependency", [&](const CElementChunk& element) {
        const char* src = element.Attribute("src");
        CResource* pDependency = src ? m_pManager->FindResourceByName(src) : nullptr;
        if (!pDependency) {
            LogWarn("Unable to find dependency %s for resource %s!", src ? src : "", m_Name.c_str());
            return false;
        }
        m_Dependencies.emplace_back(pDependency);
        return true;
    });
}

bool CResource::LoadScripts(const CElementChunk& root, const char* name, bool isMap) {
    return ForEachElement(root, name, [&](const CElementChunk& element) {
        const char* src = element.Attribute("src");
        const char* type = element.Attribute("type");
        const char* language = isMap ? "" : element.Attribute("language");
        const char* missing = !src ? "src" : !type ? "type" : !language ? "language" : nullptr;
        if (missing) {
            LogError("%s attribute missing on %s element in resource %s!", missing, name, m_Name.c_str());
            return false;
        }
        if (!IsSide(type)) {
            LogError("invalid type in resource %s!", m_Name.c_str());
            return false;
        }
        int32_t kind = isMap ? RESOURCE_SCRIPT_MAP : KindOfLanguage(language);
        return ReadScript(src, kind, strcasecmp(type, "client") == 0);
    });
}

bool CResource::ReadScript(const char* src, int32_t kind, bool client) {
    const char* noun = kind == RESOURCE_SCRIPT_MAP ? "map" : "script";
    if (!IsResourceRelativePath(src)) {
        LogError("unable to load %s %s in resource %s: the path leaves the resource!", noun, src, m_Name.c_str());
        return false;
    }
    Strong<Stream> pStream = OpenFile(src, false);
    if (!pStream) {
        LogError("unable to load %s %s in resource %s!", noun, src, m_Name.c_str());
        return false;
    }
    tResourceScript script;
    script.m_Kind = kind;
    script.m_Path = EntryPath(src);
    script.m_Size = pStream->Remaining();
    // A short read or an oversized file drops the entry: nothing half-read is ever run or sent.
    if (script.m_Size > MAX_SCRIPT_FILE_SIZE) {
        LogError("unable to read script %s in resource %s!", src, m_Name.c_str());
        return false;
    }
    script.m_Bytes.resize(static_cast<size_t>(script.m_Size));
    if (pStream->Read(script.m_Bytes.data(), script.m_Bytes.size()) != script.m_Bytes.size()) {
        LogError("unable to read script %s in resource %s!", src, m_Name.c_str());
        return false;
    }
    (client ? m_ClientScripts : m_ServerScripts).push_back(std::move(script));
    return true;
}

bool CResource::LoadClientFiles(const CElementChunk& root) {
    return ForEachElement(root, "file", [&](const CElementChunk& element) {
        const char* src = element.Attribute("src");
        const char* type = element.Attribute("type");
        if (!src || !type) {
            LogError("src or type attribute missing on file element in resource %s!", m_Name.c_str());
            return false;
        }
        return AddClientFile(src, type);
    });
}

bool CResource::AddClientFile(const char* src, const char* type) {
    if (!IsResourceRelativePath(src)) {
        LogError("unable to load file %s in resource %s: the path leaves the resource!", src, m_Name.c_str());
        return false;
    }
    Strong<Stream> pStream = OpenFile(src, false);
    if (!pStream) {
        LogError("unable to load file %s in resource %s!", src, m_Name.c_str());
        return false;
    }
    if (strcasecmp(type, "client") != 0) {
        LogError("invalid type in resource %s!", m_Name.c_str());
        return false;
    }
    tClientFile file;
    file.m_Name.assign(src, strnlen(src, MAX_CLIENT_FILE_NAME));
    // Two names that differ only in case would share one hash name and overwrite each other.
    for (const tClientFile& other : m_ClientFiles) {
        if (other.m_Name != file.m_Name && strcasecmp(other.m_Name.c_str(), file.m_Name.c_str()) == 0) {
            LogError("file %s in resource %s differs from %s only in letter case!", file.m_Name.c_str(),
                     m_Name.c_str(), other.m_Name.c_str());
            return false;
        }
    }
    file.m_HashName = ClientFileHashName(file.m_Name.c_str());
    file.m_Size = pStream->Remaining();
    CRC32Hash hash;
    uint8_t buffer[64 * 1024];
    uint64_t total = 0;
    while (size_t got = pStream->Read(buffer, sizeof(buffer))) {
        hash.AddBytes(buffer, got);
        total += got;
    }
    if (total != file.m_Size) {
        LogError("unable to read file %s in resource %s!", src, m_Name.c_str());
        return false;
    }
    file.m_Checksum = hash.GetValue();
    m_ClientFiles.push_back(std::move(file));
    return true;
}

}  // namespace Ferrox3D
