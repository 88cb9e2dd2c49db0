// "dumpdoc": the four documentation files, written with tinyxml2.
#include "Scripting/DocumentationDump.h"
#include <sys/stat.h>
#include <tinyxml2.h>
#include <map>
#include "Engine/Argument.h"
#include "Engine/Scripting.h"
#include "Scripting/EventHandlers.h"

namespace Ferrox3D {

namespace {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

const char* const MASK_COMMENT =
    "\n        Mask Values\n\n        b - bool\n        i - int32\n        f - float\n        s - string\n"
    "        c - function/callback\n        x - class/instance\n        z - vector2D\n        v - vector3D\n"
    "        t - thiscall\n        | - optional arguments\n        * - infinite arguments\n        . - any type\n    ";

const char* PropertyTypeName(uint8_t type) {
    switch (type) {
    case 0: return "void";
    case ARGUMENT_BOOLEAN: return "bool";
    case ARGUMENT_STRING: return "string";
    case ARGUMENT_INTEGER: return "int";
    case ARGUMENT_FLOAT:
    case ARGUMENT_DOUBLE: return "number";
    case ARGUMENT_NETOBJECT: return "NetObject";
    case ARGUMENT_OBJECT: return "Object";
    case ARGUMENT_VECTOR2D: return "Vector2D";
    case ARGUMENT_VECTOR3D: return "Vector3D";
    case ARGUMENT_VECTOR4D: return "Vector4D";
    case ARGUMENT_MATRIX4X4: return "Matrix4x4";
    case ARGUMENT_LONGINTEGER: return "int64";
    default: return nullptr;
    }
}

XMLElement* StartDocument(XMLDocument& document, const char* root) {
    document.InsertFirstChild(document.NewDeclaration("xml version=\"1.0\""));
    return document.InsertEndChild(document.NewElement(root))->ToElement();
}

bool Save(XMLDocument& document, const std::string& folder, const char* name) {
    return document.SaveFile((folder + name).c_str()) == tinyxml2::XML_SUCCESS;
}

bool WriteDefines(const std::string& folder, CScripting* pScripting) {
    XMLDocument document;
    XMLElement* pRoot = StartDocument(document, "Defines");
    for (const auto& define : pScripting->GetDefineHandlers()->GetDefines()) {
        XMLElement* pDefine = pRoot->InsertNewChildElement("Define");
        pDefine->SetAttribute("Name", define.name.c_str());
        if (define.isUnsigned)
            pDefine->SetAttribute("Value", define.value);
        else
            pDefine->SetAttribute("Value", define.GetSigned());
    }
    return Save(document, folder, "Defines.xml");
}

bool WriteEventTypes(const std::string& folder, CEventHandlers* pEvents) {
    XMLDocument document;
    XMLElement* pRoot = StartDocument(document, "EventTypes");
    std::map<std::string, const CEventType*> sorted;  // a stable order between runs
    if (pEvents)
        for (const auto& entry : pEvents->GetEventTypes())
            sorted.emplace(entry.second->GetName(), entry.second.get());
    for (const auto& [name, pType] : sorted) {
        pRoot->InsertNewComment(pType->GetDescription());
        XMLElement* pEvent = pRoot->InsertNewChildElement("EventType");
        pEvent->SetAttribute("Name", pType->GetName());
        pEvent->SetAttribute("Hash", pType->GetHash());
        if (pType->GetArgumentCount() != -1)
            pEvent->SetAttribute("Arguments", pType->GetArgumentCount());
        pEvent->SetAttribute("CanPreventDefault", pType->IsCancellable() ? "true" : "false");
    }
    return Save(document, folder, "EventTypes.xml");
}

bool WriteCommands(const std::string& folder, const std::vector<tDocumentedCommand>& commands) {
    XMLDocument document;
    XMLElement* pRoot = StartDocument(document, "Commands");
    for (const tDocumentedCommand& command : commands) {
        XMLElement* pCommand = pRoot->InsertNewChildElement("Command");
        pCommand->SetAttribute("Name", command.m_Name.c_str());
        pCommand->SetAttribute("Hash", command.m_Hash);
    }
    return Save(document, folder, "Commands.xml");
}

class CApiWriter {
public:
    void WriteNamespace(XMLElement* pParent, const ReflectedNamespace& ns) {
        XMLElement* pElement = pParent->InsertNewChildElement("Namespace");
        pElement->SetAttribute("Name", ns.GetName());
        for (const auto& pProperty : ns.GetProperties())
            WriteProperty(pElement, *pProperty);
        for (const auto& pFunction : ns.GetFunctions())
            WriteFunction(pElement, *pFunction);
        for (const auto& pClass : ns.GetClasses())
            WriteClass(pElement, *pClass);
        for (const auto& pChild : ns.GetNamespaces())
            WriteNamespace(pElement, *pChild);
    }

private:
    static const char* Bool(bool value) { return value ? "true" : "false"; }

    void WriteProperty(XMLElement* pParent, const ReflectedProperty& property) {
        XMLElement* pElement = pParent->InsertNewChildElement("Property");
        pElement->SetAttribute("Name", property.GetName());
        pElement->SetAttribute("ReadOnly", Bool(property.IsReadOnly()));
        pElement->SetAttribute("Obsolete", Bool(property.m_bObsolete));
        if (const char* type = PropertyTypeName(property.m_Type))
            pElement->SetAttribute("Type", type);
    }

    void WriteFunction(XMLElement* pParent, const ReflectedFunction& function) {
        XMLElement* pElement = pParent->InsertNewChildElement("Function");
        pElement->SetAttribute("Name", function.GetName());
        pElement->SetAttribute("Mask", function.m_Function.GetSignature());
        pElement->SetAttribute("RequiredArguments", function.m_Function.GetRequiredArgumentCount());
        pElement->SetAttribute("Obsolete", Bool(function.m_bObsolete));
    }

    // A derived class goes inside its base class's element (the namespace when the base is not written yet).
    void WriteClass(XMLElement* pNamespace, const ReflectedClass& cls) {
        auto base = m_Written.find(cls.GetBase());
        XMLElement* pParent = base != m_Written.end() ? base->second : pNamespace;
        XMLElement* pElement = pParent->InsertNewChildElement("Class");
        pElement->SetAttribute("Name", cls.GetName());
        m_Written[&cls] = pElement;
        for (const auto& pProperty : cls.GetProperties())
            WriteProperty(pElement, *pProperty);
        for (const auto& pFunction : cls.GetFunctions())
            WriteFunction(pElement, *pFunction);
    }

    std::map<const ReflectedClass*, XMLElement*> m_Written;
};

bool WriteApi(const std::string& folder, CScripting* pScripting) {
    XMLDocument document;
    XMLElement* pRoot = StartDocument(document, "Documentation");
    pRoot->InsertNewComment(MASK_COMMENT);
    CApiWriter().WriteNamespace(pRoot, *pScripting->GetGlobal());
    return Save(document, folder, "Documentation.xml");
}

}  // namespace

bool DumpDocumentation(const std::string& folder, CScripting* pScripting, CEventHandlers* pEvents,
                       const std::vector<tDocumentedCommand>& commands) {
    std::string path = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    mkdir(path.c_str(), 0755);
    bool defines = WriteDefines(path, pScripting);
    bool events = WriteEventTypes(path, pEvents);
    bool written = WriteCommands(path, commands);
    return WriteApi(path, pScripting) && defines && events && written;
}

}  // namespace Ferrox3D
