// The parsed configuration document and the typed reading rules of its keys.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One element of the document: its name, text and attributes (names case-sensitive), in order.
struct tConfigElement {
    std::string name;
    std::string text;
    bool hasText = false;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<tConfigElement> children;

    const std::string* GetAttribute(const char* attributeName) const;
};

// Keys are children of the root element (the root's name is not checked), found by name without
// regard to case; the first match wins. A missing key, or one without text, gives the default.
class CServerConfiguration {
public:
    enum eLoadResult { LOAD_OK, LOAD_MISSING, LOAD_MALFORMED };

    // Reads the file with the C library in binary mode, relative to the working folder.
    eLoadResult LoadFile(const char* path);
    // Parses XML text; false when it is not a well-formed document with a root element.
    bool Parse(const std::string& text);

    const tConfigElement* FindKey(const char* key) const;
    const std::string* GetText(const char* key) const;  // null: missing or without text

    // "true"/"1" and "false"/"0" exactly; any other text gives the default.
    bool GetBoolValue(const char* key, bool defaultValue) const;
    // Base-10; text that is not a number reads as 0, not as the default.
    int GetIntValue(const char* key, int defaultValue) const;
    uint16_t GetUInt16Value(const char* key, uint16_t defaultValue) const;
    float GetFloatValue(const char* key, float defaultValue) const;
    std::string GetTextValue(const char* key, const char* defaultValue) const;
    // Cut to CONFIG_SHORT_TEXT_MAX characters.
    std::string GetShortText(const char* key, const char* defaultValue) const;

    // Children of the list key from its first child named itemName on (every later child counts).
    std::vector<const tConfigElement*> GetListEntries(const char* listKey, const char* itemName) const;
    // Every child of the root with this name.
    std::vector<const tConfigElement*> GetRepeated(const char* name) const;

    const tConfigElement& GetRoot() const { return m_Root; }

private:
    tConfigElement m_Root;
};

// The integer reading of the configuration (strtol of the text; non-numbers read as 0).
int ReadConfigInteger(const std::string& text);
