// SIGINT handler: one lock-free store, nothing else.
#include "Server/InterruptHandler.h"
#include <csignal>

namespace {
std::atomic<bool>* g_pQuitFlag = nullptr;

extern "C" void OnInterrupt(int) {
    if (g_pQuitFlag)
        g_pQuitFlag->store(true);
}
}  // namespace

void InstallInterruptHandler(Ferrox3D::Signalable& quitSignal) {
    g_pQuitFlag = quitSignal.GetFlag();
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}
