// Reference-counted initialisation of the ENet library.
#include "Network/ENetHandles.h"
#include <mutex>

namespace {
std::mutex g_LibraryLock;
int g_LibraryUsers = 0;
}  // namespace

CENetLibrary::CENetLibrary() {
    std::lock_guard<std::mutex> guard(g_LibraryLock);
    m_bReady = g_LibraryUsers > 0 || enet_initialize() == 0;
    if (m_bReady)
        ++g_LibraryUsers;
}

CENetLibrary::~CENetLibrary() {
    std::lock_guard<std::mutex> guard(g_LibraryLock);
    if (m_bReady && --g_LibraryUsers == 0)
        enet_deinitialize();
}
