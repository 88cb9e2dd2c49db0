// Runs the real kestro-server in a fresh folder and talks to it the way an operator would.
#pragma once
#include <sys/types.h>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace KestroTest {

using namespace std::chrono_literals;

// "<server>" + body + "</server>": a configuration document with the given keys.
std::string ServerXml(const std::string& body);

class CServerProcess;
// A resource folder with a meta file naming one server script, and that script.
void WriteScriptResource(CServerProcess& server, const std::string& folder, const char* language, const char* file,
                         const char* script);

// A port number free for both UDP and TCP on 127.0.0.1 right now (another process may still take it).
uint16_t PickFreePort();
// True when the port can be bound for both UDP and TCP on 127.0.0.1 right now.
bool IsPortFree(uint16_t port);
// Several distinct such ports.
std::vector<uint16_t> PickFreePorts(size_t count);

// One server process. The folder is made under the build tree, holds a hard link (or copy) of the
// executable, so the executable's folder is the working folder, and an empty "resources" folder.
// The destructor kills a process that is still running and removes the folder.
class CServerProcess {
public:
    CServerProcess();
    ~CServerProcess();
    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

    const std::string& Folder() const { return m_Folder; }
    std::string PathOf(const std::string& relativePath) const;

    // Files inside the folder (sub-folders are made as needed).
    void WriteFile(const std::string& relativePath, const std::string& content) const;
    std::string ReadFile(const std::string& relativePath) const;  // empty when missing
    bool FileExists(const std::string& relativePath) const;
    void WriteConfig(const std::string& xml) const { WriteFile("server.xml", xml); }

    // Starts the executable in the folder with these arguments; standard output and error both
    // arrive as lines (colour sequences removed). Standard input stays open until CloseInput.
    bool Start(const std::vector<std::string>& args = {});

    // Waits for a line containing the text, searching from just after the last line this call
    // matched; on success that line becomes the new search start and is returned through pLine.
    bool WaitForLine(const std::string& text, std::chrono::milliseconds timeout = 10s,
                     std::string* pLine = nullptr);
    // True when some line received so far contains the text (whatever the search start).
    bool HasLine(const std::string& text) const;
    std::vector<std::string> Lines() const;
    std::string Output() const;  // every line so far, joined with '\n', for failure messages

    bool WriteInput(const std::string& text);
    void CloseInput();
    bool Interrupt();  // SIGINT
    bool IsRunning();

    // The exit status (0 to 255), 128 + signal number when killed by a signal, or -1 on time-out.
    int WaitForExit(std::chrono::milliseconds timeout = 10s);

private:
    void ReadOutput(int fd);
    void Kill();

    std::string m_Folder;
    std::string m_Executable;
    pid_t m_Pid = -1;
    int m_ExitStatus = -1;
    int m_InputFd = -1;
    std::thread m_Reader;

    mutable std::mutex m_Lock;  // guards the line list and the flag below
    std::condition_variable m_LinesChanged;
    std::vector<std::string> m_Lines;
    bool m_OutputClosed = false;
    size_t m_SearchFrom = 0;
};

}  // namespace KestroTest
