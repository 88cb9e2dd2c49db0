// The ban list: permanent and timed bans, lazy expiry, and the meaning of odd durations.
#include <gtest/gtest.h>
#include <cstdint>
#include <limits>
#include "Server/BanList.h"

namespace {
struct tFakeClock {
    int64_t m_Now = 1000;
    CBanList::Clock Get() {
        return [this] { return m_Now; };
    }
};
}  // namespace

TEST(BanList, PermanentAndTimedBans) {
    tFakeClock clock;
    CBanList bans(clock.Get());
    bans.Ban("1.2.3.4", 0);
    bans.Ban("5.6.7.8", 60000);
    clock.m_Now += 59999;
    EXPECT_TRUE(bans.IsBanned("1.2.3.4"));
    EXPECT_TRUE(bans.IsBanned("5.6.7.8"));
    clock.m_Now += 1;
    EXPECT_FALSE(bans.IsBanned("5.6.7.8"));
    EXPECT_EQ(bans.GetCount(), 1u);  // the run-out entry went with the look-up that found it
    clock.m_Now = std::numeric_limits<int64_t>::max() - 1;  // far beyond any 32-bit wrap
    EXPECT_TRUE(bans.IsBanned("1.2.3.4"));
    EXPECT_FALSE(bans.IsBanned("9.9.9.9"));
}

TEST(BanList, ReplacingLiftingAndOddDurations) {
    tFakeClock clock;
    CBanList bans(clock.Get());
    bans.Ban("a", 0);
    bans.Ban("a", 10);  // the second ban replaces the first
    clock.m_Now += 10;
    EXPECT_FALSE(bans.IsBanned("a"));

    bans.Ban("b", 0);
    bans.Ban("b", -5);  // a negative duration has already run out: it only lifts the ban
    EXPECT_FALSE(bans.IsBanned("b"));
    EXPECT_EQ(bans.GetCount(), 0u);

    bans.Ban("c", std::numeric_limits<int64_t>::max());  // saturates instead of wrapping into the past
    clock.m_Now += 1000000;
    EXPECT_TRUE(bans.IsBanned("c"));

    EXPECT_TRUE(bans.Unban("c"));
    EXPECT_FALSE(bans.Unban("c"));
    bans.Ban("d", 0);
    bans.UnbanAll();
    EXPECT_EQ(bans.GetCount(), 0u);
}
