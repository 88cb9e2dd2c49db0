// "dumpdoc": the four files parse as XML and list what is registered.
#include <tinyxml2.h>
#include "Engine/CRC32.h"
#include "ResourceFixture.h"

using namespace Ferrox3D;

namespace {

using DocumentationDumpTest = ResourceFixture;

tinyxml2::XMLElement* Load(tinyxml2::XMLDocument& document, const std::string& path) {
    EXPECT_EQ(document.LoadFile(path.c_str()), tinyxml2::XML_SUCCESS) << path;
    return document.RootElement();
}

bool HasChild(tinyxml2::XMLElement* pParent, const char* element, const char* name) {
    for (auto* p = pParent ? pParent->FirstChildElement(element) : nullptr; p; p = p->NextSiblingElement(element))
        if (p->Attribute("Name", name))
            return true;
    return false;
}

TEST_F(DocumentationDumpTest, FourFilesListDefinesEventsCommandsAndTheApiTree) {
    m_Scripting.GetDefineHandlers()->Define("LOGTYPE_WARN", int32_t(4));
    std::string folder = m_Root + "/Documentation";
    ASSERT_TRUE(DumpDocumentation(folder, &m_Scripting, &m_Events, {{"start", NameKey("start")}}));

    tinyxml2::XMLDocument defines, events, commands, api;
    auto* pDefine = Load(defines, folder + "/Defines.xml")->FirstChildElement("Define");
    ASSERT_TRUE(pDefine);
    EXPECT_STREQ(pDefine->Attribute("Value"), "4");
    auto* pEvents = Load(events, folder + "/EventTypes.xml");
    ASSERT_TRUE(HasChild(pEvents, "EventType", "OnResourceStart"));
    EXPECT_TRUE(HasChild(pEvents, "EventType", "OnResourceStop"));
    EXPECT_TRUE(HasChild(Load(commands, folder + "/Commands.xml"), "Command", "start"));

    auto* pGlobal = Load(api, folder + "/Documentation.xml")->FirstChildElement("Namespace");
    ASSERT_TRUE(pGlobal);
    EXPECT_STREQ(pGlobal->Attribute("Name"), "global");
    EXPECT_TRUE(HasChild(pGlobal, "Function", "openFile"));
    EXPECT_TRUE(HasChild(pGlobal, "Property", "thisResource"));
    EXPECT_TRUE(HasChild(pGlobal, "Namespace", "reflection"));
    EXPECT_TRUE(HasChild(pGlobal, "Class", "Resource"));
    // A derived class is written inside its base class.
    tinyxml2::XMLElement* pEvent = pGlobal->FirstChildElement("Class");
    while (pEvent && !pEvent->Attribute("Name", "Event"))
        pEvent = pEvent->NextSiblingElement("Class");
    ASSERT_TRUE(pEvent);
    EXPECT_TRUE(HasChild(pEvent, "Class", "CancellableEvent"));
    for (auto* p = pGlobal->FirstChildElement("Function"); p; p = p->NextSiblingElement("Function"))
        if (p->Attribute("Name", "fileExists")) {
            EXPECT_STREQ(p->Attribute("Mask"), "s|bb");
            EXPECT_STREQ(p->Attribute("RequiredArguments"), "1");
        }
    std::string text = Read("Documentation/Documentation.xml");
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\"?>", 0), 0u);
    EXPECT_NE(text.find("<!--\n        Mask Values\n\n        b - bool\n"), std::string::npos);
}

}  // namespace
