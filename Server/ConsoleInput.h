// The operator's console: the "InputThread" that reads standard input, and the queue it hands lines over in.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "Engine/Signalable.h"

class CConsoleInput {
public:
    CConsoleInput();
    ~CConsoleInput();
    CConsoleInput(const CConsoleInput&) = delete;
    CConsoleInput& operator=(const CConsoleInput&) = delete;

    // Starts the thread on file descriptor fd.
    void Start(int fd = 0);
    // Lets the thread go: it ends at its next check, but it may be blocked in a read, so it is
    // detached, never joined. The server releases it when the main loop ends.
    void Release();
    // Every line queued since the last call, in order (empty when none are waiting).
    std::vector<std::string> TakeLines();
    void Discard() { TakeLines(); }

    struct tShared;  // what the thread and the main thread share; the thread holds it too

private:
    std::shared_ptr<tShared> m_pShared;
    bool m_bStarted = false;
};

// Splits the bytes read so far into lines of at most CONSOLE_READ_BUFFER - 1 bytes (the line feed
// kept when it fits), leaving an unfinished line in the buffer; at the end of input it goes too.
std::vector<std::string> TakeConsoleLines(std::string& buffer, bool bEndOfInput);
