// The command table: Trigger, the typed-line and command-file entries, script registration, removal while running.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "../Scripting/LogCapture.h"
#include "ScriptCallUtil.h"
#include "Scripting/CommandHandlers.h"

using namespace Ferrox3D;
using namespace SessionTest;

namespace {

struct tRun {
    std::string m_Command;
    std::string m_Parameters;  // "<null>" when none were given
    CBaseObject* m_pClient;
};

// A built-in style handler that records its calls.
class CRecordingHandler : public CCommandHandler {
public:
    CRecordingHandler(std::vector<tRun>& runs, bool bRestricted) : CCommandHandler(bRestricted), m_Runs(runs) {}
    void Execute(const char* command, const char* parameters, CBaseObject* pClient) override {
        m_Runs.push_back({command, parameters ? parameters : "<null>", pClient});
    }

private:
    std::vector<tRun>& m_Runs;
};

// Removes itself (as a stopping resource would) and then reads its own members.
class CSelfRemovingHandler : public CCommandHandler {
public:
    explicit CSelfRemovingHandler(std::string& seen) : CCommandHandler(false), m_Seen(seen) {}
    void Execute(const char*, const char*, CBaseObject*) override {
        EXPECT_TRUE(GetTable()->RemoveCommandHandler(GetName().c_str(), nullptr));
        m_Seen = GetName();
    }

private:
    std::string& m_Seen;
};

class CommandHandlersTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Commands.RegisterFunctions(&m_Scripting);
        m_Commands.AddCommandHandler(new CRecordingHandler(m_Runs, true), "say");
        m_Commands.AddCommandHandler(new CRecordingHandler(m_Runs, false), "Hello");
        m_Commands.SetUnhandledCommandHandler(new CRecordingHandler(m_Unhandled, true));
    }

    tCall AddScriptHandler(CResource* pResource, const char* name, CFunction* pFunction, bool bReplace) {
        CArgumentArray arguments;
        arguments.AddString(name);
        arguments.AddFunction(pFunction);
        arguments.AddBoolean(bReplace);
        return CallGlobal(m_Scripting, pResource, "addCommandHandler", arguments);
    }

    CScripting m_Scripting;
    CCommandHandlers m_Commands;
    std::vector<tRun> m_Runs;
    std::vector<tRun> m_Unhandled;
};

TEST_F(CommandHandlersTest, TriggerMatchesNamesInAnyCaseAndChecksPrivilege) {
    EXPECT_TRUE(m_Commands.Trigger("HELLO", "x\r\n\r\n", nullptr, false));
    ASSERT_EQ(m_Runs.size(), 1u);
    EXPECT_EQ(m_Runs[0].m_Command, "HELLO");  // the name as typed
    EXPECT_EQ(m_Runs[0].m_Parameters, "x");
    EXPECT_FALSE(m_Commands.Trigger("say", "hi", nullptr, false));  // restricted
    EXPECT_TRUE(m_Commands.Trigger("say", "hi", nullptr, true));
    EXPECT_FALSE(m_Commands.Trigger("nosuch", "", nullptr, true));
    EXPECT_TRUE(m_Unhandled.empty());  // Trigger alone never runs the unhandled handler

    std::string long300(300, 'p');
    EXPECT_TRUE(m_Commands.Trigger("hello", long300.c_str(), nullptr, false));
    EXPECT_EQ(m_Runs.back().m_Parameters, std::string(255, 'p'));
}

TEST_F(CommandHandlersTest, TypedLinesSplitAtTheFirstSeparator) {
    struct {
        const char* line;
        const char* command;
        const char* parameters;
    } cases[] = {
        {"say hello\n", "say", "hello"},
        {"say\n", "say", ""},
        {"say", "say", ""},
        {"SAY two words\r\n", "SAY", "two words"},
        {"hello\r", "hello", ""},
    };
    for (const auto& c : cases) {
        m_Runs.clear();
        EXPECT_TRUE(m_Commands.ConsoleCommandOnly(c.line, nullptr, true)) << c.line;
        ASSERT_EQ(m_Runs.size(), 1u) << c.line;
        EXPECT_EQ(m_Runs[0].m_Command, c.command);
        EXPECT_EQ(m_Runs[0].m_Parameters, c.parameters);
    }
}

TEST_F(CommandHandlersTest, TypedParametersOf256BytesAreRefusedNotCut) {
    LogCapture log;
    std::string ok = "hello " + std::string(255, 'a');
    std::string tooLong = "hello " + std::string(256, 'a');
    EXPECT_TRUE(m_Commands.ConsoleCommandOnly(ok.c_str(), nullptr, true));
    EXPECT_EQ(m_Runs.back().m_Parameters.size(), 255u);
    m_Runs.clear();
    EXPECT_FALSE(m_Commands.ConsoleCommandOnly(tooLong.c_str(), nullptr, true));
    EXPECT_FALSE(m_Commands.ConsoleCommandOnly((tooLong + std::string(1000, 'b')).c_str(), nullptr, true));
    EXPECT_TRUE(m_Runs.empty());
    EXPECT_TRUE(m_Unhandled.empty());
    EXPECT_TRUE(log.Contains("'hello' was not run: its parameters are 256 bytes long"));
}

TEST_F(CommandHandlersTest, UnknownOrForbiddenLinesReachTheUnhandledHandler) {
    EXPECT_FALSE(m_Commands.ConsoleCommandOnly("bogus arg\n", nullptr, true));
    EXPECT_FALSE(m_Commands.ConsoleCommandOnly("bogus", nullptr, true));
    ASSERT_EQ(m_Unhandled.size(), 2u);
    EXPECT_EQ(m_Unhandled[0].m_Command, "bogus");
    EXPECT_EQ(m_Unhandled[0].m_Parameters, "arg\n");
    EXPECT_EQ(m_Unhandled[1].m_Parameters, "<null>");
    // The unhandled handler is restricted: an unprivileged caller gets nothing at all.
    EXPECT_FALSE(m_Commands.ConsoleCommandOnly("say hi", nullptr, false));
    EXPECT_EQ(m_Unhandled.size(), 2u);
}

TEST_F(CommandHandlersTest, CommandFileAndScriptLines) {
    EXPECT_TRUE(m_Commands.ConsoleCommand("/hello there", true));
    EXPECT_EQ(m_Runs.back().m_Parameters, "there");
    EXPECT_TRUE(m_Commands.ConsoleCommand("plain text", true));  // no slash: the say command
    EXPECT_EQ(m_Runs.back().m_Command, "say");
    EXPECT_EQ(m_Runs.back().m_Parameters, "plain text");
    size_t before = m_Runs.size();
    EXPECT_FALSE(m_Commands.ConsoleCommand("", true));
    EXPECT_FALSE(m_Commands.ConsoleCommand("/", true));
    EXPECT_FALSE(m_Commands.ConsoleCommand(("/hello " + std::string(249, 'x')).c_str(), true));  // 256 bytes
    EXPECT_EQ(m_Runs.size(), before);
    EXPECT_FALSE(m_Commands.ConsoleCommand("no slash", false));  // say is restricted
    EXPECT_EQ(m_Runs.size(), before);
}

TEST_F(CommandHandlersTest, ScriptRegistrationKeepsOwnersApart) {
    std::vector<std::string> calls;
    auto pFirst = MakeFunction([&](CArgumentArray* pArgs) { calls.push_back(std::string("first:") + pArgs->GetAt(0)->ToString()); });
    auto pSecond = MakeFunction([&](CArgumentArray*) { calls.push_back("second"); });
    EXPECT_FALSE(ResultIsTrue(AddScriptHandler(FakeResource(1), "SAY", pFirst, true)));  // built-in
    EXPECT_TRUE(ResultIsTrue(AddScriptHandler(FakeResource(1), "Greet", pFirst, false)));
    EXPECT_FALSE(ResultIsTrue(AddScriptHandler(FakeResource(2), "greet", pSecond, true)));  // another's
    EXPECT_FALSE(ResultIsTrue(AddScriptHandler(FakeResource(1), "greet", pSecond, false)));
    EXPECT_TRUE(m_Commands.Trigger("GREET", nullptr, nullptr, false));
    EXPECT_TRUE(ResultIsTrue(AddScriptHandler(FakeResource(1), "greet", pSecond, true)));
    EXPECT_TRUE(m_Commands.Trigger("greet", nullptr, nullptr, false));
    EXPECT_EQ(calls, (std::vector<std::string>{"first:GREET", "second"}));

    CArgumentArray name;
    name.AddString("greet");
    EXPECT_FALSE(ResultIsTrue(CallGlobal(m_Scripting, FakeResource(2), "removeCommandHandler", name)));
    EXPECT_TRUE(ResultIsTrue(CallGlobal(m_Scripting, nullptr, "hasCommandHandler", name)));
    EXPECT_TRUE(ResultIsTrue(CallGlobal(m_Scripting, FakeResource(1), "removeCommandHandler", name)));
    EXPECT_FALSE(ResultIsTrue(CallGlobal(m_Scripting, nullptr, "hasCommandHandler", name)));
}

TEST_F(CommandHandlersTest, ScriptHandlersGetNullParametersAndTheClientWhenPassed) {
    std::vector<Strong<CArgumentArray>> calls;
    auto pFunction = MakeFunction([&](CArgumentArray* pArgs) {
        calls.push_back(Strong<CArgumentArray>::Adopt(static_cast<CArgumentArray*>(pArgs->Clone())));
    });
    AddScriptHandler(nullptr, "probe", pFunction, false);
    m_Commands.Trigger("probe", nullptr, nullptr, false);
    m_Commands.SetPassClient(true);
    Strong<CBaseObject> pClient = Strong<CBaseObject>::Adopt(new CBaseObject);
    m_Commands.Trigger("probe", "p", pClient, false);
    ASSERT_EQ(calls.size(), 2u);
    ASSERT_EQ(calls[0]->GetArrayCount(), 2u);
    EXPECT_TRUE(calls[0]->GetAt(1)->IsNull());
    ASSERT_EQ(calls[1]->GetArrayCount(), 3u);
    EXPECT_STREQ(calls[1]->GetAt(1)->ToString(), "p");
    EXPECT_EQ(calls[1]->GetAt(2)->ToObject(), pClient.Get());
}

// A handler deleted during its own call would be read after it was freed; under AddressSanitizer
// that is a use-after-free.
TEST_F(CommandHandlersTest, HandlerRemovedOrReplacedDuringItsOwnCallIsDeletedAfterIt) {
    std::string seen;
    m_Commands.AddCommandHandler(new CSelfRemovingHandler(seen), "Vanish");
    EXPECT_TRUE(m_Commands.Trigger("vanish", "", nullptr, false));
    EXPECT_EQ(seen, "Vanish");
    EXPECT_EQ(m_Commands.GetCommandHandler("vanish"), nullptr);

    std::string observed;
    int replacedRuns = 0, replacementRuns = 0;
    auto pReplacement = MakeFunction([&](CArgumentArray*) { ++replacementRuns; });
    AddScriptHandler(FakeResource(1), "bye", MakeFunction([&](CArgumentArray* pArgs) {
        EXPECT_TRUE(m_Commands.RemoveCommandHandler("bye", FakeResource(1)));
        observed = pArgs->GetAt(0)->ToString();
    }), false);
    AddScriptHandler(FakeResource(1), "swap", MakeFunction([&, pReplacement](CArgumentArray*) {
        ++replacedRuns;
        EXPECT_TRUE(m_Commands.AddScriptHandler(FakeResource(1), "swap", pReplacement, true));
        EXPECT_EQ(replacedRuns, 1);
    }), false);
    EXPECT_TRUE(m_Commands.Trigger("bye", "", nullptr, false));
    EXPECT_EQ(observed, "bye");
    EXPECT_EQ(m_Commands.GetCommandHandler("bye"), nullptr);
    EXPECT_TRUE(m_Commands.Trigger("swap", "", nullptr, false));
    EXPECT_TRUE(m_Commands.Trigger("swap", "", nullptr, false));
    EXPECT_EQ(replacedRuns, 1);
    EXPECT_EQ(replacementRuns, 1);
    // A stopping resource during the call: all its handlers go, after the call.
    size_t removed = 0;
    AddScriptHandler(FakeResource(1), "stop", MakeFunction([&](CArgumentArray*) {
        removed = m_Commands.RemoveHandlers(FakeResource(1));
        EXPECT_EQ(removed, 2u);
    }), false);
    EXPECT_TRUE(m_Commands.Trigger("stop", "", nullptr, false));
    EXPECT_EQ(removed, 2u);
    EXPECT_EQ(m_Commands.GetCommandHandler("swap"), nullptr);
    EXPECT_NE(m_Commands.GetCommandHandler("say"), nullptr);
}

TEST_F(CommandHandlersTest, ConsoleCommandFromScriptsUsesTheResourcesPrivilege) {
    m_Commands.SetPrivilegeProc([](CResource* pResource, void*) { return pResource == FakeResource(7); }, nullptr);
    CArgumentArray line;
    line.AddString("/say from script");
    EXPECT_FALSE(ResultIsTrue(CallGlobal(m_Scripting, FakeResource(1), "consoleCommand", line)));
    EXPECT_TRUE(m_Runs.empty());
    EXPECT_TRUE(ResultIsTrue(CallGlobal(m_Scripting, FakeResource(7), "consoleCommand", line)));
    ASSERT_EQ(m_Runs.size(), 1u);
    EXPECT_EQ(m_Runs[0].m_Parameters, "from script");
}

}  // namespace
