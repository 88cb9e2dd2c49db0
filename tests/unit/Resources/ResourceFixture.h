// A server folder in a temporary directory, mounted as the only file-system root, with a resource manager
// whose scripts run in Lua.
#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include "Engine/FileSystem.h"
#include "Engine/MountedPath.h"
#include "Engine/Scripting.h"
#include "LuaScripting/LuaScripting.h"
#include "Scripting/EventHandlers.h"
#include "Scripting/ResourceMgr.h"
#include "../Scripting/LogCapture.h"

class ResourceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kestro-resources-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        m_Root = pattern;
        m_FileSystem.Mount(std::make_unique<Ferrox3D::CMountedPath>(m_Root));
        m_pLua = std::make_unique<CLuaScripting>(&m_Scripting);
        m_Scripting.AddVM("Lua", m_pLua.get());
        m_Events.RegisterFunctions(&m_Scripting);
        m_pManager = std::make_unique<Ferrox3D::CResourceMgr>(&m_FileSystem, &m_Scripting, &m_Events);
        m_pManager->RegisterFunctions(&m_Scripting);
        ASSERT_TRUE(m_Scripting.DefineAllClasses());
    }

    void TearDown() override {
        m_pManager.reset();
        m_pLua.reset();
        std::string command = "rm -rf '" + m_Root + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }

    // Writes a file below the server folder, making its folders.
    void Write(const std::string& path, const std::string& text) {
        std::string full = m_Root + "/" + path;
        for (size_t slash = full.find('/', 1); slash != std::string::npos; slash = full.find('/', slash + 1))
            mkdir(full.substr(0, slash).c_str(), 0755);
        std::ofstream(full, std::ios::binary) << text;
    }
    std::string Read(const std::string& path) const {
        std::ifstream in(m_Root + "/" + path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& path) const {
        struct stat info;
        return stat((m_Root + "/" + path).c_str(), &info) == 0;
    }
    void Remove(const std::string& path) {
        std::string command = "rm -rf '" + m_Root + "/" + path + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
    void Run(const std::string& command) { ASSERT_EQ(system(("cd '" + m_Root + "' && " + command).c_str()), 0); }

    Ferrox3D::CResource* Find(const char* name) { return m_pManager->FindResourceByName(name); }

    std::string m_Root;
    Ferrox3D::CFileSystem m_FileSystem;
    Ferrox3D::CScripting m_Scripting;
    Ferrox3D::CEventHandlers m_Events;
    std::unique_ptr<CLuaScripting> m_pLua;
    std::unique_ptr<Ferrox3D::CResourceMgr> m_pManager;
    LogCapture m_Log;
};
