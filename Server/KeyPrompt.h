// The "Press any key to continue ..." pause after a failed start.
#pragma once

// Waits for one key only when standard input is a terminal: a pipe, a file or a closed input
// has no one to press a key, and a read there could block forever.
void WaitForKeyPress();
