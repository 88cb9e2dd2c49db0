// A temporary folder for a test, removed with everything in it at the end.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/kestro-test-XXXXXX";
        m_Path = mkdtemp(pattern) ? pattern : "";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_Path.empty())
            std::filesystem::remove_all(m_Path, ignored);
    }
    const std::string& Root() const { return m_Path; }
    std::string Path(const std::string& relative) const { return m_Path + "/" + relative; }
    void Write(const std::string& relative, const std::string& content) const {
        std::filesystem::path path = Path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string Read(const std::string& relative) const {
        std::ifstream in(Path(relative), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

private:
    std::string m_Path;
};
