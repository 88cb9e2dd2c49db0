// Key prompt: non-canonical one-byte read on a terminal, nothing to wait for otherwise.
#include "Server/KeyPrompt.h"
#include <termios.h>
#include <unistd.h>
#include <cstdio>

namespace {
void ReadOneKey() {
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) < 0)
        perror("tcsetattr()");
    termios raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) < 0)
        perror("tcsetattr ICANON");
    char key;
    if (read(STDIN_FILENO, &key, 1) < 0)
        perror("read()");
    if (tcsetattr(STDIN_FILENO, TCSADRAIN, &saved) < 0)
        perror("tcsetattr ~ICANON");
}
}  // namespace

void WaitForKeyPress() {
    fputs("Press any key to continue ...", stdout);
    fflush(stdout);
    if (isatty(STDIN_FILENO))
        ReadOneKey();
    fputc('\n', stdout);
    fflush(stdout);
}
