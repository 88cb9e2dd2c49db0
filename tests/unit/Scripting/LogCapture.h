// Collects log lines while a test runs, so tests can pin the exact warnings.
#pragma once
#include <string>
#include <vector>
#include "Engine/Log.h"

class LogCapture : public Ferrox3D::ILogSink {
public:
    LogCapture() { Ferrox3D::SetLogSink(this); }
    ~LogCapture() override { Ferrox3D::SetLogSink(nullptr); }
    void WriteLine(Ferrox3D::eLogType level, const char* text) override { m_Lines.push_back(text); }
    bool Contains(const std::string& text) const {
        for (const auto& line : m_Lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }
    const std::vector<std::string>& Lines() const { return m_Lines; }

private:
    std::vector<std::string> m_Lines;
};
