// The client slot table and the client record's wire form, read back by the test client's parser.
#include <gtest/gtest.h>
#include "Engine/BinaryIO.h"
#include "Multiplayer/NetMachines.h"
#include "SessionMirror.h"

using namespace Ferrox3D;

namespace {
Strong<CNetMachine> MakeClient(const std::string& name) {
    Strong<CNetMachine> p = Strong<CNetMachine>::Adopt(new CNetMachine);
    p->m_Name = name;
    p->m_Game = 1;
    return p;
}
}  // namespace

TEST(NetMachines, SlotsNamesAndRemoval) {
    CNetMachines machines;
    Strong<CNetMachine> console = MakeClient("Console");
    console->m_bConsole = console->m_bAdministrator = true;
    machines.Store(CONSOLE_CLIENT_SLOT, console);
    EXPECT_EQ(machines.FindFreeSlot(), 0);
    Strong<CNetMachine> bob = MakeClient("Bob");
    machines.Store(0, bob);
    EXPECT_EQ(machines.FindFreeSlot(), 1);
    EXPECT_TRUE(machines.IsNameInUse("bob"));
    EXPECT_TRUE(machines.IsNameInUse("CONSOLE"));
    EXPECT_FALSE(machines.IsNameInUse("bo"));
    EXPECT_EQ(machines.GetOccupiedCount(), 2u);

    Strong<CNetMachine> removed = machines.Remove(0);
    EXPECT_EQ(removed.Get(), bob.Get());
    EXPECT_EQ(bob->m_Index, -1);
    EXPECT_EQ(machines.FindFreeSlot(), 0);  // the slot is free for the next player
    EXPECT_FALSE(machines.Remove(0));
    EXPECT_EQ(machines.Get(-1), nullptr);
    EXPECT_EQ(machines.Get(256), nullptr);
}

TEST(NetMachines, ClientListWireForm) {
    CNetMachines machines;
    Strong<CNetMachine> console = MakeClient("Console");
    console->m_bConsole = console->m_bAdministrator = true;
    machines.Store(CONSOLE_CLIENT_SLOT, console);
    machines.Store(0, MakeClient("Bob"));
    CUnlimitedStream stream;
    ASSERT_TRUE(machines.WriteClientList(&stream, 32));
    // count 2, limit 32, index 0, flags 0, game 1, player -1, "Bob", no data
    const uint8_t start[] = {2, 0, 32, 0, 0, 0, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 3, 'B', 'o', 'b', 0, 0};
    ASSERT_GE(stream.GetLength(), sizeof(start));
    EXPECT_TRUE(std::equal(start, start + sizeof(start), stream.GetData()));

    stream.Seek(0, SEEK_ORIGIN_START);
    CBinaryReader reader(&stream);
    TestClient::CSessionMirror mirror;
    ASSERT_TRUE(mirror.Apply(PACKET_CLIENT_LIST, reader));
    ASSERT_EQ(mirror.m_Clients.size(), 2u);
    EXPECT_EQ(mirror.m_Clients[255].m_Name, "Console");
    EXPECT_EQ(mirror.m_Clients[255].m_Flags, CLIENT_FLAG_ADMINISTRATOR | CLIENT_FLAG_CONSOLE);
    EXPECT_EQ(mirror.m_PlayerLimit, 32);
}
