// The in-memory ban list; a 64-bit millisecond clock keeps timed bans right for any uptime.
#include "Server/BanList.h"
#include <chrono>
#include <limits>

CBanList::CBanList(Clock clock) : m_Clock(std::move(clock)) {}

int64_t CBanList::MillisecondsNow() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

void CBanList::Ban(const std::string& address, int64_t durationMs) {
    m_Entries.erase(address);
    if (durationMs < 0)
        return;
    int64_t expiry = 0;
    if (durationMs > 0) {
        int64_t now = m_Clock();
        expiry = durationMs > std::numeric_limits<int64_t>::max() - now ? std::numeric_limits<int64_t>::max()
                                                                          : now + durationMs;
    }
    m_Entries[address] = {address, expiry};
}

bool CBanList::Unban(const std::string& address) { return m_Entries.erase(address) > 0; }

bool CBanList::IsBanned(const std::string& address) {
    auto it = m_Entries.find(address);
    if (it == m_Entries.end())
        return false;
    if (it->second.m_Expiry == 0 || m_Clock() < it->second.m_Expiry)
        return true;
    m_Entries.erase(it);
    return false;
}
