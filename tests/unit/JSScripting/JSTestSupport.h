// Fixture for binding tests: one JavaScript language, one resource environment, captured log lines.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "Engine/Log.h"
#include "JSScripting/JSScriptEnvironment.h"
#include "JSScripting/JSScripting.h"

struct tLogLine {
    Ferrox3D::eLogType level;
    std::string text;
};

class CCapturedLog : public Ferrox3D::ILogSink {
public:
    CCapturedLog() { Ferrox3D::SetLogSink(this); }
    ~CCapturedLog() override { Ferrox3D::SetLogSink(nullptr); }
    void WriteLine(Ferrox3D::eLogType level, const char* text) override {
        m_Lines.push_back({level, text});
        Ferrox3D::PrintToConsole(level, text);
    }
    bool Has(const std::string& text, Ferrox3D::eLogType level) const {
        for (const tLogLine& line : m_Lines)
            if (line.level == level && line.text == text)
                return true;
        return false;
    }
    bool HasSubstring(const std::string& text) const {
        for (const tLogLine& line : m_Lines)
            if (line.text.find(text) != std::string::npos)
                return true;
        return false;
    }
    size_t CountAt(Ferrox3D::eLogType level) const {
        size_t count = 0;
        for (const tLogLine& line : m_Lines)
            count += line.level == level;
        return count;
    }
    std::vector<std::string> InfoTexts() const {
        std::vector<std::string> texts;
        for (const tLogLine& line : m_Lines)
            if (line.level == Ferrox3D::LOGTYPE_INFO)
                texts.push_back(line.text);
        return texts;
    }
    void Clear() { m_Lines.clear(); }
    std::vector<tLogLine> m_Lines;
};

class JSBindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterApi(m_Reflection);
        m_pScripting = std::make_unique<CJSScripting>(&m_Reflection);
        ASSERT_TRUE(m_pScripting->DefineClasses());
        m_pEnvironment = m_pScripting->CreateEnvironment("test");
        ASSERT_NE(m_pEnvironment, nullptr);
    }
    void TearDown() override {
        if (m_pEnvironment)
            m_pEnvironment->Destroy();
        m_pScripting.reset();
    }
    virtual void RegisterApi(Ferrox3D::CScripting&) {}
    bool Run(const std::string& source, const char* pszFile = "test.js") {
        return m_pEnvironment->DoString(source.data(), source.size(), pszFile);
    }
    // Runs an expression and returns what it logs through console.log.
    std::string Eval(const std::string& expression) {
        m_Log.Clear();
        EXPECT_TRUE(Run("console.log(" + expression + ")")) << expression;
        auto texts = m_Log.InfoTexts();
        return texts.empty() ? "<nothing logged>" : texts.back();
    }
    JSContext* Cx() const { return m_pScripting->GetContext(); }

    CCapturedLog m_Log;
    Ferrox3D::CScripting m_Reflection;  // outlives the language
    std::unique_ptr<CJSScripting> m_pScripting;
    CJSScriptEnvironment* m_pEnvironment = nullptr;
};
