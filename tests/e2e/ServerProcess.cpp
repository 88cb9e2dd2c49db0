// Child process, pipes and folder handling of the end-to-end server helper.
#include "ServerProcess.h"
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace KestroTest {

namespace {

std::string StripColour(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x1b' && i + 1 < line.size() && line[i + 1] == '[') {
            size_t end = line.find('m', i + 2);
            if (end != std::string::npos) {
                i = end;
                continue;
            }
        }
        out += line[i];
    }
    return out;
}

// Binds a socket of the type to 127.0.0.1:port (0 = any); returns the bound port or 0.
uint16_t BindPort(int type, uint16_t port) {
    int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    uint16_t bound = 0;
    socklen_t length = sizeof(address);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        bound = ntohs(address.sin_port);
    close(fd);
    return bound;
}

std::string MakeTempFolder() {
    fs::path base = fs::path(KESTRO_SERVER_BINARY).parent_path().parent_path() / "e2e-tmp";
    std::error_code error;
    fs::create_directories(base, error);
    std::string pattern = (error ? fs::temp_directory_path() : base).string() + "/server-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed: " + std::string(strerror(errno)));
    return pattern;
}

}  // namespace

std::string ServerXml(const std::string& body) { return "<server>" + body + "</server>"; }

uint16_t PickFreePort() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint16_t port = BindPort(SOCK_DGRAM, 0);
        if (port != 0 && BindPort(SOCK_STREAM, port) == port)
            return port;
    }
    throw std::runtime_error("no free port on 127.0.0.1");
}

bool IsPortFree(uint16_t port) {
    return BindPort(SOCK_DGRAM, port) == port && BindPort(SOCK_STREAM, port) == port;
}

std::vector<uint16_t> PickFreePorts(size_t count) {
    std::vector<uint16_t> ports;
    while (ports.size() < count) {
        uint16_t port = PickFreePort();
        bool taken = false;
        for (uint16_t p : ports)
            taken = taken || p == port;
        if (!taken)
            ports.push_back(port);
    }
    return ports;
}

CServerProcess::CServerProcess() {
    signal(SIGPIPE, SIG_IGN);  // a write to a server that has exited must fail, not end the test
    m_Folder = MakeTempFolder();
    m_Executable = m_Folder + "/kestro-server";
    std::error_code error;
    fs::create_hard_link(KESTRO_SERVER_BINARY, m_Executable, error);
    if (error)
        fs::copy_file(KESTRO_SERVER_BINARY, m_Executable, fs::copy_options::overwrite_existing);
    fs::create_directories(m_Folder + "/resources");
}

CServerProcess::~CServerProcess() {
    Kill();
    std::error_code error;
    fs::remove_all(m_Folder, error);
}

std::string CServerProcess::PathOf(const std::string& relativePath) const {
    return m_Folder + "/" + relativePath;
}

void CServerProcess::WriteFile(const std::string& relativePath, const std::string& content) const {
    fs::path path = PathOf(relativePath);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string CServerProcess::ReadFile(const std::string& relativePath) const {
    std::ifstream in(PathOf(relativePath), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool CServerProcess::FileExists(const std::string& relativePath) const {
    return fs::exists(PathOf(relativePath));
}

bool CServerProcess::Start(const std::vector<std::string>& args) {
    if (m_Pid > 0)
        return false;
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        return false;
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return false;
    }
    std::vector<std::string> words{m_Executable};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        dup2(input[0], STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        if (chdir(m_Folder.c_str()) != 0)
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(input[0]);
    close(output[1]);
    if (pid < 0) {
        close(input[1]);
        close(output[0]);
        return false;
    }
    m_Pid = pid;
    m_InputFd = input[1];
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Lines.clear();
        m_OutputClosed = false;
        m_SearchFrom = 0;
    }
    m_Reader = std::thread(&CServerProcess::ReadOutput, this, output[0]);
    return true;
}

void CServerProcess::ReadOutput(int fd) {
    std::string pending;
    char buffer[4096];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        pending.append(buffer, static_cast<size_t>(got));
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string line = StripColour(pending.substr(0, end));
            pending.erase(0, end + 1);
            std::lock_guard<std::mutex> lock(m_Lock);
            m_Lines.push_back(std::move(line));
            m_LinesChanged.notify_all();
        }
    }
    close(fd);
    std::lock_guard<std::mutex> lock(m_Lock);
    if (!pending.empty())
        m_Lines.push_back(StripColour(pending));
    m_OutputClosed = true;
    m_LinesChanged.notify_all();
}

bool CServerProcess::WaitForLine(const std::string& text, std::chrono::milliseconds timeout,
                                 std::string* pLine) {
    std::unique_lock<std::mutex> lock(m_Lock);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    size_t scanned = m_SearchFrom;
    for (;;) {
        for (; scanned < m_Lines.size(); ++scanned) {
            if (m_Lines[scanned].find(text) != std::string::npos) {
                if (pLine)
                    *pLine = m_Lines[scanned];
                m_SearchFrom = scanned + 1;
                return true;
            }
        }
        if (m_OutputClosed)
            return false;
        if (m_LinesChanged.wait_until(lock, deadline) == std::cv_status::timeout && scanned == m_Lines.size())
            return false;
    }
}

bool CServerProcess::HasLine(const std::string& text) const {
    std::lock_guard<std::mutex> lock(m_Lock);
    for (const std::string& line : m_Lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

std::vector<std::string> CServerProcess::Lines() const {
    std::lock_guard<std::mutex> lock(m_Lock);
    return m_Lines;
}

std::string CServerProcess::Output() const {
    std::string all;
    for (const std::string& line : Lines())
        all += line + "\n";
    return all;
}

bool CServerProcess::WriteInput(const std::string& text) {
    if (m_InputFd < 0)
        return false;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = write(m_InputFd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

void CServerProcess::CloseInput() {
    if (m_InputFd >= 0)
        close(m_InputFd);
    m_InputFd = -1;
}

bool CServerProcess::Interrupt() { return m_Pid > 0 && kill(m_Pid, SIGINT) == 0; }

bool CServerProcess::IsRunning() {
    if (m_Pid <= 0)
        return false;
    int status = 0;
    pid_t done = waitpid(m_Pid, &status, WNOHANG);
    if (done != m_Pid)
        return true;
    m_ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m_Pid = -1;
    return false;
}

int CServerProcess::WaitForExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (IsRunning()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(10ms);
    }
    if (m_Reader.joinable())
        m_Reader.join();  // the output pipe closes with the process, unless a child still holds it
    CloseInput();
    return m_ExitStatus;
}

void CServerProcess::Kill() {
    if (IsRunning()) {
        kill(m_Pid, SIGKILL);
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Pid = -1;
    }
    CloseInput();
    if (m_Reader.joinable())
        m_Reader.join();
}

void WriteScriptResource(CServerProcess& server, const std::string& folder, const char* language, const char* file,
                         const char* script) {
    server.WriteFile(folder + "/meta.xml", std::string("<meta><script src='") + file + "' type='server' language='" +
                                               language + "'/></meta>");
    server.WriteFile(folder + "/" + file, script);
}

}  // namespace KestroTest
