// Configuration document: XML to a two-level element tree, typed key reading.
#include "Server/ServerConfiguration.h"
#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include "Engine/ElementChunk.h"
#include "Engine/Limits.h"

namespace {

// Keys and the entries of list keys are all the parse reads; deeper levels are not copied.
tConfigElement ConvertElement(const Ferrox3D::CElementChunk& source, int depth) {
    tConfigElement element;
    element.name = source.GetName();
    element.text = source.GetText();
    element.hasText = !element.text.empty();
    for (const auto& attribute : source.GetAttributes())
        if (const char* value = source.Attribute(attribute.first.c_str()))
            element.attributes.emplace_back(attribute.first, value);
    if (depth < 2) {
        for (size_t i = 0; i < source.GetChildCount(); ++i) {
            const Ferrox3D::CChunk* pChild = source.GetChild(i);
            if (pChild->GetTypeId() == Ferrox3D::CHUNK_ELEMENT)
                element.children.push_back(ConvertElement(static_cast<const Ferrox3D::CElementChunk&>(*pChild), depth + 1));
        }
    }
    return element;
}

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

const std::string* tConfigElement::GetAttribute(const char* attributeName) const {
    for (const auto& attribute : attributes)
        if (attribute.first == attributeName)
            return &attribute.second;
    return nullptr;
}

int ReadConfigInteger(const std::string& text) {
    return static_cast<int>(strtol(text.c_str(), nullptr, 10));
}

CServerConfiguration::eLoadResult CServerConfiguration::LoadFile(const char* path) {
    FILE* pFile = fopen(path, "rb");
    if (!pFile)
        return LOAD_MISSING;
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), pFile)) > 0)
        text.append(buffer, got);
    bool readError = ferror(pFile) != 0;
    fclose(pFile);
    if (readError)
        return LOAD_MISSING;
    return Parse(text) ? LOAD_OK : LOAD_MALFORMED;
}

bool CServerConfiguration::Parse(const std::string& text) {
    std::unique_ptr<Ferrox3D::CElementChunk> pRoot = Ferrox3D::CElementChunk::LoadFromText(text.data(), text.size());
    if (!pRoot)
        return false;
    m_Root = ConvertElement(*pRoot, 0);
    return true;
}

const tConfigElement* CServerConfiguration::FindKey(const char* key) const {
    for (const tConfigElement& child : m_Root.children)
        if (SameName(child.name, key))
            return &child;
    return nullptr;
}

const std::string* CServerConfiguration::GetText(const char* key) const {
    const tConfigElement* pKey = FindKey(key);
    return pKey && pKey->hasText ? &pKey->text : nullptr;
}

bool CServerConfiguration::GetBoolValue(const char* key, bool defaultValue) const {
    const std::string* pText = GetText(key);
    if (!pText)
        return defaultValue;
    if (*pText == "true" || *pText == "1")
        return true;
    if (*pText == "false" || *pText == "0")
        return false;
    return defaultValue;
}

int CServerConfiguration::GetIntValue(const char* key, int defaultValue) const {
    const std::string* pText = GetText(key);
    return pText ? ReadConfigInteger(*pText) : defaultValue;
}

uint16_t CServerConfiguration::GetUInt16Value(const char* key, uint16_t defaultValue) const {
    return static_cast<uint16_t>(GetIntValue(key, defaultValue));
}

float CServerConfiguration::GetFloatValue(const char* key, float defaultValue) const {
    const std::string* pText = GetText(key);
    return pText ? strtof(pText->c_str(), nullptr) : defaultValue;
}

std::string CServerConfiguration::GetTextValue(const char* key, const char* defaultValue) const {
    const std::string* pText = GetText(key);
    return pText ? *pText : std::string(defaultValue);
}

std::string CServerConfiguration::GetShortText(const char* key, const char* defaultValue) const {
    return GetTextValue(key, defaultValue).substr(0, Ferrox3D::CONFIG_SHORT_TEXT_MAX);
}

std::vector<const tConfigElement*> CServerConfiguration::GetListEntries(const char* listKey,
                                                                        const char* itemName) const {
    std::vector<const tConfigElement*> entries;
    const tConfigElement* pList = FindKey(listKey);
    if (!pList)
        return entries;
    bool started = false;
    for (const tConfigElement& child : pList->children) {
        started = started || SameName(child.name, itemName);
        if (started)
            entries.push_back(&child);
    }
    return entries;
}

std::vector<const tConfigElement*> CServerConfiguration::GetRepeated(const char* name) const {
    std::vector<const tConfigElement*> found;
    for (const tConfigElement& child : m_Root.children)
        if (SameName(child.name, name))
            found.push_back(&child);
    return found;
}
