// IP bans kept in memory: permanent or until a time, looked up by the handshake's address text.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

namespace Ferrox3D {
class ReflectedNamespace;
}

class CBanList {
public:
    struct tEntry {
        std::string m_Address;
        int64_t m_Expiry;  // 0: permanent; else the clock value (ms) at which the ban ends
    };
    using Clock = std::function<int64_t()>;  // milliseconds, never wraps

    explicit CBanList(Clock clock = &CBanList::MillisecondsNow);

    // Replaces any ban of the address. Duration 0 bans for ever; a positive duration bans until
    // now + duration (saturating, so a huge one is for ever in practice); a negative duration has
    // already run out, so it only lifts an existing ban.
    void Ban(const std::string& address, int64_t durationMs);
    bool Unban(const std::string& address);  // true when there was a ban
    void UnbanAll() { m_Entries.clear(); }
    // A ban that has run out is removed by the look-up that finds it.
    bool IsBanned(const std::string& address);
    size_t GetCount() const { return m_Entries.size(); }

    static int64_t MillisecondsNow();
    // banIP ("s|i": address, duration in ms, default 0), unbanIP ("s"), unbanAllIPs, isIPBanned ("s").
    void RegisterFunctions(Ferrox3D::ReflectedNamespace* pServer);

private:
    Clock m_Clock;
    std::unordered_map<std::string, tEntry> m_Entries;
};
