// The ban list: permanent and timed bans, lazy expiry, and the meaning of odd durations.
#include <gtest/gtest.h>
#include <cstdint>
#include <limits>
#include "Engine/ArgumentArray.h"
#include "Engine/NativeState.h"
#include "Engine/Reflection.h"
#include "Engine/Scripting.h"
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

namespace {
// Calls a function of the namespace as a binding would; the result, or null when the call failed.
Ferrox3D::Strong<Ferrox3D::CArgument> Call(Ferrox3D::CScripting& scripting, Ferrox3D::ReflectedNamespace* pNamespace,
                                          const char* name, Ferrox3D::CArgumentArray& arguments) {
    const Ferrox3D::ReflectedFunction* pFunction = pNamespace->GetFunction(name);
    EXPECT_NE(pFunction, nullptr) << name;
    Ferrox3D::CNativeState state(&scripting, nullptr, &arguments);
    if (!pFunction || !pFunction->Call(state))
        return nullptr;
    Ferrox3D::CArgument* pValue = state.GetReturnValue();
    return Ferrox3D::Strong<Ferrox3D::CArgument>::Adopt(pValue ? pValue->Clone() : Ferrox3D::CArgument::Create(uint8_t(0)));
}
}  // namespace

TEST(BanList, ScriptFunctions) {
    tFakeClock clock;
    CBanList bans(clock.Get());
    Ferrox3D::CScripting scripting;
    Ferrox3D::ReflectedNamespace* pServer = scripting.GetGlobal()->AddNamespace("server");
    bans.RegisterFunctions(pServer);
    Ferrox3D::CArgumentArray permanent, timed, address, none;
    permanent.AddString("1.1.1.1");
    timed.AddString("2.2.2.2");
    timed.AddNumber(int32_t(60000));
    address.AddString("2.2.2.2");
    ASSERT_TRUE(Call(scripting, pServer, "banIP", permanent));
    ASSERT_TRUE(Call(scripting, pServer, "banIP", timed));
    EXPECT_TRUE(Call(scripting, pServer, "isIPBanned", address)->ToBoolean());
    clock.m_Now += 60000;
    EXPECT_FALSE(Call(scripting, pServer, "isIPBanned", address)->ToBoolean());
    EXPECT_FALSE(Call(scripting, pServer, "unbanIP", address)->ToBoolean());  // gone with the look-up
    EXPECT_TRUE(bans.IsBanned("1.1.1.1"));
    ASSERT_TRUE(Call(scripting, pServer, "unbanAllIPs", none));
    EXPECT_EQ(bans.GetCount(), 0u);
    EXPECT_FALSE(Call(scripting, pServer, "banIP", none));  // the address is required
}
