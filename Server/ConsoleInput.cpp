// The console input thread: reads standard input in pieces of at most 4095 bytes and queues whole lines.
#include "Server/ConsoleInput.h"
#include <pthread.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>
#include "Engine/Limits.h"

using namespace Ferrox3D;

// The input lock is taken alone: no other lock is held while it is, in either thread.
struct CConsoleInput::tShared {
    std::mutex m_Lock;
    std::vector<std::string> m_Queue;
    Signalable m_InputWaiting;
    Signalable m_Quit;  // raised when the server lets the thread go; the thread owns a share of this
};

namespace {

constexpr auto READ_RETRY_DELAY = std::chrono::seconds(1);   // after the end of input or an error
constexpr auto LINE_PAUSE = std::chrono::milliseconds(100);  // after a batch of lines

void Queue(CConsoleInput::tShared& shared, std::vector<std::string>&& lines) {
    std::lock_guard<std::mutex> lock(shared.m_Lock);
    for (std::string& line : lines)
        shared.m_Queue.push_back(std::move(line));
    shared.m_InputWaiting.Signal();
}

// Reads with read(2) rather than stdio, so lines pasted together are queued together and reach
// the main loop in one pass.
void InputThread(std::shared_ptr<CConsoleInput::tShared> pShared, int fd) {
    pthread_setname_np(pthread_self(), "InputThread");
    std::string buffer;
    char chunk[CONSOLE_READ_BUFFER];
    while (!pShared->m_Quit.IsSignalled()) {
        ssize_t got = read(fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR)
            continue;
        bool bEnd = got <= 0;
        if (!bEnd)
            buffer.append(chunk, static_cast<size_t>(got));
        std::vector<std::string> lines = TakeConsoleLines(buffer, bEnd);
        if (!lines.empty())
            Queue(*pShared, std::move(lines));
        if (bEnd)
            std::this_thread::sleep_for(READ_RETRY_DELAY);
        else if (buffer.empty())
            std::this_thread::sleep_for(LINE_PAUSE);
    }
}

}  // namespace

std::vector<std::string> TakeConsoleLines(std::string& buffer, bool bEndOfInput) {
    constexpr size_t PIECE_MAX = CONSOLE_READ_BUFFER - 1;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < buffer.size()) {
        size_t feed = buffer.find('\n', start);
        size_t end;
        if (feed != std::string::npos && feed - start < PIECE_MAX)
            end = feed + 1;
        else if (buffer.size() - start >= PIECE_MAX)
            end = start + PIECE_MAX;
        else if (bEndOfInput)
            end = buffer.size();
        else
            break;
        lines.emplace_back(buffer, start, end - start);
        start = end;
    }
    buffer.erase(0, start);
    return lines;
}

CConsoleInput::CConsoleInput() : m_pShared(std::make_shared<tShared>()) {}
CConsoleInput::~CConsoleInput() { Release(); }

void CConsoleInput::Start(int fd) {
    if (m_bStarted)
        return;
    m_bStarted = true;
    std::thread(InputThread, m_pShared, fd).detach();
}

// The thread shares the queue, so it may wake from its read after the server is gone.
void CConsoleInput::Release() { m_pShared->m_Quit.Signal(); }

std::vector<std::string> CConsoleInput::TakeLines() {
    std::vector<std::string> lines;
    if (!m_pShared->m_InputWaiting.IsSignalled())
        return lines;
    std::lock_guard<std::mutex> lock(m_pShared->m_Lock);
    lines.swap(m_pShared->m_Queue);
    m_pShared->m_InputWaiting.Reset();
    return lines;
}
