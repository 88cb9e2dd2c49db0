// The define registry: named 32-bit integer constants every script language publishes as globals.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Ferrox3D {

class CDefineHandlers {
public:
    struct IntDefine {
        std::string name;
        bool isUnsigned;  // which Define form made it
        uint32_t value;   // the bits; read as int32_t when !isUnsigned
        int32_t GetSigned() const { return static_cast<int32_t>(value); }
    };

    // Appends a define; names are not checked for duplicates.
    void Define(const char* name, int32_t value) { Add(name, static_cast<uint32_t>(value), false); }
    void Define(const char* name, uint32_t value) { Add(name, value, true); }
    void Add(const char* name, uint32_t value, bool isUnsigned) {
        m_Defines.push_back({name ? name : "", isUnsigned, value});
    }

    // In registration order.
    const std::vector<IntDefine>& GetDefines() const { return m_Defines; }
    void Clear() { m_Defines.clear(); }

private:
    std::vector<IntDefine> m_Defines;
};

}  // namespace Ferrox3D
