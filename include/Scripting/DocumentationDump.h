// The script interface documentation that "dumpdoc" writes: defines, event types, commands and the API tree.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Ferrox3D {

class CScripting;
namespace EventHandlers {
class CEventHandlers;
}

struct tDocumentedCommand {
    std::string m_Name;
    uint32_t m_Hash;
};

// Writes Defines.xml, EventTypes.xml, Commands.xml and Documentation.xml into folder (made with
// mode 0755 when missing). False when a file cannot be written.
bool DumpDocumentation(const std::string& folder, CScripting* pScripting, EventHandlers::CEventHandlers* pEvents,
                       const std::vector<tDocumentedCommand>& commands);

}  // namespace Ferrox3D
