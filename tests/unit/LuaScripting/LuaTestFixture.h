// Fixture for Lua binding tests: a language object, captured log lines, running test scripts.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "Engine/Log.h"
#include "Engine/Stream.h"
#include "LuaScripting/LuaScriptEnvironment.h"
#include "LuaScripting/LuaScripting.h"

class CCapturedLog : public Ferrox3D::ILogSink {
public:
    CCapturedLog() { Ferrox3D::SetLogSink(this); }
    ~CCapturedLog() override { Ferrox3D::SetLogSink(nullptr); }
    void WriteLine(Ferrox3D::eLogType level, const char* text) override { m_Lines.push_back({level, text}); }

    bool Contains(const std::string& text) const {
        for (const auto& line : m_Lines)
            if (line.second.find(text) != std::string::npos)
                return true;
        return false;
    }
    std::string All() const {
        std::string all;
        for (const auto& line : m_Lines)
            all += line.second + "\n";
        return all;
    }
    void Clear() { m_Lines.clear(); }
    std::vector<std::pair<Ferrox3D::eLogType, std::string>> m_Lines;
};

inline bool RunLuaText(CLuaScriptEnvironment* pEnv, const std::string& text, const char* name = "test.lua") {
    Ferrox3D::CMemoryStream stream(text.data(), text.size());
    return pEnv->DoFile(&stream, name);
}

inline bool RunLuaFile(CLuaScriptEnvironment* pEnv, const std::string& file) {
    std::string path = std::string(KESTRO_TEST_DATA) + "/lua/" + file;
    Ferrox3D::Strong<Ferrox3D::CStandardStream> stream =
        Ferrox3D::Strong<Ferrox3D::CStandardStream>::Adopt(Ferrox3D::CStandardStream::Open(path.c_str(), "rb"));
    if (!stream)
        ADD_FAILURE() << "missing test script " << path;
    return stream && pEnv->DoFile(stream, file.c_str());
}

using EnvironmentPtr = Ferrox3D::Strong<CLuaScriptEnvironment>;

inline EnvironmentPtr MakeEnvironment(CLuaScripting& scripting, const char* name) {
    return EnvironmentPtr::Adopt(static_cast<CLuaScriptEnvironment*>(scripting.CreateEnvironment(name)));
}
